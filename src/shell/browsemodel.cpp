#include "browsemodel.h"

#include "datacontext.h"
#include "filemanager.h"

#include <algorithm>

namespace {

// Raw rows read at once while a filter leaves rows out, growing while it keeps refusing.
constexpr int FirstFilteredChunk = 32;
constexpr int LargestFilteredChunk = 1024;
// Rows read at once by forEach().
constexpr int WalkChunk = 500;

} // namespace

BrowseModel::BrowseModel(DataContext &context, TableId table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_file(&context.file(table))
    , m_table(table)
{
    resolveOrder();
}

const TableDef &BrowseModel::def() const
{
    return tableDef(m_table);
}

void BrowseModel::setColumns(std::vector<BrowseColumn> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    m_cells.clear();
    for (const Record &r : m_rows)
        m_cells.push_back(cellsOf(r));
    endResetModel();
}

void BrowseModel::setOrders(std::vector<BrowseOrder> orders)
{
    m_orders = std::move(orders);
    m_order = 0;
    m_sortColumn = -1;
    resolveOrder();
}

void BrowseModel::setCurrentOrder(int index)
{
    m_order = m_orders.empty() ? 0 : std::clamp(index, 0, int(m_orders.size()) - 1);
    m_sortColumn = -1;
    resolveOrder();
}

void BrowseModel::setSortColumn(int column)
{
    const bool sortable = column >= 0 && column < int(m_columns.size()) && m_columns[size_t(column)].field >= 0;
    m_sortColumn = sortable ? column : -1;
    resolveOrder();
}

void BrowseModel::resolveOrder()
{
    const TableDef &d = def();
    m_fields.clear();
    m_where.clear();
    m_optKey = false;
    m_fixedFields = 0;

    std::vector<int> tabFields;
    bool tabOpt = false;
    const BrowseOrder *o = m_orders.empty() ? nullptr : &m_orders[size_t(m_order)];
    if (o && o->key >= 0 && o->key < int(d.keys.size())) {
        tabFields = d.keys[size_t(o->key)].fields;
        tabOpt = d.keys[size_t(o->key)].opt;
    } else if (o) {
        tabFields = o->fields;
        tabOpt = o->optKey;
    } else if (d.primaryKey() >= 0) {
        tabFields = d.keys[size_t(d.primaryKey())].fields;
        tabOpt = d.keys[size_t(d.primaryKey())].opt;
    }
    if (o) {
        const size_t fixed = std::min(o->rangeValues.size(), tabFields.size());
        for (size_t i = 0; i < fixed; ++i)
            m_where.push_back({tabFields[i], Condition::Eq, o->rangeValues[i]});
        m_where.insert(m_where.end(), o->range.begin(), o->range.end());
        m_fixedFields = int(fixed);
    }

    if (m_sortColumn < 0) {
        m_fields = tabFields;
        m_optKey = tabOpt;
        return;
    }
    // A sort header orders by its column's field. An index that starts with the field keeps the
    // reads of a large table quick; its OPT condition is taken only where it cannot leave a row
    // out, that is when the index holds the row identity, which is never zero.
    const int field = m_columns[size_t(m_sortColumn)].field;
    m_fixedFields = 0;
    m_fields = {field};
    auto consider = [&](const KeyDef &k) {
        if (k.fields.empty() || k.fields.front() != field || m_fields.size() > 1)
            return;
        const bool holdsIdentity =
            d.rowIdField >= 0 && std::find(k.fields.begin(), k.fields.end(), d.rowIdField) != k.fields.end();
        if (k.opt && !holdsIdentity)
            return;
        m_fields = k.fields;
        m_optKey = k.opt;
    };
    for (const KeyDef &k : d.keys)
        consider(k);
    for (const KeyDef &k : d.extraKeys)
        consider(k);
}

int BrowseModel::locatorField() const
{
    if (m_fields.empty())
        return -1;
    return m_fields[size_t(std::min(m_fixedFields, int(m_fields.size()) - 1))];
}

bool BrowseModel::accepts(const Record &record) const
{
    if (m_filter && !m_filter(record))
        return false;
    // A sort header keeps the range and the filter of the selected order.
    if (!m_orders.empty()) {
        const BrowseOrder &o = m_orders[size_t(m_order)];
        if (o.filter && !o.filter(record))
            return false;
    }
    return true;
}

void BrowseModel::setPageSize(int rows)
{
    m_pageSize = std::max(1, rows);
}

int BrowseModel::indexOfRowId(qint64 rowId) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].rowId() == rowId)
            return int(i);
    return -1;
}

