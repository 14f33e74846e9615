#include "updatekalendar.h"

#include "datacontext.h"
#include "errorreporter.h"
#include "fieldedit.h"
#include "filemanager.h"
#include "images.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

UpdateKalendar::UpdateKalendar(DataContext &context, QWidget *parent)
    : RecordForm(QStringLiteral("UpdateKalendar"), context, TableId::KALENDAR, parent)
{
    setWindowTitle(QStringLiteral("Form Kalendar"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(203, 160, false);

    auto place = [this](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(duX(x), duY(y), duX(width), duY(height));
    };

    m_sheet = new QTabWidget(this);
    auto *page = new QWidget;
    m_sheet->addTab(page, QStringLiteral("&1) General"));
    place(m_sheet, 4, 4, 195, 130);

    int row = 0;
    auto entry = [&](const QString &prompt, int field, const QString &picture, int widthDu) {
        auto *label = new QLabel(prompt, page);
        place(label, 8, 8 + row * 15, 52, 10);
        auto *e = new FieldEdit(picture, page);
        place(e, 64, 6 + row * 15, widthDu, 12);
        label->setBuddy(e);
        bind(e, field);
        ++row;
        return e;
    };
    m_kod = entry(QStringLiteral("&id:"), KAL::KOD, QStringLiteral("@n-14"), 64);
    m_kod->setDisplayOnly(true);
    m_nazev = entry(QStringLiteral("nazev:"), KAL::NAZEV, QStringLiteral("@s30"), 120);
    m_dnu = entry(QStringLiteral("prac dni:"), KAL::PRACOVNICH_DNU, QStringLiteral("@n-14"), 64);
    m_hodin = entry(QStringLiteral("prac hodin:"), KAL::PRACOVNICH_HODIN, QStringLiteral("@n-14"), 64);
    m_mesic = entry(QStringLiteral("Mesic:"), KAL::MESIC, QStringLiteral("@n-3.0"), 24);
    m_rok = entry(QStringLiteral("Rok:"), KAL::ROK, QStringLiteral("@n-6.0"), 36);
    for (FieldEdit *e : {m_nazev, m_dnu, m_hodin, m_mesic, m_rok})
        setHistoryField(e);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setToolTip(QStringLiteral("Accept data and close the window"));
    m_ok->setDefault(true);
    place(m_ok, 100, 140, 48, 15);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setToolTip(QStringLiteral("Cancel operation"));
    place(m_cancel, 151, 140, 48, 15);
    connect(m_ok, &QPushButton::clicked, this, &RecordForm::accept);
    connect(m_cancel, &QPushButton::clicked, this, &RecordForm::reject);

    setTabOrder(m_sheet, m_nazev);
    setTabOrder(m_nazev, m_dnu);
    setTabOrder(m_dnu, m_hodin);
    setTabOrder(m_hodin, m_mesic);
    setTabOrder(m_mesic, m_rok);
    setTabOrder(m_rok, m_ok);
    setTabOrder(m_ok, m_cancel);
}

bool UpdateKalendar::refuse(int field, FieldEdit *entry, const QString &text)
{
    MessageArgs args;
    args.file = QString::fromLatin1(tableDef(table()).externalName);
    args.field = tableDef(table()).qualifiedName(field);
    args.message = text;
    reportMessage(MessageId::InvalidValue, args);
    focusField(entry);
    entry->selectAll();
    return false;
}

bool UpdateKalendar::validate()
{
    FileManager &fm = file();
    // The monthly computation takes a month by its year and month and owes 8 hours for each
    // working day; a value no month can have would silently take another month or none.
    if (request() == DataContext::ChangeRecord && !fm.changedSinceRead())
        return true;
    const Record &r = fm.record();
    const qint64 dnu = r.integer(KAL::PRACOVNICH_DNU);
    if (dnu < 1 || dnu > 31)
        return refuse(KAL::PRACOVNICH_DNU, m_dnu,
                      QStringLiteral("Pole „prac dni“: počet pracovních dnů musí být od 1 do 31."));
    if (r.integer(KAL::PRACOVNICH_HODIN) < 0)
        return refuse(KAL::PRACOVNICH_HODIN, m_hodin,
                      QStringLiteral("Pole „prac hodin“: počet pracovních hodin nesmí být záporný."));
    const qint64 mesic = r.integer(KAL::MESIC);
    if (mesic < 1 || mesic > 12)
        return refuse(KAL::MESIC, m_mesic, QStringLiteral("Pole „Mesic“: měsíc musí být od 1 do 12."));
    const qint64 rok = r.integer(KAL::ROK);
    if (rok < FirstYear || rok > LastYear)
        return refuse(KAL::ROK, m_rok,
                      QStringLiteral("Pole „Rok“: rok se zadává celý, čtyřmístný, od %1 do %2 (například 2010, ne 10).")
                          .arg(FirstYear)
                          .arg(LastYear));

    // One record per year and month: another one would be silently ignored by the report.
    std::vector<Record> others;
    PageRequest query = PageRequest::forKey(fm.def(), KAL::KeyKod);
    query.limit = 1;
    query.where = {{KAL::ROK, Condition::Eq, QVariant::fromValue<qint64>(rok)},
                   {KAL::MESIC, Condition::Eq, QVariant::fromValue<qint64>(mesic)},
                   {KAL::KOD, Condition::Ne, QVariant::fromValue<qint64>(r.integer(KAL::KOD))}};
    const OpResult read = fm.readPage(query, &others);
    if (!read.ok()) {
        reportFailure(read, Operation::Read, fm.def(), true);
        focusFirstField();
        return false;
    }
    if (!others.empty()) {
        return refuse(KAL::MESIC, m_mesic,
                      QStringLiteral("Pole „Mesic“ a „Rok“: pro měsíc %1/%2 už v kalendáři je záznam s id %3. "
                                     "Každý měsíc roku smí mít jen jeden záznam.")
                          .arg(mesic)
                          .arg(rok)
                          .arg(others.front().integer(KAL::KOD)));
    }
    return true;
}

void UpdateKalendar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    // "back_blue.jpg".
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}
