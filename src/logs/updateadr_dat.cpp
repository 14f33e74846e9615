#include "updateadr_dat.h"

#include "changesignal.h"
#include "datacontext.h"
#include "fieldedit.h"
#include "images.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

UpdateADR_DAT::UpdateADR_DAT(DataContext &context, QWidget *parent)
    : RecordForm(QStringLiteral("UpdateADR_DAT"), context, TableId::ADR_DAT, parent)
{
    setWindowTitle(QStringLiteral("Položka adresáře"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(357, 182, false);

    // Places a control by dialog units; an entry keeps at least the height its font needs.
    auto place = [this](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(duX(x), duY(y), duX(width), qMax(duY(height), w->sizeHint().height()));
    };
    auto box = [&](QWidget *page, int x, int y, int width, int height) {
        auto *f = new QFrame(page);
        f->setFrameShape(QFrame::StyledPanel);
        f->setFrameShadow(QFrame::Sunken);
        f->setGeometry(duX(x), duY(y), duX(width), duY(height));
        return f;
    };
    auto label = [&](QWidget *parent, const QString &text, int x, int y, int width) {
        auto *l = new QLabel(text, parent);
        place(l, x, y, width, 10);
        return l;
    };
    auto edit = [&](QWidget *parent, const QString &picture, int field, const char *name, int x, int y, int width) {
        auto *e = new FieldEdit(picture, parent);
        e->setObjectName(QString::fromLatin1(name));
        place(e, x, y, width, 12);
        bind(e, field);
        setHistoryField(e);
        return e;
    };

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("CurrentTab"));
    place(m_tabs, 3, 3, 350, 160);
    auto *basic = new QWidget;
    auto *extended = new QWidget;
    m_tabs->addTab(basic, QStringLiteral("Základní údaje"));
    m_tabs->addTab(extended, QStringLiteral("Rozšířěné"));

    // Four boxes without captions: address, number and password, telephones, note.
    QFrame *address = box(basic, 4, 4, 214, 80);
    QFrame *identity = box(basic, 222, 4, 116, 80);
    QFrame *phones = box(basic, 4, 88, 214, 54);
    QFrame *notes = box(basic, 222, 88, 116, 54);

    label(address, QStringLiteral("Jméno a příjmení:"), 6, 7, 68);
    label(address, QStringLiteral("Ulice:"), 6, 23, 64);
    label(address, QStringLiteral("Město:"), 6, 39, 64);
    label(address, QStringLiteral("psč:"), 150, 39, 16);
    label(address, QStringLiteral("Stát:"), 6, 55, 64);
    label(identity, QStringLiteral("Osobní číslo:"), 6, 7, 100);
    label(identity, QStringLiteral("Heslo:"), 6, 37, 100);
    label(phones, QStringLiteral("Telefon:"), 6, 7, 64);
    label(phones, QStringLiteral("Mobil:"), 6, 23, 64);
    label(phones, QStringLiteral("Fax:"), 6, 39, 64);
    label(notes, QStringLiteral("Poznámka:"), 6, 5, 100);
    label(extended, QStringLiteral("GSM:"), 8, 11, 30);

    // Made in the order the form declares them, which is the order of the Tab key.
    m_country = edit(address, QStringLiteral("@s30"), ADR::STAT, "STAT", 75, 54, 132);
    m_name = edit(address, QStringLiteral("@s52"), ADR::NAZEV, "NAZEV", 75, 6, 132);
    m_personalNumber = edit(identity, QStringLiteral("@n-14"), ADR::OSOBNI_CISLO, "OSOBNI_CISLO", 6, 17, 104);
    m_personalNumber->setAlignment(Qt::AlignRight);
    m_password = edit(identity, QStringLiteral("@s20"), ADR::PASS, "PASS", 6, 47, 104);
    m_street = edit(address, QStringLiteral("@S45"), ADR::ULICE, "ULICE", 75, 22, 132);
    m_town = edit(address, QStringLiteral("@s30"), ADR::MESTO, "MESTO", 75, 38, 70);
    m_postcode = edit(address, QStringLiteral("@s6"), ADR::PSC, "PSC", 167, 38, 40);
    m_mobile = edit(phones, QStringLiteral("@s20"), ADR::MOBIL, "MOBIL", 75, 22, 100);
    m_telephone = edit(phones, QStringLiteral("@s20"), ADR::TELEFON1, "TELEFON1", 75, 6, 100);
    m_note = edit(notes, QStringLiteral("@s128"), ADR::POZNAMKA2, "POZNAMKA2", 6, 16, 104);
    m_fax = edit(phones, QStringLiteral("@s20"), ADR::FAX, "FAX", 75, 38, 100);
    m_gsm = edit(extended, QStringLiteral("@n3"), ADR::GSM, "GSM", 40, 10, 30);
    m_gsm->setAlignment(Qt::AlignRight);
    setFirstField(m_country);

    // The person's code, display-only, level with the tab captions at the top right.
    m_code = new FieldEdit(QStringLiteral("@N4"), this);
    m_code->setObjectName(QStringLiteral("KOD"));
    m_code->setDisplayOnly(true);
    m_code->setAlignment(Qt::AlignRight);
    place(m_code, 290, 3, 60, 10);
    bind(m_code, ADR::KOD);

    m_save = new QPushButton(Images::icon(Images::Ok), QStringLiteral("Uložit"), this);
    m_save->setObjectName(QStringLiteral("OK"));
    m_save->setToolTip(QStringLiteral("Accept data and close the window"));
    place(m_save, 245, 166, 52, 14);
    connect(m_save, &QPushButton::clicked, this, &RecordForm::accept);
    m_cancel = new QPushButton(Images::icon(Images::Storno), QStringLiteral("Storno"), this);
    m_cancel->setObjectName(QStringLiteral("Cancel"));
    m_cancel->setToolTip(QStringLiteral("Cancel operation"));
    place(m_cancel, 301, 166, 52, 14);
    connect(m_cancel, &QPushButton::clicked, this, &RecordForm::reject);

    const QList<QWidget *> order = {m_country, m_name,  m_personalNumber, m_password, m_street,
                                    m_town,    m_postcode, m_mobile,      m_telephone, m_note,
                                    m_fax,     m_gsm,   m_save,           m_cancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

UpdateADR_DAT::~UpdateADR_DAT() = default;

void UpdateADR_DAT::openTables()
{
    RecordForm::openTables();
    context().file(TableId::STATE).open();
}

void UpdateADR_DAT::closeTables()
{
    context().file(TableId::STATE).close();
    RecordForm::closeTables();
}

void UpdateADR_DAT::beforeSave()
{
    // Not checked and not reported: a signal that could not be written does not stop the save.
    raiseChangeSignal(context(), nullptr);
}

void UpdateADR_DAT::paintEvent(QPaintEvent *event)
{
    // The wallpaper "back_blue.jpg".
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_wallpaper);
    RecordForm::paintEvent(event);
}
