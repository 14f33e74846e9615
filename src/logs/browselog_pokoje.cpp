#include "browselog_pokoje.h"

#include "browselist.h"
#include "datacontext.h"
#include "filemanager.h"
#include "globals.h"
#include "images.h"
#include "relationmanager.h"
#include "taglist.h"
#include "updatelog_pokoje.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>


namespace {

// The most entry numbers a display mode asks the store for by number; a mode that shows more
// rows reads every row and leaves the others out by the filter. 16 * 4^5: the longest list.
constexpr qint64 MostListedRows = 16384;

const QIcon &tagIcon()
{
    static const QIcon icon = Images::icon(Images::Tag);
    return icon;
}

const QIcon &untagIcon()
{
    static const QIcon icon = Images::icon(Images::Untag);
    return icon;
}

bool isToggleKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_O && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

// Shows the wait cursor for as long as it lives.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

BrowseLOG_POKOJE::BrowseLOG_POKOJE(DataContext &context, QWidget *parent)
    : ProcedureWindow(QStringLiteral("BrowseLOG_POKOJE"), context, parent)
{
    setWindowTitle(QStringLiteral("Browse the LOG_POKOJE file"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(524, 326, true);

    m_sheet = new QTabWidget(this);
    auto *page = new QWidget;
    m_sheet->addTab(page, QStringLiteral("Zobrazit vše"));

    m_list = new BrowseList(context, TableId::LOG_POKOJE, page);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setMinimumSize(duX(507), duY(254));
    m_list->view()->setStatusTip(QStringLiteral("Browsing the LOG_POKOJE file"));

    BrowseColumn mark;
    mark.widthDu = 10;
    mark.alignment = Qt::AlignLeft;
    mark.picture = Picture::parse(QStringLiteral("@s1"));
    mark.resizable = false;
    mark.value = [](const Record &r) {
        return QVariant(TAGQUE_KAR().contains(r.integer(LPO::ID)) ? QStringLiteral("*") : QStringLiteral(" "));
    };
    mark.icon = [](const Record &r) { return TAGQUE_KAR().contains(r.integer(LPO::ID)) ? tagIcon() : untagIcon(); };
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment centred = Qt::AlignHCenter;
    m_list->setColumns({
        mark,
        BrowseColumn::ofField(LPO::KARTA, QStringLiteral("Karta"), 68, left, left, QStringLiteral("@s16")),
        BrowseColumn::ofField(LPO::DATA, QStringLiteral("Data"), 20, right, centred, QStringLiteral("@n3")),
        BrowseColumn::ofField(LPO::DATUM, QStringLiteral("Datum"), 64, right, centred, QStringLiteral("@D17")),
        BrowseColumn::ofField(LPO::CAS, QStringLiteral("Cas"), 40, right, centred, QStringLiteral("@T7")),
        BrowseColumn::ofField(LPO::CTECKA, QStringLiteral("Ctecka"), 28, right, centred, QStringLiteral("@n3")),
        BrowseColumn::ofField(LPO::KATEGORIE_KARTY, QStringLiteral("Kategorie karty"), 64, right, centred,
                              QStringLiteral("@n-14")),
        BrowseColumn::ofField(LPO::POZNAMKA, QStringLiteral("Poznamka"), 80, left, left, QStringLiteral("@s127")),
        BrowseColumn::ofField(LPO::ID, QStringLiteral("Id"), 56, right, centred, QStringLiteral("@n-14")),
    });
    m_list->setOrders({BrowseOrder::byKey(LPO::KeyId)});
    m_list->setSortHeaders(true);
    m_list->setRowHeightDu(10);

    BrowseList::Actions actions;
    actions.insert = [this] { insertRecord(); };
    actions.change = [this] { changeRecord(); };
    actions.remove = [this] { deleteRecord(); };
    m_list->setActions(actions);
    m_list->addMenuSeparator();
    m_list->addMenuItem(QStringLiteral("Označ"), [this] { toggleTag(); });
    m_list->addMenuItem(QStringLiteral("Označ vše"), [this] { tagAll(); });
    m_list->addMenuItem(QStringLiteral("Odznač vše"), [this] { untagAll(); });
    m_list->addMenuItem(QStringLiteral("Inverze"), [this] { reverseTags(); });
    m_list->addMenuItem(QStringLiteral("Pouze označené"), [this] { stepTagMode(); });

    // Ctrl+O toggles; the list's own key handling never sees it, so it cannot reach the locator.
    m_list->view()->installEventFilter(this);
    connect(m_list, &BrowseList::cellPressed, this, [this](int column, const Record &) {
        if (column == 0)
            toggleTagInPlace();
    });
    connect(m_list, &BrowseList::readFailed, this, [this] { finish(DataContext::RequestCancelled); });
    // Another log window changed the tags: what this window's mode can show changed with them.
    connect(&TAGQUE_KAR(), &TagList::changed, this, [this] {
        if (!isFinished())
            updateModeRange();
    });

    auto button = [this](QWidget *owner, const QString &name, const QString &text, int widthDu) {
        auto *b = new QPushButton(text, owner);
        b->setObjectName(name);
        b->setFixedSize(duX(widthDu), duY(14));
        return b;
    };
    m_insert = button(page, QStringLiteral("insert"), QStringLiteral("&Vlož"), 45);
    m_insert->setIcon(Images::icon(Images::New));
    m_insert->setToolTip(QStringLiteral("Přidání záznamu"));
    m_change = button(page, QStringLiteral("change"), QStringLiteral("&Edituj"), 45);
    m_change->setIcon(Images::icon(Images::Edit));
    m_change->setToolTip(QStringLiteral("Změna záznamu"));
    m_delete = button(page, QStringLiteral("delete"), QStringLiteral("&Smaž"), 45);
    m_delete->setIcon(Images::icon(Images::Delete));
    m_delete->setToolTip(QStringLiteral("Smazání záznamu"));
    m_tag = button(page, QStringLiteral("tag"), QStringLiteral("&Tag"), 40);
    m_tagAll = button(page, QStringLiteral("tagAll"), QStringLiteral("tag &All"), 45);
    m_untagAll = button(page, QStringLiteral("untagAll"), QStringLiteral("&Untag all"), 48);
    m_reverse = button(page, QStringLiteral("reverse"), QStringLiteral("&Rev tags"), 48);
    m_show = button(page, QStringLiteral("show"), QStringLiteral("sho&W tags"), 72);
    m_close = button(this, QStringLiteral("close"), QStringLiteral("&CZavřít"), 52);
    m_close->setIcon(Images::icon(Images::Storno));
    m_close->setToolTip(QStringLiteral("Zavře okno"));
    for (QPushButton *b : {m_tag, m_tagAll, m_untagAll, m_reverse, m_show})
        b->setFocusPolicy(Qt::TabFocus);

    connect(m_insert, &QPushButton::clicked, this, &BrowseLOG_POKOJE::insertRecord);
    connect(m_change, &QPushButton::clicked, this, &BrowseLOG_POKOJE::changeRecord);
    connect(m_delete, &QPushButton::clicked, this, &BrowseLOG_POKOJE::deleteRecord);
    connect(m_tag, &QPushButton::clicked, this, &BrowseLOG_POKOJE::toggleTag);
    connect(m_tagAll, &QPushButton::clicked, this, &BrowseLOG_POKOJE::tagAll);
    connect(m_untagAll, &QPushButton::clicked, this, &BrowseLOG_POKOJE::untagAll);
    connect(m_reverse, &QPushButton::clicked, this, &BrowseLOG_POKOJE::reverseTags);
    connect(m_show, &QPushButton::clicked, this, &BrowseLOG_POKOJE::stepTagMode);
    connect(m_close, &QPushButton::clicked, this, [this] { placedWindow()->close(); });

    // The list takes what the window grows by; the buttons keep their size and follow its edges.
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(duX(4), duY(4), duX(4), duY(4));
    pageLayout->setSpacing(duY(4));
    pageLayout->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(duX(3));
    for (QPushButton *b : {m_insert, m_change, m_delete})
        buttons->addWidget(b);
    buttons->addSpacing(duX(8));
    for (QPushButton *b : {m_tag, m_tagAll, m_untagAll, m_reverse, m_show})
        buttons->addWidget(b);
    buttons->addStretch(1);
    pageLayout->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(duX(4), duY(4), duX(4), duY(4));
    layout->setSpacing(duY(2));
    layout->addWidget(m_sheet, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_close);
    layout->addLayout(bottom);

    setTabOrder(m_list->view(), m_insert);
    setTabOrder(m_insert, m_change);
    setTabOrder(m_change, m_delete);
    setTabOrder(m_delete, m_tag);
    setTabOrder(m_tag, m_tagAll);
    setTabOrder(m_tagAll, m_untagAll);
    setTabOrder(m_untagAll, m_reverse);
    setTabOrder(m_reverse, m_show);
    setTabOrder(m_show, m_close);
}

BrowseLOG_POKOJE::~BrowseLOG_POKOJE() = default;

QString BrowseLOG_POKOJE::modeText(int mode)
{
    switch (mode) {
    case ShowTagged:
        return QStringLiteral("Showing Tagged");
    case ShowUntagged:
        return QStringLiteral("Showing UnTagged");
    default:
        return QStringLiteral("Show All");
    }
}

void BrowseLOG_POKOJE::openTables()
{
    context().relation(TableId::LOG_POKOJE).open();
    context().relation(TableId::CARDS).open();
    context().relation(TableId::GCU_POK).open();
    // A log window that opens starts the tagging afresh, for every log window.
    TAGQUE_KAR().clear();
    m_mode = ShowAll;
    m_show->setText(modeText(m_mode));
    m_show->setToolTip(modeText(m_mode));
    m_show->setStatusTip(modeText(m_mode));
    updateModeRange();
}

void BrowseLOG_POKOJE::closeTables()
{
    TAGQUE_KAR().clear();
    context().relation(TableId::GCU_POK).close();
    context().relation(TableId::CARDS).close();
    context().relation(TableId::LOG_POKOJE).close();
}

bool BrowseLOG_POKOJE::prepareWindow()
{
    // A table that cannot be used was reported when it was opened: the window does not open.
    if (!m_list->file().use())
        return false;
    m_list->fill();
    m_list->setFocus(Qt::OtherFocusReason);
    return true;
}

bool BrowseLOG_POKOJE::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->view() && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (isToggleKey(key)) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                toggleTag();
            return true;
        }
    }
    return ProcedureWindow::eventFilter(watched, event);
}