BrowseModel::Position BrowseModel::positionOf(const Record &record) const
{
    Position p;
    for (int f : m_fields)
        p.values.push_back(record.value(f));
    p.hasRowId = true;
    p.rowId = record.rowId();
    return p;
}

BrowseModel::Position BrowseModel::locatorPosition(const QVariant &value) const
{
    Position p;
    if (m_fixedFields > 0 && !m_orders.empty()) {
        const BrowseOrder &o = m_orders[size_t(m_order)];
        for (int i = 0; i < m_fixedFields; ++i)
            p.values.push_back(o.rangeValues[size_t(i)]);
    }
    if (int(p.values.size()) < int(m_fields.size()))
        p.values.push_back(value);
    return p;
}

PageRequest BrowseModel::baseRequest() const
{
    PageRequest r;
    r.order = m_fields;
    r.optKey = m_optKey && !m_fields.empty();
    r.where = m_where;
    return r;
}

void BrowseModel::addSeekBound(PageRequest *request) const
{
    // SQLite seeks an index by a row value of plain columns, but not by one whose leading term
    // carries a collation (a text key): it would scan the index from its start to every page.
    // The same bound on the first free field alone lets it seek; the row value stays exact.
    request->where.resize(m_where.size());
    const size_t field = size_t(m_fixedFields);
    if (request->from.size() <= field || field >= m_fields.size())
        return;
    request->where.push_back({m_fields[field], request->backwards ? Condition::Le : Condition::Ge,
                              request->from[field]});
}

bool BrowseModel::readRows(const Position &from, bool backwards, bool inclusive, int count, std::vector<Record> *out,
                           bool *exhausted)
{
    out->clear();
    if (exhausted)
        *exhausted = false;
    if (m_failed)
        return false;
    if (count <= 0)
        return true;
    PageRequest req = baseRequest();
    req.backwards = backwards;
    req.inclusive = inclusive;
    req.from = from.values;
    req.hasRowId = from.hasRowId && from.values.size() >= m_fields.size();
    req.fromRowId = from.rowId;
    addSeekBound(&req);
    const bool filtered = m_filter || (!m_orders.empty() && m_orders[size_t(m_order)].filter);
    int chunk = filtered ? std::max(count, FirstFilteredChunk) : count;
    for (;;) {
        req.limit = chunk;
        std::vector<Record> raw;
        const OpResult r = m_file->readPage(req, &raw);
        if (!r.ok()) {
            out->clear();
            if (!m_failed) {
                m_failed = true;
                emit readFailed(r.text);
            }
            return false;
        }
        // Where the next chunk starts, taken before the rows are moved out of `raw`.
        const Position next = raw.empty() ? Position() : positionOf(raw.back());
        for (Record &rec : raw) {
            if (filtered && !accepts(rec))
                continue;
            out->push_back(std::move(rec));
            if (int(out->size()) == count)
                return true;
        }
        if (int(raw.size()) < chunk) {
            if (exhausted)
                *exhausted = true;
            return true;
        }
        // The filter left rows out: go on after the last row read.
        req.from = next.values;
        req.hasRowId = true;
        req.fromRowId = next.rowId;
        req.inclusive = false;
        addSeekBound(&req);
        chunk = std::min(chunk * 2, std::max(LargestFilteredChunk, count));
    }
}

bool BrowseModel::fillFirst()
{
    std::vector<Record> rows;
    if (!readRows({}, false, true, m_pageSize + 1, &rows))
        return false;
    m_hasAfter = int(rows.size()) > m_pageSize;
    if (m_hasAfter)
        rows.resize(size_t(m_pageSize));
    m_atStart = true;
    setRows(std::move(rows));
    return true;
}

bool BrowseModel::fillLast()
{
    std::vector<Record> rows;
    if (!readRows({}, true, true, m_pageSize + 1, &rows))
        return false;
    m_atStart = int(rows.size()) <= m_pageSize;
    if (!m_atStart)
        rows.resize(size_t(m_pageSize));
    std::reverse(rows.begin(), rows.end());
    m_hasAfter = false;
    setRows(std::move(rows));
    return true;
}

