#include "updatelog_pokoje.h"

#include "datacontext.h"
#include "eventcodes.h"
#include "fieldcombo.h"
#include "fielddateedit.h"
#include "fieldedit.h"
#include "filemanager.h"
#include "images.h"
#include "relationmanager.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

UpdateLOG_POKOJE::UpdateLOG_POKOJE(DataContext &context, qint32 personKod, QWidget *parent)
    : RecordForm(QStringLiteral("UpdateLOG_POKOJE"), context, TableId::LOG_POKOJE, parent)
    , m_personKod(personKod)
{
    setWindowTitle(QStringLiteral("Form LOG_POKOJE"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(197, 134, false);

    auto place = [this](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(duX(x), duY(y), duX(width), qMax(duY(height), w->sizeHint().height()));
    };
    auto label = [&](QWidget *page, const QString &text, int x, int y, int width) {
        auto *l = new QLabel(text, page);
        place(l, x, y, width, 10);
        return l;
    };

    m_tabs = new QTabWidget(this);
    m_tabs->setGeometry(duX(4), duY(4), duX(189), duY(106));
    auto *general = new QWidget;
    auto *extended = new QWidget;
    m_tabs->addTab(general, QStringLiteral("Obecné"));
    m_tabs->addTab(extended, QStringLiteral("Rozšířené"));

    m_holder = new FieldEdit(QStringLiteral("@n-14"), general);
    m_holder->setObjectName(QStringLiteral("GLO:TiskDrzitel"));
    m_holder->setDisplayOnly(true);
    m_holder->hide();

    label(general, QStringLiteral("Uživatel:"), 8, 8, 42);
    m_userName = new FieldEdit(QStringLiteral("@s52"), general);
    m_userName->setObjectName(QStringLiteral("ADR:NAZEV"));
    m_userName->setDisplayOnly(true);
    place(m_userName, 52, 7, 130, 11);

    label(general, QStringLiteral("Akce:"), 8, 24, 42);
    m_action = new FieldCombo(general);
    m_action->setObjectName(QStringLiteral("LOC:DATAEDIT"));
    for (const int code : EventCodes::attendanceEntryOrder())
        m_action->addEntry(EventCodes::attendanceText(code), code);
    place(m_action, 52, 22, 84, 12);
    m_action->view()->setMinimumWidth(duX(80));

    label(general, QStringLiteral("Datum:"), 8, 41, 42);
    m_date = new FieldDateEdit(general);
    m_date->setObjectName(QStringLiteral("LPO:DATUM"));
    m_date->calendarButton()->setObjectName(QStringLiteral("?CALENDAR"));
    place(m_date, 52, 39, 124, 13);

    label(general, QStringLiteral("Čas:"), 8, 58, 42);
    m_time = new FieldEdit(QStringLiteral("@T7"), general);
    m_time->setObjectName(QStringLiteral("LPO:CAS"));
    place(m_time, 52, 56, 40, 12);

    label(extended, QStringLiteral("Karta:"), 8, 8, 42);
    m_card = new FieldEdit(QStringLiteral("@s16"), extended);
    m_card->setObjectName(QStringLiteral("LPO:KARTA"));
    place(m_card, 52, 6, 80, 12);

    label(extended, QStringLiteral("Poznamka:"), 8, 24, 42);
    m_note = new FieldEdit(QStringLiteral("@s127"), extended);
    m_note->setObjectName(QStringLiteral("LPO:POZNAMKA"));
    place(m_note, 52, 22, 130, 12);

    m_save = new QPushButton(Images::icon(Images::Ok), QStringLiteral("Uložit"), this);
    m_save->setObjectName(QStringLiteral("ok"));
    m_save->setToolTip(QStringLiteral("Accept data and close the window"));
    m_save->setDefault(true);
    place(m_save, 88, 114, 50, 16);
    connect(m_save, &QPushButton::clicked, this, &RecordForm::accept);

    m_cancel = new QPushButton(Images::icon(Images::Storno), QStringLiteral("Storno"), this);
    m_cancel->setObjectName(QStringLiteral("storno"));
    m_cancel->setToolTip(QStringLiteral("Cancel operation"));
    place(m_cancel, 142, 114, 50, 16);
    connect(m_cancel, &QPushButton::clicked, this, &RecordForm::reject);

    bind(m_action, LPO::DATA);
    bind(m_date, LPO::DATUM);
    bind(m_time, LPO::CAS);
    bind(m_card, LPO::KARTA);
    bind(m_note, LPO::POZNAMKA);
    setHistoryField(m_date);
    setHistoryField(m_time);
    setHistoryField(m_card);
    setHistoryField(m_note);

    setTabOrder(m_action, m_date->entry());
    setTabOrder(m_date->entry(), m_date->calendarButton());
    setTabOrder(m_date->calendarButton(), m_time);
    setTabOrder(m_time, m_card);
    setTabOrder(m_card, m_note);
    setTabOrder(m_note, m_save);
    setTabOrder(m_save, m_cancel);
}

UpdateLOG_POKOJE::~UpdateLOG_POKOJE() = default;

qint32 UpdateLOG_POKOJE::bookedPerson() const
{
    if (request() == DataContext::InsertRecord)
        return m_personKod;
    return qint32(record().integer(LPO::DRZITEL));
}

void UpdateLOG_POKOJE::openTables()
{
    context().relation(TableId::ADR_DAT).open();
    RecordForm::openTables();
}

void UpdateLOG_POKOJE::closeTables()
{
    RecordForm::closeTables();
    context().relation(TableId::ADR_DAT).close();
}

QString UpdateLOG_POKOJE::personName(qint32 kod)
{
    FileManager &people = context().file(TableId::ADR_DAT);
    PageRequest request = PageRequest::forKey(people.def(), ADR::KeyKod);
    request.where = {{ADR::KOD, Condition::Eq, qlonglong(kod)}};
    request.limit = 1;
    std::vector<Record> rows;
    const OpResult r = people.readPage(request, &rows);
    if (!r.ok()) {
        reportFailure(r, Operation::Read, people.def(), true);
        return QString();
    }
    return rows.empty() ? QString() : rows.front().text(ADR::NAZEV);
}

void UpdateLOG_POKOJE::formOpened()
{
    const qint32 person = bookedPerson();
    m_holder->setFieldValue(qlonglong(person));
    m_userName->setFieldValue(personName(person));
    m_tabs->setCurrentIndex(0);
}

void UpdateLOG_POKOJE::beforeSave()
{
    // A change keeps the person of the record; only a new entry is booked to the caller's person.
    if (request() == DataContext::InsertRecord)
        record().setInteger(LPO::DRZITEL, m_personKod);
}

void UpdateLOG_POKOJE::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}