void BrowseLOG_POKOJE::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}

void BrowseLOG_POKOJE::toggle(bool moveOn)
{
    if (!m_list->hasCurrent())
        return;
    TAGQUE_KAR().toggle(m_list->currentRecord().integer(LPO::ID));
    // Only the rows on the screen are shown anew; nothing is read.
    m_list->refreshDisplay();
    if (moveOn)
        m_list->moveBy(1);
}

void BrowseLOG_POKOJE::toggleTag()
{
    toggle(true);
}

void BrowseLOG_POKOJE::toggleTagInPlace()
{
    toggle(false);
}

bool BrowseLOG_POKOJE::entryBounds(qint64 *first, qint64 *last)
{
    FileManager &log = m_list->file();
    PageRequest request = PageRequest::forKey(log.def(), LPO::KeyId);
    request.limit = 1;
    std::vector<Record> head;
    std::vector<Record> tail;
    if (!log.readPage(request, &head).ok() || head.empty())
        return false;
    request.backwards = true;
    if (!log.readPage(request, &tail).ok() || tail.empty())
        return false;
    *first = head.front().integer(LPO::ID);
    *last = tail.front().integer(LPO::ID);
    return true;
}

void BrowseLOG_POKOJE::tagAll()
{
    WaitCursor wait;
    qint64 first = 0;
    qint64 last = 0;
    if (entryBounds(&first, &last))
        TAGQUE_KAR().tagAll(first, last);
    else
        TAGQUE_KAR().clear();
    refillKeepingLine();
}

