#include "browsepristupy.h"

#include "browselist.h"
#include "datacontext.h"
#include "eventcodes.h"
#include "filemanager.h"
#include "globals.h"
#include "images.h"
#include "peoplepanel.h"
#include "relationmanager.h"
#include "updatelog_pokoje.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

BrowsePristupy::BrowsePristupy(DataContext &context, QWidget *parent)
    : ProcedureWindow(QStringLiteral("BrowsePristupy"), context, parent)
{
    setWindowTitle(QStringLiteral("Browse the ADR_DAT file"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(544, 357, true);

    auto *leftFrame = new QFrame(this);
    leftFrame->setFrameShape(QFrame::StyledPanel);
    m_people = new PeoplePanel(this, 156, leftFrame);
    auto *leftLayout = new QVBoxLayout(leftFrame);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(m_people);

    auto *rightFrame = new QFrame(this);
    rightFrame->setFrameShape(QFrame::StyledPanel);
    auto *icon = new QLabel(rightFrame);
    icon->setPixmap(Images::pixmap(Images::Access, duY(16)));
    auto *heading = new QLabel(QStringLiteral("Přístupy dle uživatele"), rightFrame);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setFont(PeoplePanel::headingFont(16));
    QPalette pal = heading->palette();
    pal.setColor(QPalette::WindowText, PeoplePanel::headingColour());
    heading->setPalette(pal);

    m_periods = PeoplePanel::makePeriodTabs(rightFrame);
    m_list = new BrowseList(context, TableId::LOG_POKOJE, rightFrame);
    m_list->setObjectName(QStringLiteral("access"));
    m_list->setMinimumSize(duX(357), duY(200));
    m_list->view()->setStatusTip(QStringLiteral("Browsing Records"));
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment centred = Qt::AlignHCenter;
    BrowseColumn action;
    action.header = QStringLiteral("akce");
    action.widthDu = 120;
    action.alignment = left;
    action.headerAlignment = centred;
    action.picture = Picture::parse(QStringLiteral("@s30"));
    action.value = [](const Record &r) { return QVariant(EventCodes::accessText(int(r.integer(LPO::DATA)))); };
    BrowseColumn place;
    place.header = QStringLiteral("Misto");
    place.widthDu = 120;
    place.alignment = left;
    place.headerAlignment = centred;
    place.picture = Picture::parse(QStringLiteral("@s30"));
    place.value = [this](const Record &r) { return QVariant(m_units.value(int(r.integer(LPO::CTECKA)))); };
    m_list->setColumns({
        BrowseColumn::ofField(LPO::DATUM, QStringLiteral("Datum"), 63, centred, centred, QStringLiteral("@D17"), 0),
        BrowseColumn::ofField(LPO::CAS, QStringLiteral("Cas"), 30, centred, centred, QStringLiteral("@T7"), 0),
        action,
        place,
        BrowseColumn::ofField(LPO::KATEGORIE_KARTY, QStringLiteral("Kategorie karty"), 70, centred, centred,
                              QStringLiteral("@n-14"), 0),
        BrowseColumn::ofField(LPO::KARTA, QStringLiteral("Karta"), 82, centred, centred, QStringLiteral("@s16"), 0),
        BrowseColumn::ofField(LPO::ID, QStringLiteral("Id"), 56, centred, centred, QStringLiteral("@n-14"), 0),
        BrowseColumn::ofField(LPO::DRZITEL, QStringLiteral("Drzitel"), 56, right, left, QStringLiteral("@n-14"), 0),
        BrowseColumn::ofField(LPO::CTECKA, QStringLiteral("Ctecka"), 43, centred, centred, QStringLiteral("@n3"), 0),
        BrowseColumn::ofField(LPO::DATA, QStringLiteral("Data"), 54, left, centred, QStringLiteral("@n3")),
    });
    // Date, then entry number, within the person: the program's own index on the log.
    BrowseOrder order = BrowseOrder::byFields(
        tableDef(TableId::LOG_POKOJE).extraKeys[LPO::KeyOsoba_Datum_Id].fields);
    m_list->setOrders({order});
    m_list->setSortHeaders(true);
    BrowseList::Actions actions;
    actions.insert = [this] { insertEntry(); };
    actions.change = [this] { changeEntry(); };
    actions.remove = [this] { deleteEntry(); };
    m_list->setActions(actions);
    connect(m_list, &BrowseList::readFailed, this, [this] { finish(DataContext::RequestCancelled); });
    connect(m_people->list(), &BrowseList::readFailed, this, [this] { finish(DataContext::RequestCancelled); });

    auto button = [this, rightFrame](const QString &name, const QString &text, Images::Icon id) {
        auto *b = new QPushButton(Images::icon(id), text, rightFrame);
        b->setObjectName(name);
        b->setFixedHeight(duY(14));
        return b;
    };
    m_insert = button(QStringLiteral("insertEntry"), QStringLiteral("Nový záznam"), Images::New);
    m_change = button(QStringLiteral("changeEntry"), QStringLiteral("Změnit záznam"), Images::Edit);
    m_delete = button(QStringLiteral("deleteEntry"), QStringLiteral("Smazat záznam"), Images::Delete);
    connect(m_insert, &QPushButton::clicked, this, &BrowsePristupy::insertEntry);
    connect(m_change, &QPushButton::clicked, this, &BrowsePristupy::changeEntry);
    connect(m_delete, &QPushButton::clicked, this, &BrowsePristupy::deleteEntry);

    connect(m_people, &PeoplePanel::personChanged, this, &BrowsePristupy::followPerson);
    connect(m_periods, &QTabBar::currentChanged, this, [this] {
        if (m_ready)
            refillForPerson();
    });

    auto *rightLayout = new QVBoxLayout(rightFrame);
    rightLayout->setContentsMargins(duX(3), duY(3), duX(3), duY(3));
    rightLayout->setSpacing(duY(2));
    auto *head = new QHBoxLayout;
    head->addWidget(icon);
    head->addWidget(heading, 1);
    rightLayout->addLayout(head);
    rightLayout->addWidget(m_periods);
    rightLayout->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_insert);
    buttons->addWidget(m_change);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    rightLayout->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(duX(4), duY(4), duX(4), duY(4));
    layout->setSpacing(duX(4));
    layout->addWidget(leftFrame, 0);
    layout->addWidget(rightFrame, 1);
}

BrowsePristupy::~BrowsePristupy() = default;

void BrowsePristupy::setTodayForTests(const QDate &date)
{
    PeoplePanel::setTodayForTests(date);
}

void BrowsePristupy::openTables()
{
    context().relation(TableId::ADR_DAT).open();
    context().relation(TableId::LOG_POKOJE).open();
    context().relation(TableId::CARDS).open();
    context().relation(TableId::GCU_POK).open();
}

void BrowsePristupy::closeTables()
{
    context().relation(TableId::GCU_POK).close();
    context().relation(TableId::CARDS).close();
    context().relation(TableId::LOG_POKOJE).close();
    context().relation(TableId::ADR_DAT).close();
}

bool BrowsePristupy::prepareWindow()
{
    if (!m_people->list()->file().use() || !m_list->file().use())
        return false;
    m_periods->setCurrentIndex(PeoplePanel::All);
    m_ready = true;
    m_people->list()->fill();
    // An empty address book emits no change of the highlight: the list is narrowed here.
    followPerson(m_people->list()->currentRecord());
    m_people->list()->setFocus(Qt::OtherFocusReason);
    return true;
}

void BrowsePristupy::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}

