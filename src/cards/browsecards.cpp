#include "browsecards.h"

#include "browselist.h"
#include "datacontext.h"
#include "images.h"
#include "relationmanager.h"
#include "updatecards.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

std::vector<BrowseColumn> cardColumns()
{
    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment centre = Qt::AlignHCenter;
    return {
        BrowseColumn::ofField(CAR::ID, QStringLiteral("ID"), 64, right, centre, QStringLiteral("n-14")),
        BrowseColumn::ofField(CAR::KOD, QStringLiteral("Kod"), 68, left, left, QStringLiteral("s16")),
        BrowseColumn::ofField(CAR::KOD_RFID, QStringLiteral("Kod RFID"), 68, left, left, QStringLiteral("s16")),
        BrowseColumn::ofField(CAR::KATEGORIE, QStringLiteral("Kategorie"), 64, right, centre, QStringLiteral("n-14")),
        BrowseColumn::ofField(CAR::DRUH, QStringLiteral("Druh"), 64, right, centre, QStringLiteral("n-14")),
        BrowseColumn::ofField(CAR::DRZITEL, QStringLiteral("Drzitel"), 64, right, centre, QStringLiteral("n-14")),
        BrowseColumn::ofField(CAR::STAV_KARTY, QStringLiteral("Stav karty"), 44, right, centre, QStringLiteral("n3")),
        BrowseColumn::ofField(CAR::CASOVA_PLATNOST, QStringLiteral("Casova platnost"), 64, right, centre,
                              QStringLiteral("n3")),
        BrowseColumn::ofField(CAR::DATUM_PLATNOSTI, QStringLiteral("Datum platnosti"), 64, right, centre,
                              QStringLiteral("n-14")),
    };
}

// The tabs by position: their captions name the keys they order by.
struct CardOrder {
    const char *caption;
    int key;
};
constexpr CardOrder cardOrders[] = {
    {"&1) KeyRFID", CAR::KeyRFID},
    {"&2) Primary", CAR::Primary},
    {"&3) KeyKod", CAR::KeyKod},
    {"&4) KeyDruh", CAR::KeyDruh},
    {"&5) KeyKategorie", CAR::KeyKategorie},
    {"&6) KeyDrzitel", CAR::KeyDrzitel},
};

QPushButton *button(QWidget *parent, Images::Icon icon, const QString &text, const QString &tip)
{
    auto *b = new QPushButton(Images::icon(icon), text, parent);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

} // namespace

BrowseCARDS::BrowseCARDS(DataContext &context, QWidget *parent)
    : ProcedureWindow(QStringLiteral("BrowseCARDS"), context, parent)
{
    setWindowTitle(QStringLiteral("Browse the CARDS file"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(530, 350, true);

    m_list = new BrowseList(context, TableId::CARDS, this);
    m_list->setObjectName(QStringLiteral("Browse"));
    m_list->setStatusTip(QStringLiteral("Browsing the CARDS file"));
    m_list->setColumns(cardColumns());
    std::vector<BrowseOrder> orders;
    for (const CardOrder &o : cardOrders)
        orders.push_back(BrowseOrder::byKey(o.key));
    m_list->setOrders(std::move(orders));

    m_insert = button(this, Images::New, QStringLiteral("&Vlož"), QStringLiteral("Přidání záznamu"));
    m_insert->setObjectName(QStringLiteral("Insert"));
    m_change = button(this, Images::Edit, QStringLiteral("&Edituj"), QStringLiteral("Změna záznamu"));
    m_change->setObjectName(QStringLiteral("Change"));
    m_delete = button(this, Images::Delete, QStringLiteral("&Smaž"), QStringLiteral("Smazání záznamu"));
    m_delete->setObjectName(QStringLiteral("Delete"));

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("CurrentTab"));
    m_tabs->setExpanding(false);
    for (const CardOrder &o : cardOrders)
        m_tabs->addTab(QString::fromUtf8(o.caption));
    m_tabs->setCurrentIndex(0);

    m_close = button(this, Images::Storno, QStringLiteral("&CZavřít"), QStringLiteral("Zavře okno"));
    m_close->setObjectName(QStringLiteral("Close"));

    // The tabs over the list, the record buttons under it at the left, the close button at the
    // bottom right; the list takes what the window grows by.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(duX(4), duY(4), duX(4), duY(4));
    layout->setSpacing(duY(3));
    auto *sheet = new QVBoxLayout;
    sheet->setSpacing(0);
    sheet->addWidget(m_tabs);
    sheet->addWidget(m_list, 1);
    layout->addLayout(sheet, 1);
    auto *records = new QHBoxLayout;
    for (QPushButton *b : {m_insert, m_change, m_delete}) {
        b->setMinimumWidth(duX(45));
        records->addWidget(b);
    }
    records->addStretch(1);
    layout->addLayout(records);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    m_close->setMinimumWidth(duX(45));
    bottom->addWidget(m_close);
    layout->addLayout(bottom);

    BrowseList::Actions actions;
    actions.insert = [this] { runUpdate(DataContext::InsertRecord); };
    actions.change = [this] { runUpdate(DataContext::ChangeRecord); };
    actions.remove = [this] { runUpdate(DataContext::DeleteRecord); };
    m_list->setActions(actions);

    connect(m_insert, &QPushButton::clicked, this, [this] { runUpdate(DataContext::InsertRecord); });
    connect(m_change, &QPushButton::clicked, this, [this] { runUpdate(DataContext::ChangeRecord); });
    connect(m_delete, &QPushButton::clicked, this, [this] { runUpdate(DataContext::DeleteRecord); });
    connect(m_close, &QPushButton::clicked, this, [this] { placedWindow()->close(); });
    // The order is chosen by the tab's position.
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            m_list->setOrder(index);
    });
    connect(m_list, &BrowseList::readFailed, this, [this] { placedWindow()->close(); });

    setTabOrder(m_list, m_insert);
    setTabOrder(m_insert, m_change);
    setTabOrder(m_change, m_delete);
    setTabOrder(m_delete, m_tabs);
    setTabOrder(m_tabs, m_close);
}

BrowseCARDS::~BrowseCARDS() = default;

void BrowseCARDS::openTables()
{
    context().relation(TableId::CARDS).open();
}

void BrowseCARDS::closeTables()
{
    context().relation(TableId::CARDS).close();
}

bool BrowseCARDS::prepareWindow()
{
    // A table that cannot be used has been reported by its file manager: no window then.
    if (!context().file(TableId::CARDS).use())
        return false;
    m_tabs->setCurrentIndex(0);
    m_list->setOrder(0);
    m_list->fill();
    m_list->setFocus();
    return true;
}

void BrowseCARDS::runUpdate(quint8 request)
{
    if (hasRunningChild())
        return;
    m_list->runForm(this, request, [](DataContext &c) -> ProcedureWindow * { return new UpdateCARDS(c); });
}

ProcedureWindow *startBrowseCARDS(DataContext *context)
{
    return new BrowseCARDS(*context);
}