void BrowseLOG_POKOJE::untagAll()
{
    WaitCursor wait;
    TAGQUE_KAR().clear();
    refillKeepingLine();
}

void BrowseLOG_POKOJE::reverseTags()
{
    WaitCursor wait;
    qint64 first = 0;
    qint64 last = 0;
    if (entryBounds(&first, &last))
        TAGQUE_KAR().invert(first, last);
    else
        TAGQUE_KAR().clear();
    refillKeepingLine();
}

void BrowseLOG_POKOJE::stepTagMode()
{
    WaitCursor wait;
    m_mode = (m_mode + 1) % 3;
    m_show->setText(modeText(m_mode));
    m_show->setToolTip(modeText(m_mode));
    m_show->setStatusTip(modeText(m_mode));
    updateModeRange();
    refillKeepingLine();
}

void BrowseLOG_POKOJE::refillKeepingLine()
{
    updateModeRange();
    m_list->refill();
}

bool BrowseLOG_POKOJE::updateModeRange()
{
    ModeRange range;
    range.mode = m_mode;
    if (m_mode != ShowAll) {
        // The entry numbers of the log that the mode shows, when they are few. A log that is
        // empty (or cannot be read) shows nothing until it is read again.
        qint64 first = 0;
        qint64 last = -1;
        entryBounds(&first, &last);
        range.listed = TAGQUE_KAR().numbersWithin(first, last, m_mode == ShowTagged, MostListedRows, &range.ids);
    }
    if (range == m_range)
        return false;
    m_range = range;

    std::vector<Condition> conditions;
    if (range.listed) {
        // Padded with its last number to one of a few lengths, so that the store prepares few
        // statements however the tags change.
        QVariantList ids;
        qsizetype length = range.ids.empty() ? 0 : 16;
        while (length < qsizetype(range.ids.size()))
            length *= 4;
        ids.reserve(length);
        for (const qint64 id : range.ids)
            ids.append(QVariant::fromValue(id));
        while (ids.size() < length)
            ids.append(ids.back());
        conditions.push_back({LPO::ID, Condition::In, QVariant(ids)});
    }
    m_list->setRange(0, {}, std::move(conditions));
    if (m_mode == ShowTagged)
        m_list->setFilter([](const Record &r) { return TAGQUE_KAR().contains(r.integer(LPO::ID)); });
    else if (m_mode == ShowUntagged)
        m_list->setFilter([](const Record &r) { return !TAGQUE_KAR().contains(r.integer(LPO::ID)); });
    else
        m_list->setFilter({});
    return true;
}

void BrowseLOG_POKOJE::runUpdate(quint8 request)
{
    // This list has no person of its own: a new entry goes to the person highlighted last in a
    // people window.
    m_list->runForm(
        this, request,
        [this](DataContext &c) -> ProcedureWindow * { return new UpdateLOG_POKOJE(c, GLO::TiskDrzitel.get(), this); },
        [this](quint8) {
            if (updateModeRange())
                m_list->refill();
        });
}

void BrowseLOG_POKOJE::insertRecord()
{
    runUpdate(DataContext::InsertRecord);
}

void BrowseLOG_POKOJE::changeRecord()
{
    runUpdate(DataContext::ChangeRecord);
}

void BrowseLOG_POKOJE::deleteRecord()
{
    runUpdate(DataContext::DeleteRecord);
}

ProcedureWindow *startBrowseLOG_POKOJE(DataContext *context)
{
    return new BrowseLOG_POKOJE(*context);
}
