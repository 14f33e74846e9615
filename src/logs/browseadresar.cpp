#include "browseadresar.h"

#include "browselist.h"
#include "datacontext.h"
#include "eventcodes.h"
#include "filemanager.h"
#include "globals.h"
#include "images.h"
#include "peoplepanel.h"
#include "relationmanager.h"
#include "tiskdochazky.h"
#include "updatecards.h"
#include "updatelog_pokoje.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The entry form of "Kopírovat": a new entry, its number reserved as for any insert, that
// starts with every other value of the copied entry.
class CopiedEntryForm : public UpdateLOG_POKOJE
{
public:
    CopiedEntryForm(DataContext &context, qint32 personKod, const Record &copied, QWidget *parent)
        : UpdateLOG_POKOJE(context, personKod, parent)
        , m_copied(copied)
    {
    }

protected:
    void formOpened() override
    {
        Record &r = record();
        const int fields = int(tableDef(TableId::LOG_POKOJE).fields.size());
        for (int f = 0; f < fields; ++f)
            if (f != LPO::ID)
                r.setValue(f, m_copied.value(f));
        toScreen();
        UpdateLOG_POKOJE::formOpened();
    }

private:
    Record m_copied;
};

QLabel *heading(const QString &text, Images::Icon id, QWidget *parent, int iconPx, QHBoxLayout *into)
{
    auto *icon = new QLabel(parent);
    icon->setPixmap(Images::pixmap(id, iconPx));
    auto *label = new QLabel(text, parent);
    label->setFont(PeoplePanel::headingFont(16));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, PeoplePanel::headingColour());
    label->setPalette(pal);
    into->addWidget(icon);
    into->addWidget(label, 1);
    return label;
}

} // namespace

