#include "updatecards.h"

#include "cardholdercombo.h"
#include "changesignal.h"
#include "datacontext.h"
#include "fieldcheck.h"
#include "fieldedit.h"
#include "images.h"
#include "relationmanager.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

UpdateCARDS::UpdateCARDS(DataContext &context, QWidget *parent)
    : RecordForm(QStringLiteral("UpdateCARDS"), context, TableId::CARDS, parent)
{
    setWindowTitle(QStringLiteral("Form CARDS"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(358, 175, false);

    // Places a control by dialog units; an entry keeps at least the height its font needs.
    auto place = [this](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(duX(x), duY(y), duX(width), qMax(duY(height), w->sizeHint().height()));
    };
    auto label = [&](QWidget *page, const QString &text, int x, int y, int width) {
        auto *l = new QLabel(text, page);
        place(l, x, y, width, 10);
        return l;
    };
    auto edit = [&](QWidget *page, const QString &picture, int field, int x, int y, int width) {
        auto *e = new FieldEdit(picture, page);
        place(e, x, y, width, 12);
        bind(e, field);
        return e;
    };

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("CurrentTab"));
    place(m_tabs, 4, 4, 350, 148);
    auto *basic = new QWidget;
    auto *extended = new QWidget;
    m_tabs->addTab(basic, QStringLiteral(" Základní  "));
    m_tabs->addTab(extended, QStringLiteral(" Rozšížené  "));

    // Bound in the tab order of the form, so the RFID code is its first field.
    label(basic, QStringLiteral("Kod RFID:"), 8, 38, 56);
    m_rfid = edit(basic, QStringLiteral("@s16"), CAR::KOD_RFID, 66, 37, 88);
    m_rfid->setObjectName(QStringLiteral("KOD_RFID"));

    label(basic, QStringLiteral("Držitel:"), 8, 6, 60);
    m_holder = new CardHolderCombo(context.file(TableId::ADR_DAT), basic);
    m_holder->setObjectName(QStringLiteral("DRZITEL"));
    place(m_holder, 8, 17, 240, 13);
    bind(m_holder, CAR::DRZITEL);

    m_active = new FieldCheck(QStringLiteral(" Karta aktivní"), basic);
    m_active->setObjectName(QStringLiteral("STAV_KARTY"));
    place(m_active, 8, 56, 100, 10);
    m_allEntrances = new FieldCheck(QStringLiteral(" Všechny vchody"), basic);
    m_allEntrances->setObjectName(QStringLiteral("VSECHNY_POKOJE"));
    place(m_allEntrances, 8, 72, 100, 10);
    label(basic, QStringLiteral("Cislo pokoje:"), 128, 72, 56);
    m_roomNumber = edit(basic, QStringLiteral("@n-7.0"), CAR::CISLO_POKOJE, 186, 71, 50);
    m_roomNumber->setObjectName(QStringLiteral("CISLO_POKOJE"));
    m_roomNumber->setAlignment(Qt::AlignRight);

    label(basic, QStringLiteral("Poznamka:"), 8, 90, 60);
    m_note = edit(basic, QStringLiteral("@s127"), CAR::POZNAMKA, 8, 101, 330);
    m_note->setObjectName(QStringLiteral("POZNAMKA"));
    bind(m_active, CAR::STAV_KARTY);
    bind(m_allEntrances, CAR::VSECHNY_POKOJE);

    label(extended, QStringLiteral("Casova platnost:"), 8, 10, 70);
    label(extended, QStringLiteral("Datum platnosti:"), 8, 28, 70);
    label(extended, QStringLiteral("Cas platnosti:"), 8, 46, 70);
    label(extended, QStringLiteral("Kategorie:"), 180, 10, 50);
    label(extended, QStringLiteral("Druh:"), 180, 28, 50);
    m_category = edit(extended, QStringLiteral("@n-14"), CAR::KATEGORIE, 232, 9, 70);
    m_category->setObjectName(QStringLiteral("KATEGORIE"));
    m_timeValidity = edit(extended, QStringLiteral("@n3"), CAR::CASOVA_PLATNOST, 80, 9, 40);
    m_timeValidity->setObjectName(QStringLiteral("CASOVA_PLATNOST"));
    m_kind = edit(extended, QStringLiteral("@n-14"), CAR::DRUH, 232, 27, 70);
    m_kind->setObjectName(QStringLiteral("DRUH"));
    m_validityDate = edit(extended, QStringLiteral("@n-14"), CAR::DATUM_PLATNOSTI, 80, 27, 70);
    m_validityDate->setObjectName(QStringLiteral("DATUM_PLATNOSTI"));
    m_validityTime = edit(extended, QStringLiteral("@T8"), CAR::CAS_PLATNOSTI, 80, 45, 50);
    m_validityTime->setObjectName(QStringLiteral("CAS_PLATNOSTI"));
    for (FieldEdit *e : {m_category, m_timeValidity, m_kind, m_validityDate})
        e->setAlignment(Qt::AlignRight);

    // The card number, display-only, level with the tab captions at the top right.
    m_cardNumber = new FieldEdit(QStringLiteral("@N-_14"), this);
    m_cardNumber->setObjectName(QStringLiteral("ID"));
    m_cardNumber->setDisplayOnly(true);
    m_cardNumber->setAlignment(Qt::AlignRight);
    place(m_cardNumber, 270, 4, 80, 10);
    bind(m_cardNumber, CAR::ID);

    m_save = new QPushButton(QStringLiteral("Uložit"), this);
    m_save->setObjectName(QStringLiteral("OK"));
    m_save->setToolTip(QStringLiteral("Accept data and close the window"));
    place(m_save, 246, 156, 52, 15);
    connect(m_save, &QPushButton::clicked, this, &RecordForm::accept);
    m_cancel = new QPushButton(QStringLiteral("Storno"), this);
    m_cancel->setObjectName(QStringLiteral("Cancel"));
    m_cancel->setToolTip(QStringLiteral("Cancel operation"));
    place(m_cancel, 302, 156, 52, 15);
    connect(m_cancel, &QPushButton::clicked, this, &RecordForm::reject);

    const QList<QWidget *> order = {m_rfid,     m_holder,       m_roomNumber, m_note, m_active,       m_allEntrances,
                                    m_category, m_timeValidity, m_kind,       m_validityDate, m_validityTime,
                                    m_save,     m_cancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    for (BoundControl *c : std::initializer_list<BoundControl *>{m_rfid, m_roomNumber, m_note, m_active, m_allEntrances,
                                                                 m_category, m_timeValidity, m_kind, m_validityDate,
                                                                 m_validityTime})
        setHistoryField(c);
}

UpdateCARDS::~UpdateCARDS() = default;

void UpdateCARDS::openTables()
{
    RecordForm::openTables();
    context().relation(TableId::ADR_DAT).open();
    context().file(TableId::STATE).open();
    // Before the record reaches the screen, so the holder's row is selected at once.
    m_holder->fillPeople();
}

void UpdateCARDS::closeTables()
{
    context().file(TableId::STATE).close();
    context().relation(TableId::ADR_DAT).close();
    RecordForm::closeTables();
}

void UpdateCARDS::beforeSave()
{
    // Not checked and not reported: a signal that could not be written does not stop the save.
    raiseChangeSignal(context(), nullptr);
}

void UpdateCARDS::paintEvent(QPaintEvent *event)
{
    // The wallpaper "back_blue.jpg".
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_wallpaper);
    RecordForm::paintEvent(event);
}