bool BrowseModel::fillAround(const Position &position, int screenIndex, int *landed)
{
    if (landed)
        *landed = -1;
    screenIndex = std::clamp(screenIndex, 0, m_pageSize - 1);
    std::vector<Record> before;  // nearest first
    if (!readRows(position, true, false, screenIndex + 1, &before))
        return false;
    bool moreBefore = int(before.size()) > screenIndex;
    if (moreBefore)
        before.resize(size_t(screenIndex));
    const int need = m_pageSize - int(before.size());
    std::vector<Record> after;
    if (!readRows(position, false, true, need + 1, &after))
        return false;
    m_hasAfter = int(after.size()) > need;
    if (m_hasAfter)
        after.resize(size_t(need));
    const int total = int(before.size() + after.size());
    if (!m_hasAfter && total < m_pageSize && moreBefore) {
        // The order ends below the place: the page shows more of the rows above it.
        const int more = m_pageSize - total;
        std::vector<Record> extra;
        const Position from = before.empty() ? position : positionOf(before.back());
        if (!readRows(from, true, false, more + 1, &extra))
            return false;
        moreBefore = int(extra.size()) > more;
        if (moreBefore)
            extra.resize(size_t(more));
        before.insert(before.end(), std::make_move_iterator(extra.begin()), std::make_move_iterator(extra.end()));
    }
    m_atStart = !moreBefore;
    const int landing = after.empty() ? int(before.size()) - 1 : int(before.size());
    std::vector<Record> rows(std::make_move_iterator(before.rbegin()), std::make_move_iterator(before.rend()));
    rows.insert(rows.end(), std::make_move_iterator(after.begin()), std::make_move_iterator(after.end()));
    setRows(std::move(rows));
    if (landed)
        *landed = landing;
    return true;
}

int BrowseModel::scrollBy(int rows)
{
    if (m_rows.empty() || rows == 0)
        return 0;
    if (rows > 0) {
        if (!m_hasAfter)
            return 0;
        std::vector<Record> extra;
        if (!readRows(positionOf(m_rows.back()), false, false, rows + 1, &extra))
            return 0;
        m_hasAfter = int(extra.size()) > rows;
        if (m_hasAfter)
            extra.resize(size_t(rows));
        std::vector<Record> next = m_rows;
        next.insert(next.end(), std::make_move_iterator(extra.begin()), std::make_move_iterator(extra.end()));
        const int drop = std::max(0, int(next.size()) - m_pageSize);
        next.erase(next.begin(), next.begin() + drop);
        if (drop > 0)
            m_atStart = false;
        setRows(std::move(next));
        return drop;
    }
    if (m_atStart)
        return 0;
    const int want = -rows;
    std::vector<Record> extra;  // nearest first
    if (!readRows(positionOf(m_rows.front()), true, false, want + 1, &extra))
        return 0;
    m_atStart = int(extra.size()) <= want;
    if (!m_atStart)
        extra.resize(size_t(want));
    std::vector<Record> next(std::make_move_iterator(extra.rbegin()), std::make_move_iterator(extra.rend()));
    next.insert(next.end(), m_rows.begin(), m_rows.end());
    const int drop = std::max(0, int(next.size()) - m_pageSize);
    next.resize(next.size() - size_t(drop));
    if (drop > 0)
        m_hasAfter = true;
    const int moved = int(extra.size());
    setRows(std::move(next));
    return -moved;
}

bool BrowseModel::firstAtOrAfter(const Position &position, Record *out, bool *found)
{
    std::vector<Record> rows;
    *found = false;
    if (!readRows(position, false, true, 1, &rows))
        return false;
    if (!rows.empty()) {
        *out = rows.front();
        *found = true;
    }
    return true;
}

bool BrowseModel::fetchRow(qint64 rowId, Record *out, bool *found)
{
    *found = false;
    if (m_failed)
        return false;
    if (rowId == 0)
        return true;
    StoreResult r;
    if (!m_file->use())
        r = {StoreStatus::Error, QStringLiteral("table not available")};
    else
        r = m_file->store().readByRowId(m_table, rowId, out);
    if (r.ok()) {
        *found = true;
        return true;
    }
    if (r.status == StoreStatus::NotFound)
        return true;
    m_failed = true;
    emit readFailed(r.text);
    return false;
}

bool BrowseModel::forEach(const std::function<bool(const Record &)> &visit, bool filtered)
{
    if (m_failed)
        return false;
    PageRequest req = baseRequest();
    req.limit = WalkChunk;
    for (;;) {
        std::vector<Record> raw;
        const OpResult r = m_file->readPage(req, &raw);
        if (!r.ok()) {
            m_failed = true;
            emit readFailed(r.text);
            return false;
        }
        for (const Record &rec : raw)
            if ((!filtered || accepts(rec)) && !visit(rec))
                return true;
        if (int(raw.size()) < WalkChunk)
            return true;
        const Position next = positionOf(raw.back());
        req.from = next.values;
        req.hasRowId = true;
        req.fromRowId = next.rowId;
        req.inclusive = false;
        addSeekBound(&req);
    }
}