BrowseAdresar::BrowseAdresar(DataContext &context, QWidget *parent)
    : ProcedureWindow(QStringLiteral("BrowseAdresar"), context, parent)
{
    setWindowTitle(QStringLiteral("Browse the ADR_DAT file"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(544, 357, true);

    auto *leftFrame = new QFrame(this);
    leftFrame->setFrameShape(QFrame::StyledPanel);
    m_people = new PeoplePanel(this, 236, leftFrame);
    auto *leftLayout = new QVBoxLayout(leftFrame);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(m_people);

    auto *rightFrame = new QFrame(this);
    rightFrame->setFrameShape(QFrame::StyledPanel);
    m_pageAttendance = new QPushButton(Images::icon(Images::Attendance), QStringLiteral("Docházka"), rightFrame);
    m_pageAttendance->setObjectName(QStringLiteral("pageAttendance"));
    m_pageCards = new QPushButton(Images::icon(Images::Access), QStringLiteral("Karty"), rightFrame);
    m_pageCards->setObjectName(QStringLiteral("pageCards"));
    m_name = new QLabel(rightFrame);
    m_name->setObjectName(QStringLiteral("personName"));
    m_name->setFont(PeoplePanel::headingFont(12, true));
    QPalette pal = m_name->palette();
    pal.setColor(QPalette::WindowText, PeoplePanel::headingColour());
    m_name->setPalette(pal);

    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment centred = Qt::AlignHCenter;
    auto button = [this](QWidget *owner, const QString &name, const QString &text) {
        auto *b = new QPushButton(text, owner);
        b->setObjectName(name);
        b->setFixedHeight(duY(14));
        return b;
    };

    // Page 1: the attendance entries.
    m_pages = new QStackedWidget(rightFrame);
    auto *page1 = new QWidget;
    auto *page1Layout = new QVBoxLayout(page1);
    page1Layout->setContentsMargins(0, 0, 0, 0);
    page1Layout->setSpacing(duY(2));
    auto *head1 = new QHBoxLayout;
    heading(QStringLiteral("Přehled docházky"), Images::Attendance, page1, duY(16), head1);
    page1Layout->addLayout(head1);
    m_periods = PeoplePanel::makePeriodTabs(page1);
    m_attendance = new BrowseList(context, TableId::LOG_POKOJE, page1);
    m_attendance->setObjectName(QStringLiteral("attendance"));
    m_attendance->setMinimumSize(duX(357), duY(150));
    m_attendance->view()->setStatusTip(QStringLiteral("Browsing Records"));
    // Every column of an arrival is dark green, of a departure red; the selected colours stay
    // the list's.
    auto coloured = [](BrowseColumn c) {
        c.colours = [](const Record &r) {
            BrowseColumn::Colours colours;
            if (const auto rgb = EventCodes::attendanceRowColour(int(r.integer(LPO::DATA))))
                colours.foreground = QColor::fromRgb(*rgb);
            return colours;
        };
        return c;
    };
    BrowseColumn action;
    action.header = QStringLiteral("Akce");
    action.widthDu = 124;
    action.alignment = left;
    action.headerAlignment = centred;
    action.picture = Picture::parse(QStringLiteral("@s50"));
    action.value = [](const Record &r) { return QVariant(EventCodes::attendanceText(int(r.integer(LPO::DATA)))); };
    BrowseColumn place;
    place.header = QStringLiteral("Místo");
    place.widthDu = 100;
    place.alignment = left;
    place.headerAlignment = centred;
    place.picture = Picture::parse(QStringLiteral("@s30"));
    place.value = [this](const Record &r) { return QVariant(m_units.value(int(r.integer(LPO::CTECKA)))); };
    m_attendance->setColumns({
        coloured(BrowseColumn::ofField(LPO::DATUM, QStringLiteral("Datum"), 63, centred, centred,
                                       QStringLiteral("@D17"), 0)),
        coloured(BrowseColumn::ofField(LPO::CAS, QStringLiteral("Cas"), 30, centred, centred, QStringLiteral("@T7"), 0)),
        coloured(action),
        coloured(place),
        coloured(BrowseColumn::ofField(LPO::KATEGORIE_KARTY, QStringLiteral("Kategorie karty"), 70, centred, centred,
                                       QStringLiteral("@n-14"), 0)),
        coloured(BrowseColumn::ofField(LPO::KARTA, QStringLiteral("Karta"), 82, centred, centred,
                                       QStringLiteral("@s16"), 0)),
        coloured(BrowseColumn::ofField(LPO::ID, QStringLiteral("Id"), 56, centred, centred, QStringLiteral("@n-14"), 0)),
        coloured(BrowseColumn::ofField(LPO::DRZITEL, QStringLiteral("Drzitel"), 56, right, left,
                                       QStringLiteral("@n-14"), 0)),
        coloured(BrowseColumn::ofField(LPO::DATA, QStringLiteral("Data"), 26, left, centred, QStringLiteral("@n3"))),
        coloured(BrowseColumn::ofField(LPO::CTECKA, QStringLiteral("Ctecka"), 5, centred, centred,
                                       QStringLiteral("@n3"), 0)),
    });
    m_attendance->setOrders({BrowseOrder::byKey(LPO::KeyOsoba_Dat_Cas)});
    m_attendance->setFilter([](const Record &r) { return EventCodes::isAttendanceCode(int(r.integer(LPO::DATA))); });
    m_attendance->setSortHeaders(true);
    BrowseList::Actions entryActions;
    entryActions.insert = [this] { insertEntry(); };
    entryActions.change = [this] { changeEntry(); };
    entryActions.remove = [this] { deleteEntry(); };
    m_attendance->setActions(entryActions);
    m_copyItem = m_attendance->addMenuItem(QStringLiteral("Kopírovat"), [this] { copyEntry(); });
    m_insert = button(page1, QStringLiteral("insertEntry"), QStringLiteral("Nový záznam"));
    m_insert->setIcon(Images::icon(Images::New));
    m_change = button(page1, QStringLiteral("changeEntry"), QStringLiteral("Změnit záznam"));
    m_change->setIcon(Images::icon(Images::Edit));
    m_delete = button(page1, QStringLiteral("deleteEntry"), QStringLiteral("Smazat záznam"));
    m_delete->setIcon(Images::icon(Images::Delete));
    m_copy = button(page1, QStringLiteral("copyEntry"), QStringLiteral("Kopírovat"));
    m_print = button(page1, QStringLiteral("print"), QStringLiteral("Tisk"));
    m_print->setToolTip(QStringLiteral("Print information"));
    page1Layout->addWidget(m_periods);
    page1Layout->addWidget(m_attendance, 1);
    auto *buttons1 = new QHBoxLayout;
    for (QPushButton *b : {m_insert, m_change, m_delete, m_copy, m_print})
        buttons1->addWidget(b);
    buttons1->addStretch(1);
    page1Layout->addLayout(buttons1);

    // Page 2: the person's cards.
    auto *page2 = new QWidget;
    auto *page2Layout = new QVBoxLayout(page2);
    page2Layout->setContentsMargins(0, 0, 0, 0);
    page2Layout->setSpacing(duY(2));
    auto *head2 = new QHBoxLayout;
    heading(QStringLiteral("Přístupové karty"), Images::Access, page2, duY(16), head2);
    page2Layout->addLayout(head2);
    m_cardTabs = new QTabBar(page2);
    m_cardTabs->setObjectName(QStringLiteral("cardTabs"));
    m_cardTabs->setDrawBase(false);
    for (const char *text : {"Zobrazit vše", "Zobrazit aktivní", "Zobrazit neaktivní"})
        m_cardTabs->addTab(QString::fromUtf8(text));
    m_cards = new BrowseList(context, TableId::CARDS, page2);
    m_cards->setObjectName(QStringLiteral("cards"));
    m_cards->setMinimumSize(duX(357), duY(150));
    m_cards->view()->setStatusTip(QStringLiteral("Browsing Records"));
    m_cards->setColumns({
        BrowseColumn::ofField(CAR::ID, QStringLiteral("ID"), 65, centred, centred, QStringLiteral("@N_16"), 0),
        BrowseColumn::ofField(CAR::KOD_RFID, QStringLiteral("Kod RFID"), 76, centred, centred, QStringLiteral("@s16"), 0),
        BrowseColumn::ofField(CAR::CISLO_POKOJE, QStringLiteral("Cislo pokoje"), 46, centred, centred,
                              QStringLiteral("@n-7.0"), 0),
        BrowseColumn::ofField(CAR::POZNAMKA, QStringLiteral("Poznamka"), 80, left, left, QStringLiteral("@s127")),
        BrowseColumn::ofField(CAR::KATEGORIE, QStringLiteral("Kategorie"), 53, centred, centred,
                              QStringLiteral("@n-14"), 0),
        BrowseColumn::ofField(CAR::STAV_KARTY, QStringLiteral("Stav karty"), 38, centred, centred,
                              QStringLiteral("@n3"), 0),
        BrowseColumn::ofField(CAR::DRUH, QStringLiteral("Druh"), 56, centred, centred, QStringLiteral("@n-14"), 0),
        BrowseColumn::ofField(CAR::VSECHNY_POKOJE, QStringLiteral("Vsechny pokoje"), 79, centred, centred,
                              QStringLiteral("@n3"), 0),
    });
    m_cards->setOrders({BrowseOrder::byKey(CAR::KeyDrzitel)});
    BrowseList::Actions cardActions;
    cardActions.insert = [this] { insertCard(); };
    cardActions.change = [this] { changeCard(); };
    cardActions.remove = [this] { deleteCard(); };
    m_cards->setActions(cardActions);
    m_insertCard = button(page2, QStringLiteral("insertCard"), QStringLiteral("Nová karta"));
    m_insertCard->setIcon(Images::icon(Images::New));
    m_changeCard = button(page2, QStringLiteral("changeCard"), QStringLiteral("Edituj kartu"));
    m_changeCard->setIcon(Images::icon(Images::Edit));
    m_deleteCard = button(page2, QStringLiteral("deleteCard"), QStringLiteral("Smaž kartu"));
    m_deleteCard->setIcon(Images::icon(Images::Delete));
    page2Layout->addWidget(m_cardTabs);
    page2Layout->addWidget(m_cards, 1);
    auto *buttons2 = new QHBoxLayout;
    for (QPushButton *b : {m_insertCard, m_changeCard, m_deleteCard})
        buttons2->addWidget(b);
    buttons2->addStretch(1);
    page2Layout->addLayout(buttons2);
    m_pages->addWidget(page1);
    m_pages->addWidget(page2);

    connect(m_insert, &QPushButton::clicked, this, &BrowseAdresar::insertEntry);
    connect(m_change, &QPushButton::clicked, this, &BrowseAdresar::changeEntry);
    connect(m_delete, &QPushButton::clicked, this, &BrowseAdresar::deleteEntry);
    connect(m_copy, &QPushButton::clicked, this, &BrowseAdresar::copyEntry);
    connect(m_print, &QPushButton::clicked, this, &BrowseAdresar::printReport);
    connect(m_insertCard, &QPushButton::clicked, this, &BrowseAdresar::insertCard);
    connect(m_changeCard, &QPushButton::clicked, this, &BrowseAdresar::changeCard);
    connect(m_deleteCard, &QPushButton::clicked, this, &BrowseAdresar::deleteCard);
    connect(m_pageAttendance, &QPushButton::clicked, this, [this] { showPage(AttendancePage); });
    connect(m_pageCards, &QPushButton::clicked, this, [this] { showPage(CardsPage); });
    connect(m_people, &PeoplePanel::personChanged, this, &BrowseAdresar::followPerson);
    connect(m_periods, &QTabBar::currentChanged, this, [this] {
        if (m_ready)
            refillAttendance();
    });
    connect(m_cardTabs, &QTabBar::currentChanged, this, [this] {
        if (m_ready)
            refillCards();
    });
    connect(m_attendance, &BrowseList::refilled, this, &BrowseAdresar::updateCopyEnabled);
    connect(m_attendance, &BrowseList::currentChanged, this, &BrowseAdresar::updateCopyEnabled);
    for (BrowseList *list : {m_people->list(), m_attendance, m_cards})
        connect(list, &BrowseList::readFailed, this, [this] { finish(DataContext::RequestCancelled); });

    auto *rightLayout = new QVBoxLayout(rightFrame);
    rightLayout->setContentsMargins(duX(3), duY(3), duX(3), duY(3));
    rightLayout->setSpacing(duY(2));
    auto *strip = new QHBoxLayout;
    strip->addWidget(m_pageAttendance);
    strip->addWidget(m_pageCards);
    strip->addSpacing(duX(6));
    strip->addWidget(m_name, 1);
    rightLayout->addLayout(strip);
    rightLayout->addWidget(m_pages, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(duX(4), duY(4), duX(4), duY(4));
    layout->setSpacing(duX(4));
    layout->addWidget(leftFrame, 0);
    layout->addWidget(rightFrame, 1);
    updateCopyEnabled();
}

BrowseAdresar::~BrowseAdresar() = default;

void BrowseAdresar::setTodayForTests(const QDate &date)
{
    PeoplePanel::setTodayForTests(date);
}

void BrowseAdresar::openTables()
{
    context().relation(TableId::ADR_DAT).open();
    context().relation(TableId::LOG_POKOJE).open();
    context().relation(TableId::CARDS).open();
    context().relation(TableId::GCU_POK).open();
}

void BrowseAdresar::closeTables()
{
    context().relation(TableId::GCU_POK).close();
    context().relation(TableId::CARDS).close();
    context().relation(TableId::LOG_POKOJE).close();
    context().relation(TableId::ADR_DAT).close();
}

bool BrowseAdresar::prepareWindow()
{
    if (!m_people->list()->file().use() || !m_attendance->file().use() || !m_cards->file().use())
        return false;
    m_periods->setCurrentIndex(PeoplePanel::All);
    m_pages->setCurrentIndex(AttendancePage);
    m_ready = true;
    m_people->list()->fill();
    // An empty address book emits no change of the highlight: the lists are narrowed here.
    followPerson(m_people->list()->currentRecord());
    m_people->list()->setFocus(Qt::OtherFocusReason);
    return true;
}

void BrowseAdresar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}

void BrowseAdresar::showPage(int page)
{
    m_pages->setCurrentIndex(page == CardsPage ? CardsPage : AttendancePage);
}

void BrowseAdresar::followPerson(const Record &person)
{
    if (!m_ready)
        return;
    const bool any = person.rowId() != 0;
    m_name->setText(any ? person.text(ADR::NAZEV) : QString());
    const qint64 kod = any ? person.integer(ADR::KOD) : -1;
    if (any)
        GLO::TiskDrzitel.set(qint32(kod));
    // The same person read anew keeps the lists as they are; another one reads them afresh.
    if (kod == m_shownPerson)
        return;
    m_shownPerson = kod;
    refillAttendance();
    refillCards();
}

void BrowseAdresar::refillAttendance()
{
    m_units = PeoplePanel::unitNames(context());
    if (m_shownPerson < 0)
        m_attendance->setRange(0, {}, {PeoplePanel::nothing(LPO::ID)});
    else
        m_attendance->setRange(0, {QVariant(qlonglong(m_shownPerson))},
                               PeoplePanel::periodConditions(m_periods->currentIndex()));
    m_attendance->fill();
    updateCopyEnabled();
}

void BrowseAdresar::refillCards()
{
    std::vector<Condition> conditions;
    if (m_cardTabs->currentIndex() == ActiveCards)
        conditions.push_back({CAR::STAV_KARTY, Condition::Eq, qlonglong(1)});
    else if (m_cardTabs->currentIndex() == InactiveCards)
        conditions.push_back({CAR::STAV_KARTY, Condition::Ne, qlonglong(1)});
    if (m_shownPerson < 0)
        m_cards->setRange(0, {}, {PeoplePanel::nothing(CAR::ID)});
    else
        m_cards->setRange(0, {QVariant(qlonglong(m_shownPerson))}, std::move(conditions));
    m_cards->fill();
}

void BrowseAdresar::updateCopyEnabled()
{
    const bool rows = !m_attendance->isEmpty();
    m_copy->setEnabled(rows);
    if (m_copyItem)
        m_copyItem->setEnabled(rows);
}

void BrowseAdresar::runEntryForm(quint8 request)
{
    const qint32 kod = m_people->personKod();
    if (request == DataContext::InsertRecord && !m_people->hasPerson()) {
        m_copyPressed = false;
        return;
    }
    const bool copying = request == DataContext::InsertRecord && m_copyPressed;
    m_copyPressed = false;
    const Record copied = m_copied;
    m_attendance->runForm(
        this, request,
        [this, kod, copying, copied](DataContext &c) -> ProcedureWindow * {
            if (copying)
                return new CopiedEntryForm(c, kod, copied, this);
            return new UpdateLOG_POKOJE(c, kod, this);
        },
        [this](quint8) { updateCopyEnabled(); });
}

void BrowseAdresar::insertEntry()
{
    runEntryForm(DataContext::InsertRecord);
}

void BrowseAdresar::changeEntry()
{
    runEntryForm(DataContext::ChangeRecord);
}

void BrowseAdresar::deleteEntry()
{
    runEntryForm(DataContext::DeleteRecord);
}

void BrowseAdresar::copyEntry()
{
    if (!m_attendance->hasCurrent() || !m_copy->isEnabled())
        return;
    // The entry as the table holds it now, not as the list read it.
    FileManager &log = m_attendance->file();
    if (!log.fetchRow(m_attendance->currentRowId())) {
        m_attendance->refill();
        return;
    }
    m_copied = log.record();
    m_copyPressed = true;
    insertEntry();
}

void BrowseAdresar::printReport()
{
    if (!m_people->hasPerson())
        return;
    runChild(new TiskDochazky(context(), m_people->personKod(), this));
}

void BrowseAdresar::runCardForm(quint8 request)
{
    m_cards->runForm(this, request, [this](DataContext &c) -> ProcedureWindow * { return new UpdateCARDS(c, this); });
}

void BrowseAdresar::insertCard()
{
    runCardForm(DataContext::InsertRecord);
}

void BrowseAdresar::changeCard()
{
    runCardForm(DataContext::ChangeRecord);
}

void BrowseAdresar::deleteCard()
{
    runCardForm(DataContext::DeleteRecord);
}

ProcedureWindow *startBrowseAdresar(DataContext *context)
{
    return new BrowseAdresar(*context);
}
