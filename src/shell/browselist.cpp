#include "browselist.h"

#include "browsedelegate.h"
#include "browsemodel.h"
#include "czechcollation.h"
#include "datacontext.h"
#include "errorreporter.h"
#include "filemanager.h"
#include "procedurewindow.h"
#include "recordform.h"
#include "sqlitestore.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Positions of the scroll bar: the thumb stands at the top row's share of the order.
constexpr int ScrollRange = 1000;
// Rows one notch of the wheel scrolls.
constexpr int WheelRows = 3;
// The most digits a numeric step locator collects (a LONG has ten).
constexpr int MostLocatorDigits = 18;

} // namespace

BrowseList::BrowseList(DataContext &context, TableId table, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_table(table)
    , m_model(new BrowseModel(context, table, this))
    , m_view(new QTableView(this))
    , m_scroll(new QScrollBar(Qt::Vertical, this))
{
    m_view->setModel(m_model);
    m_view->setItemDelegate(new BrowseDelegate(m_view));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The view shows exactly the page; the list scrolls by reading, never the view by itself.
    m_view->setAutoScroll(false);
    m_view->setTabKeyNavigation(false);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *header = m_view->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setMinimumSectionSize(2);
    // Every right-button event reaches the list: a release over a row selects it first.
    m_view->setContextMenuPolicy(Qt::PreventContextMenu);
    m_view->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);

    m_scroll->setRange(0, 0);
    m_scroll->setSingleStep(1);
    m_scroll->setEnabled(false);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_scroll);
    setFocusProxy(m_view);
    m_view->verticalHeader()->setDefaultSectionSize(rowHeightPx());

    connect(m_model, &BrowseModel::readFailed, this, &BrowseList::onReadFailed);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_syncing || !current.isValid() || current.row() >= int(m_model->rows().size()))
                    return;
                setCurrent(m_model->rowAt(current.row()));
                m_currentLine = current.row();
            });
    connect(header, &QHeaderView::sectionClicked, this, &BrowseList::onSectionClicked);
    connect(m_scroll, &QScrollBar::actionTriggered, this, &BrowseList::onScrollAction);
    connect(m_scroll, &QScrollBar::sliderMoved, this, &BrowseList::onSliderMoved);
    connect(m_scroll, &QScrollBar::sliderReleased, this, &BrowseList::updateScrollBar);
}

BrowseList::~BrowseList() = default;

FileManager &BrowseList::file() const
{
    return m_context.file(m_table);
}

int BrowseList::duX(int du) const
{
    return (du * fontMetrics().averageCharWidth() + 2) / 4;
}

int BrowseList::rowHeightPx() const
{
    const QFontMetrics fm = m_view->fontMetrics();
    if (m_rowHeightDu > 0)
        return std::max(4, (m_rowHeightDu * fm.height() + 4) / 8);
    return fm.height() + 4;
}

void BrowseList::setColumns(std::vector<BrowseColumn> columns)
{
    m_model->setColumns(std::move(columns));
    applyColumns();
    syncView();
}