bool BrowseModel::refreshScale()
{
    m_scale = KeyScale();
    const int field = locatorField();
    const KeyScale::Kind kind = KeyScale::kindFor(def(), field);
    if (kind == KeyScale::Kind::None)
        return !m_failed;
    std::vector<Record> first, last;
    if (!readRows({}, false, true, 1, &first) || !readRows({}, true, true, 1, &last))
        return false;
    if (!first.empty() && !last.empty())
        m_scale = KeyScale(kind, first.front().value(field), last.front().value(field));
    return true;
}

double BrowseModel::topFraction() const
{
    if (m_rows.empty() || m_atStart)
        return 0;
    if (!m_hasAfter)
        return 1;
    return m_scale.fraction(m_rows.front().value(locatorField()));
}

qint64 BrowseModel::estimatedRows() const
{
    if (m_scale.kind() != KeyScale::Kind::Number || !m_scale.isValid())
        return 0;
    return qint64(m_scale.valueAt(1).toLongLong() - m_scale.valueAt(0).toLongLong()) + 1;
}

bool BrowseModel::fillAtFraction(double fraction)
{
    if (fraction <= 0)
        return fillFirst();
    if (fraction >= 1)
        return fillLast();
    if (!m_scale.isValid())
        return fraction < 0.5 ? fillFirst() : fillLast();
    return fillAround(locatorPosition(m_scale.valueAt(fraction)), 0, nullptr);
}

void BrowseModel::refreshDisplay()
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_cells[i] = cellsOf(m_rows[i]);
    if (!m_rows.empty() && !m_columns.empty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, int(m_columns.size()) - 1));
}

void BrowseModel::clearRows()
{
    m_atStart = true;
    m_hasAfter = false;
    setRows({});
}

void BrowseModel::setRows(std::vector<Record> rows)
{
    std::vector<std::vector<Cell>> cells;
    cells.reserve(rows.size());
    for (const Record &r : rows)
        cells.push_back(cellsOf(r));
    const int oldCount = int(m_rows.size());
    const int newCount = int(rows.size());
    // Rows are taken away or added at the end only, so the view keeps its header and columns.
    if (newCount < oldCount) {
        beginRemoveRows(QModelIndex(), newCount, oldCount - 1);
        m_rows = std::move(rows);
        m_cells = std::move(cells);
        endRemoveRows();
    } else if (newCount > oldCount) {
        beginInsertRows(QModelIndex(), oldCount, newCount - 1);
        m_rows = std::move(rows);
        m_cells = std::move(cells);
        endInsertRows();
    } else {
        m_rows = std::move(rows);
        m_cells = std::move(cells);
    }
    if (newCount > 0 && !m_columns.empty())
        emit dataChanged(index(0, 0), index(newCount - 1, int(m_columns.size()) - 1));
}

std::vector<BrowseModel::Cell> BrowseModel::cellsOf(const Record &record) const
{
    std::vector<Cell> cells;
    cells.reserve(m_columns.size());
    for (const BrowseColumn &c : m_columns) {
        Cell cell;
        const QVariant v = c.valueOf(record);
        cell.text = c.picture.isValid() ? c.picture.format(v) : v.toString();
        if (c.icon)
            cell.icon = c.icon(record);
        if (c.colours)
            cell.colours = c.colours(record);
        cells.push_back(std::move(cell));
    }
    return cells;
}

int BrowseModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int BrowseModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant BrowseModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_cells.size()) || index.column() >= int(m_columns.size()))
        return {};
    const Cell &cell = m_cells[size_t(index.row())][size_t(index.column())];
    const BrowseColumn &column = m_columns[size_t(index.column())];
    auto colour = [](const QColor &c) { return c.isValid() ? QVariant(c) : QVariant(); };
    switch (role) {
    case Qt::DisplayRole:
        return cell.text;
    case Qt::DecorationRole:
        return cell.icon.isNull() ? QVariant() : QVariant(cell.icon);
    case Qt::TextAlignmentRole:
        return QVariant(int(column.alignment | Qt::AlignVCenter));
    case Qt::ForegroundRole:
        return colour(cell.colours.foreground);
    case Qt::BackgroundRole:
        return colour(cell.colours.background);
    case SelectedForegroundRole:
        return colour(cell.colours.selectedForeground);
    case SelectedBackgroundRole:
        return colour(cell.colours.selectedBackground);
    case IndentRole:
        return column.indentDu;
    default:
        return {};
    }
}

QVariant BrowseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_columns.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    const BrowseColumn &column = m_columns[size_t(section)];
    if (role == Qt::DisplayRole)
        return column.header;
    if (role == Qt::TextAlignmentRole)
        return QVariant(int(column.headerAlignment | Qt::AlignVCenter));
    return {};
}