void BrowsePristupy::followPerson(const Record &person)
{
    if (!m_ready)
        return;
    const qint64 kod = person.rowId() != 0 ? person.integer(ADR::KOD) : -1;
    if (person.rowId() != 0)
        GLO::TiskDrzitel.set(qint32(kod));
    // The same person read anew keeps the list as it is; another one reads it from its start.
    if (kod == m_shownPerson)
        return;
    m_shownPerson = kod;
    refillForPerson();
}

void BrowsePristupy::refillForPerson()
{
    m_units = PeoplePanel::unitNames(context());
    std::vector<Condition> conditions = PeoplePanel::periodConditions(m_periods->currentIndex());
    if (m_shownPerson < 0) {
        m_list->setRange(0, {}, {PeoplePanel::nothing(LPO::ID)});
    } else {
        m_list->setRange(0, {QVariant(qlonglong(m_shownPerson))}, std::move(conditions));
    }
    m_list->fill();
}

void BrowsePristupy::runEntryForm(quint8 request)
{
    const qint32 kod = m_people->personKod();
    if (request == DataContext::InsertRecord && !m_people->hasPerson())
        return;
    m_list->runForm(this, request, [this, kod](DataContext &c) -> ProcedureWindow * {
        return new UpdateLOG_POKOJE(c, kod, this);
    });
}

void BrowsePristupy::insertEntry()
{
    runEntryForm(DataContext::InsertRecord);
}

void BrowsePristupy::changeEntry()
{
    runEntryForm(DataContext::ChangeRecord);
}

void BrowsePristupy::deleteEntry()
{
    runEntryForm(DataContext::DeleteRecord);
}

ProcedureWindow *startBrowsePristupy(DataContext *context)
{
    return new BrowsePristupy(*context);
}