void BrowseList::applyColumns()
{
    QHeaderView *header = m_view->horizontalHeader();
    const auto &columns = m_model->columns();
    for (int i = 0; i < int(columns.size()); ++i) {
        header->setSectionResizeMode(i, columns[size_t(i)].resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
        header->resizeSection(i, duX(columns[size_t(i)].widthDu));
    }
}

void BrowseList::setOrders(std::vector<BrowseOrder> orders)
{
    m_model->setOrders(std::move(orders));
    m_view->horizontalHeader()->setSortIndicatorShown(false);
}

int BrowseList::orderCount() const
{
    return m_model->orderCount();
}

int BrowseList::currentOrder() const
{
    return m_model->currentOrder();
}

void BrowseList::setRange(int order, std::vector<QVariant> values, std::vector<Condition> conditions)
{
    if (order < 0 || order >= m_model->orderCount())
        return;
    BrowseOrder &o = m_model->order(order);
    o.rangeValues = std::move(values);
    o.range = std::move(conditions);
    const int sort = m_model->sortColumn();
    if (order == m_model->currentOrder()) {
        m_model->setCurrentOrder(order);
        m_model->setSortColumn(sort);
    }
}

void BrowseList::setOrderFilter(int order, std::function<bool(const Record &)> filter)
{
    if (order >= 0 && order < m_model->orderCount())
        m_model->order(order).filter = std::move(filter);
}

void BrowseList::setFilter(std::function<bool(const Record &)> filter)
{
    m_model->setFilter(std::move(filter));
}

void BrowseList::setSortHeaders(bool on)
{
    m_sortHeaders = on;
    m_view->horizontalHeader()->setSectionsClickable(on);
    if (!on && m_model->sortColumn() >= 0)
        clearSort();
}

void BrowseList::setRowHeightDu(int du)
{
    m_rowHeightDu = std::max(0, du);
    m_view->verticalHeader()->setMinimumSectionSize(1);
    m_view->verticalHeader()->setDefaultSectionSize(rowHeightPx());
    updatePageSize();
}

void BrowseList::setOrder(int index)
{
    m_model->setCurrentOrder(index);
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    if (m_filled)
        refill();
}

void BrowseList::sortByColumn(int column)
{
    if (column < 0 || column == m_model->sortColumn()) {
        clearSort();
        return;
    }
    m_model->setSortColumn(column);
    QHeaderView *header = m_view->horizontalHeader();
    header->setSortIndicatorShown(m_model->sortColumn() >= 0);
    if (m_model->sortColumn() >= 0)
        header->setSortIndicator(column, Qt::AscendingOrder);
    if (m_filled)
        refill();
}

void BrowseList::clearSort()
{
    const bool wasSorted = m_model->sortColumn() >= 0;
    m_model->setSortColumn(-1);
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    if (wasSorted && m_filled)
        refill();
}

int BrowseList::sortColumn() const
{
    return m_model->sortColumn();
}

void BrowseList::onSectionClicked(int section)
{
    if (!m_sortHeaders)
        return;
    const auto &columns = m_model->columns();
    if (section >= 0 && section < int(columns.size()) && columns[size_t(section)].field < 0 &&
        section != m_model->sortColumn()) {
        // A computed column cannot order the table: the header only shows the order as it is.
        QHeaderView *header = m_view->horizontalHeader();
        header->setSortIndicatorShown(m_model->sortColumn() >= 0);
        if (m_model->sortColumn() >= 0)
            header->setSortIndicator(m_model->sortColumn(), Qt::AscendingOrder);
        return;
    }
    sortByColumn(section);
}

void BrowseList::updatePageSize()
{
    const int rows = std::max(1, m_view->viewport()->height() / std::max(1, rowHeightPx()));
    if (rows == m_model->pageSize())
        return;
    m_model->setPageSize(rows);
    if (!m_filled || m_model->hasFailed())
        return;
    int landed = -1;
    const int line = currentIndex();
    if (line >= 0) {
        m_currentLine = std::min(line, rows - 1);
        m_model->fillAround(m_model->positionOf(m_current), m_currentLine, &landed);
    } else if (!m_model->rows().empty()) {
        m_model->fillAround(m_model->positionOf(m_model->rowAt(0)), 0, &landed);
    }
    syncView();
}

void BrowseList::fill()
{
    m_filled = true;
    if (m_model->hasFailed())
        return;
    updatePageSize();
    if (!m_model->refreshScale() || !m_model->fillFirst())
        return;
    m_currentLine = 0;
    setCurrent(m_model->rows().empty() ? Record() : m_model->rowAt(0));
    syncView();
    emit refilled();
}

void BrowseList::refill()
{
    if (!m_filled || !hasCurrent()) {
        fill();
        return;
    }
    if (m_model->hasFailed() || !m_model->refreshScale())
        return;
    reposition(m_current);
    emit refilled();
}

void BrowseList::reposition(const Record &around)
{
    if (around.rowId() == 0) {
        fill();
        return;
    }
    Record now;
    bool found = false;
    if (!m_model->fetchRow(around.rowId(), &now, &found))
        return;
    // A row changed elsewhere is looked for at its new place; a row that is gone, at its old one.
    int landed = -1;
    if (!m_model->fillAround(m_model->positionOf(found ? now : around), m_currentLine, &landed))
        return;
    setCurrent(landed >= 0 ? m_model->rowAt(landed) : Record());
    syncView();
}

bool BrowseList::selectRowId(qint64 rowId)
{
    updatePageSize();
    m_filled = true;
    if (m_model->hasFailed())
        return false;
    Record rec;
    bool found = false;
    if (!m_model->fetchRow(rowId, &rec, &found) || !m_model->refreshScale())
        return false;
    if (!found) {
        refill();
        return false;
    }
    int landed = -1;
    if (!m_model->fillAround(m_model->positionOf(rec), m_currentLine, &landed))
        return false;
    setCurrent(landed >= 0 ? m_model->rowAt(landed) : Record());
    syncView();
    emit refilled();
    return landed >= 0 && m_model->rowAt(landed).rowId() == rowId;
}

bool BrowseList::isEmpty() const
{
    return m_model->rows().empty();
}

void BrowseList::refreshDisplay()
{
    m_model->refreshDisplay();
}

int BrowseList::currentIndex() const
{
    return hasCurrent() ? m_model->indexOfRowId(m_current.rowId()) : -1;
}

void BrowseList::setCurrent(const Record &record)
{
    const bool changed =
        record.rowId() != m_current.rowId() || (record.rowId() != 0 && !record.sameValues(m_current));
    m_current = record;
    if (changed)
        emit currentChanged(m_current);
}

void BrowseList::syncView()
{
    m_syncing = true;
    QItemSelectionModel *sel = m_view->selectionModel();
    const int row = currentIndex();
    if (row >= 0) {
        m_currentLine = row;
        const int column = std::max(0, m_view->currentIndex().column());
        sel->setCurrentIndex(m_model->index(row, std::min(column, std::max(0, m_model->columnCount() - 1))),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        sel->clearSelection();
        sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_view->verticalScrollBar()->setValue(0);
    m_syncing = false;
    updateScrollBar();
}

void BrowseList::updateScrollBar()
{
    const bool everything = m_model->atStart() && m_model->atEnd();
    QSignalBlocker block(m_scroll);
    m_scroll->setEnabled(!everything);
    m_scroll->setRange(0, everything ? 0 : ScrollRange);
    const qint64 rows = m_model->estimatedRows();
    const int step =
        rows > 0 ? int(std::clamp<qint64>(qint64(ScrollRange) * m_model->pageSize() / rows, 1, ScrollRange)) : 100;
    m_scroll->setPageStep(step);
    if (!m_scroll->isSliderDown())
        m_scroll->setValue(int(std::lround(m_model->topFraction() * (everything ? 0 : ScrollRange))));
}

bool BrowseList::ensureCurrentVisible()
{
    if (!hasCurrent() || currentIndex() >= 0)
        return !m_model->hasFailed();
    reposition(m_current);
    return !m_model->hasFailed() && currentIndex() >= 0;
}

void BrowseList::moveBy(int rows)
{
    if (!m_filled || m_model->hasFailed() || m_model->rows().empty() || rows == 0)
        return;
    if (!hasCurrent() || !ensureCurrentVisible()) {
        if (!m_model->hasFailed() && !m_model->rows().empty()) {
            setCurrent(m_model->rowAt(0));
            syncView();
        }
        return;
    }
    const int index = currentIndex();
    int target = index + rows;
    const int last = int(m_model->rows().size()) - 1;
    if (target < 0) {
        const int moved = -m_model->scrollBy(target);
        target = std::max(0, target + moved);
    } else if (target > last) {
        const int moved = m_model->scrollBy(target - last);
        target = std::min(int(m_model->rows().size()) - 1, target - moved);
    }
    if (m_model->hasFailed() || m_model->rows().empty())
        return;
    setCurrent(m_model->rowAt(target));
    syncView();
}

void BrowseList::pageDown()
{
    if (!m_filled || m_model->hasFailed() || m_model->rows().empty())
        return;
    if (!hasCurrent() || !ensureCurrentVisible())
        return moveBy(1);
    const int page = m_model->pageSize();
    const int index = currentIndex();
    // The page moves on and the selection keeps its line; at the end the selection goes on alone.
    const int moved = m_model->scrollBy(page);
    if (m_model->hasFailed())
        return;
    const int target = std::min(int(m_model->rows().size()) - 1, index + page - moved);
    setCurrent(m_model->rowAt(target));
    syncView();
}

void BrowseList::pageUp()
{
    if (!m_filled || m_model->hasFailed() || m_model->rows().empty())
        return;
    if (!hasCurrent() || !ensureCurrentVisible())
        return moveBy(-1);
    const int page = m_model->pageSize();
    const int index = currentIndex();
    const int moved = -m_model->scrollBy(-page);
    if (m_model->hasFailed())
        return;
    const int target = std::max(0, index - (page - moved));
    setCurrent(m_model->rowAt(std::min(target, int(m_model->rows().size()) - 1)));
    syncView();
}

void BrowseList::goFirst()
{
    if (!m_filled || m_model->hasFailed() || !m_model->fillFirst())
        return;
    setCurrent(m_model->rows().empty() ? Record() : m_model->rowAt(0));
    syncView();
}

void BrowseList::goLast()
{
    if (!m_filled || m_model->hasFailed() || !m_model->fillLast())
        return;
    setCurrent(m_model->rows().empty() ? Record() : m_model->rows().back());
    syncView();
}

void BrowseList::scrollRows(int rows)
{
    if (!m_filled || m_model->hasFailed())
        return;
    m_model->scrollBy(rows);
    syncView();
}

void BrowseList::locate(const QString &typed)
{
    if (!m_filled || m_model->hasFailed() || typed.isEmpty())
        return;
    const int field = m_model->locatorField();
    if (field < 0)
        return;
    const TableDef &def = m_model->def();
    const FieldDef &fd = def.fields[size_t(field)];
    QVariant value;
    if (fd.isText()) {
        m_locatorDigits.clear();
        QChar c = typed.at(0);
        if (std::strcmp(SqliteStore::collationFor(def, field), CzechCollation::name) == 0) {
            // Czech order: a letter with an accent that is no letter of its own is its base
            // letter, so the first row "at or after" it is the first row that starts with either.
            c = c.toLower();
            const QString own = QStringLiteral("čřšž");
            const QString d = c.decomposition();
            if (!own.contains(c) && !d.isEmpty() && d.at(0) >= QLatin1Char('a') && d.at(0) <= QLatin1Char('z'))
                c = d.at(0);
        } else {
            // Keys that ignore letter case compare the character as upper case.
            c = c.toUpper();
        }
        value = QString(c);
    } else {
        if (!typed.at(0).isDigit()) {
            m_locatorDigits.clear();
            return;
        }
        if (!m_locatorClock.isValid() || m_locatorClock.elapsed() > QApplication::keyboardInputInterval())
            m_locatorDigits.clear();
        m_locatorClock.restart();
        if (m_locatorDigits.size() < MostLocatorDigits)
            m_locatorDigits += typed.at(0);
        qint64 v = m_locatorDigits.toLongLong();
        for (int i = 0; i < fd.decimals; ++i)
            v *= 10;
        value = QVariant::fromValue<qint64>(v);
    }
    Record target;
    bool found = false;
    if (!m_model->firstAtOrAfter(m_model->locatorPosition(value), &target, &found))
        return;
    if (!found) {
        // Typed after every row: the last row is the nearest.
        goLast();
        return;
    }
    int index = m_model->indexOfRowId(target.rowId());
    if (index < 0) {
        if (!m_model->fillAround(m_model->positionOf(target), 0, &index) || index < 0)
            return;
    }
    setCurrent(m_model->rowAt(index));
    syncView();
}

void BrowseList::onScrollAction(int action)
{
    if (!m_filled || m_model->hasFailed())
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        m_model->scrollBy(1);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        m_model->scrollBy(-1);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        m_model->scrollBy(m_model->pageSize());
        break;
    case QAbstractSlider::SliderPageStepSub:
        m_model->scrollBy(-m_model->pageSize());
        break;
    case QAbstractSlider::SliderToMinimum:
        m_model->fillFirst();
        break;
    case QAbstractSlider::SliderToMaximum:
        m_model->fillLast();
        break;
    default:
        return;  // a drag is placed by sliderMoved
    }
    syncView();
    m_scroll->setSliderPosition(m_scroll->value());
}

void BrowseList::onSliderMoved(int value)
{
    if (!m_filled || m_model->hasFailed())
        return;
    m_model->fillAtFraction(double(value) / ScrollRange);
    syncView();
}

void BrowseList::setActions(const Actions &actions)
{
    m_actions = actions;
}

QAction *BrowseList::addMenuItem(const QString &text, std::function<void()> triggered)
{
    auto *action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [triggered] {
        if (triggered)
            triggered();
    });
    m_extraItems.push_back(action);
    return action;
}

void BrowseList::addMenuSeparator()
{
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    m_extraItems.push_back(separator);
}

QMenu *BrowseList::showPopupMenu(const QPoint &globalPos)
{
    if (!m_menu)
        m_menu = new QMenu(this);
    m_menu->clear();
    auto add = [this](const QString &text, std::function<void()> Actions::*member, bool needsRow) {
        if (!(m_actions.*member))
            return;
        QAction *a = m_menu->addAction(text);
        a->setEnabled(!needsRow || hasCurrent());
        connect(a, &QAction::triggered, this, [this, member, needsRow] { trigger(m_actions.*member, needsRow); });
    };
    add(QStringLiteral("&Vlož"), &Actions::insert, false);
    add(QStringLiteral("&Edituj"), &Actions::change, true);
    add(QStringLiteral("&Smaž"), &Actions::remove, true);
    add(QStringLiteral("&Zobraz"), &Actions::view, true);
    add(QStringLiteral("&Tisk"), &Actions::print, false);
    for (QAction *a : m_extraItems)
        m_menu->addAction(a);
    if (!m_menu->isEmpty())
        m_menu->popup(globalPos);
    return m_menu;
}

void BrowseList::trigger(const std::function<void()> &action, bool needsRow)
{
    if (!action || (needsRow && !hasCurrent()))
        return;
    // Copied: the action may change the list's actions while it runs.
    const std::function<void()> run = action;
    run();
}

bool BrowseList::handleKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        moveBy(-1);
        return true;
    case Qt::Key_Down:
        moveBy(1);
        return true;
    case Qt::Key_PageUp:
        pageUp();
        return true;
    case Qt::Key_PageDown:
        pageDown();
        return true;
    case Qt::Key_Home:
        goFirst();
        return true;
    case Qt::Key_End:
        goLast();
        return true;
    case Qt::Key_Insert:
        if (mods != Qt::NoModifier || !m_actions.insert)
            return false;
        trigger(m_actions.insert, false);
        return true;
    case Qt::Key_Delete:
        if (mods != Qt::NoModifier || !m_actions.remove)
            return false;
        trigger(m_actions.remove, true);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods == Qt::ControlModifier && m_actions.change) {
            trigger(m_actions.change, true);
            return true;
        }
        if (mods == Qt::ShiftModifier && m_actions.view) {
            trigger(m_actions.view, true);
            return true;
        }
        return false;
    case Qt::Key_Menu: {
        const int row = currentIndex();
        const QRect r = row >= 0 ? m_view->visualRect(m_model->index(row, 0)) : QRect();
        showPopupMenu(m_view->viewport()->mapToGlobal(r.isValid() ? r.bottomLeft() : QPoint(0, 0)));
        return true;
    }
    default:
        break;
    }
    // Every other printable key goes to the locator.
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    locate(text);
    return true;
}

bool BrowseList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        if (event->type() == QEvent::KeyPress)
            return handleKey(static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::ContextMenu)
            return true;
        return QWidget::eventFilter(watched, event);
    }
    if (watched != m_view->viewport())
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::Resize:
        updatePageSize();
        break;
    case QEvent::MouseButtonPress: {
        auto *me = static_cast<QMouseEvent *>(event);
        const int row = m_view->rowAt(me->position().toPoint().y());
        const bool onRow = row >= 0 && row < int(m_model->rows().size());
        if (me->button() == Qt::RightButton)
            return true;  // selection waits for the release
        if (me->button() != Qt::LeftButton)
            return false;
        if (!onRow)
            return true;
        setCurrent(m_model->rowAt(row));
        syncView();
        emit cellPressed(m_view->columnAt(me->position().toPoint().x()), m_current);
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::RightButton)
            return false;
        const int row = m_view->rowAt(me->position().toPoint().y());
        if (row >= 0 && row < int(m_model->rows().size())) {
            setCurrent(m_model->rowAt(row));
            syncView();
        }
        showPopupMenu(me->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            return true;
        const int row = m_view->rowAt(me->position().toPoint().y());
        if (row >= 0 && row < int(m_model->rows().size())) {
            setCurrent(m_model->rowAt(row));
            syncView();
            trigger(m_actions.change, true);
        }
        return true;
    }
    case QEvent::Wheel: {
        auto *we = static_cast<QWheelEvent *>(event);
        const int notches = we->angleDelta().y() / 120;
        if (notches != 0)
            scrollRows(-notches * WheelRows);
        return true;
    }
    case QEvent::ContextMenu:
        return true;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void BrowseList::runForm(ProcedureWindow *owner, quint8 request, const FormFactory &factory,
                         std::function<void(quint8)> done)
{
    auto answer = [done](quint8 response) {
        if (done)
            done(response);
    };
    // A list opened for viewing starts no form.
    if (!owner || owner->request() == DataContext::ViewRecord) {
        answer(DataContext::RequestCancelled);
        return;
    }
    if (request != DataContext::InsertRecord) {
        if (!hasCurrent()) {
            answer(DataContext::RequestCancelled);
            return;
        }
        // The form works on the record buffer: it gets the selected row as the table holds it.
        if (!file().fetchRow(currentRowId())) {
            refill();
            answer(DataContext::RequestCancelled);
            return;
        }
    }
    m_context.globalRequest = request;
    ProcedureWindow *form = factory ? factory(m_context) : nullptr;
    if (!form) {
        m_context.globalRequest = DataContext::NoRequest;
        answer(DataContext::RequestCancelled);
        return;
    }
    QPointer<BrowseList> self(this);
    QPointer<ProcedureWindow> running(form);
    owner->runChild(form, [self, running, request, answer](quint8 childResponse) {
        quint8 response = childResponse;
        if (self) {
            // The form's response, as it left it in the context.
            response = self->m_context.globalResponse;
            // The record the form saved: a record form says so; any other form leaves it in
            // the table's buffer.
            qint64 saved = 0;
            if (auto *recordForm = qobject_cast<RecordForm *>(running.data()))
                saved = recordForm->savedRowId();
            if (saved == 0)
                saved = self->file().record().rowId();
            self->afterForm(request, response, saved);
        }
        answer(response);
    });
}

void BrowseList::afterForm(quint8 request, quint8 response, qint64 savedRowId)
{
    if (response == DataContext::RequestCompleted && savedRowId != 0 &&
        (request == DataContext::InsertRecord || request == DataContext::ChangeRecord) && selectRowId(savedRowId))
        return;
    refill();
}

bool BrowseList::forEachRecord(const std::function<bool(const Record &)> &visit, bool filtered)
{
    return m_model->forEach(visit, filtered);
}

void BrowseList::onReadFailed(const QString &errorText)
{
    if (!m_reported) {
        m_reported = true;
        MessageArgs args;
        args.file = QString::fromLatin1(m_model->def().externalName);
        args.errorText = errorText;
        reportMessage(MessageId::ReadFailed, args);
    }
    // The rows go and the window is told once the read that failed has returned.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_model->clearRows();
            setCurrent(Record());
            syncView();
            emit readFailed();
        },
        Qt::QueuedConnection);
}
