#pragma once

#include "browsecolumn.h"
#include "browseorder.h"
#include "keyscale.h"
#include "record.h"
#include "store.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

class DataContext;
class FileManager;

// The rows a list shows: one page of its table in the current order, read through the table's
// file manager with keyset page reads (each read starts at the values of a boundary row, never
// at an offset), so that a list over a million rows reads no more than a list over a thousand.
// Only the page is kept; each read is a whole statement of its own, so nothing holds the table
// between pages and the communication service never waits on a list that is only shown.
//
// The order is one of the list's orders (its tabs) or, while a sort header is on, the order of
// one column's field; the range and the filter of the selected order narrow every read.
//
// A read that fails makes the model stop reading: readFailed() is emitted once with the store's
// text and every further read returns false.
class BrowseModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        SelectedForegroundRole = Qt::UserRole + 1,
        SelectedBackgroundRole,
        IndentRole,  // dialog units, from the aligned edge
    };

    // A place in the current order: the values of the leading order fields and, after all of
    // them, the row identity (the order's last tie-break).
    struct Position {
        std::vector<QVariant> values;
        bool hasRowId = false;
        qint64 rowId = 0;
    };

    BrowseModel(DataContext &context, TableId table, QObject *parent = nullptr);

    FileManager &file() const { return *m_file; }
    const TableDef &def() const;

    void setColumns(std::vector<BrowseColumn> columns);
    const std::vector<BrowseColumn> &columns() const { return m_columns; }

    // The orders, the selected one, the sort header, the filter: none of them reads; the
    // caller fills the page afterwards. Selecting an order clears the sort header.
    void setOrders(std::vector<BrowseOrder> orders);
    int orderCount() const { return int(m_orders.size()); }
    int currentOrder() const { return m_order; }
    void setCurrentOrder(int index);
    BrowseOrder &order(int index) { return m_orders[size_t(index)]; }
    void setFilter(std::function<bool(const Record &)> filter) { m_filter = std::move(filter); }
    // Orders by the field of `column` (a column without a field cannot sort); -1 returns to
    // the selected order.
    void setSortColumn(int column);
    int sortColumn() const { return m_sortColumn; }

    // The fields the rows are read in, and the first of them that the range does not fix (the
    // field of the step locator and of the scroll bar's scale).
    const std::vector<int> &orderFields() const { return m_fields; }
    int locatorField() const;
    // Whether `record` passes the filters (the range is the reads' own).
    bool accepts(const Record &record) const;

    void setPageSize(int rows);
    int pageSize() const { return m_pageSize; }

    const std::vector<Record> &rows() const { return m_rows; }
    const Record &rowAt(int index) const { return m_rows[size_t(index)]; }
    int indexOfRowId(qint64 rowId) const;
    // Whether the first row of the order is on the page, and whether the last one is.
    bool atStart() const { return m_atStart; }
    bool atEnd() const { return !m_hasAfter; }

    Position positionOf(const Record &record) const;
    // The place of a step locator's value: the range's fixed values, then `value`.
    Position locatorPosition(const QVariant &value) const;

    // Page reads. Each returns false after a read failure.
    bool fillFirst();
    bool fillLast();
    // Fills the page so that the first row at or after `position` stands at `screenIndex`, or
    // as near to it as the ends of the order allow; `*landed` is that row's index on the page
    // (the last row when no row is at or after the position; -1 on an empty page).
    bool fillAround(const Position &position, int screenIndex, int *landed);
    // Moves the page by `rows` (negative: towards the start); returns how far it moved.
    int scrollBy(int rows);
    // The first accepted row at or after `position` (`*found` false when there is none).
    bool firstAtOrAfter(const Position &position, Record *out, bool *found);
    // Reads the row with the identity `rowId` (`*found` false when it is gone).
    bool fetchRow(qint64 rowId, Record *out, bool *found);
    // Every row of the current order within the range, page by page; with `filtered` only the
    // rows the filters accept. Stops early when `visit` returns false.
    bool forEach(const std::function<bool(const Record &)> &visit, bool filtered);

    // The scale of the scroll bar: read again from the first and the last row of the order.
    bool refreshScale();
    double topFraction() const;
    // An estimate of the rows in the order (for the size of the scroll bar's thumb); 0 unknown.
    qint64 estimatedRows() const;
    bool fillAtFraction(double fraction);

    // Computes the shown cells of the page again (after a change that no read shows, a tag).
    void refreshDisplay();
    // Empties the page without reading.
    void clearRows();

    bool hasFailed() const { return m_failed; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void readFailed(const QString &errorText);

private:
    struct Cell {
        QString text;
        QIcon icon;
        BrowseColumn::Colours colours;
    };

    void resolveOrder();
    PageRequest baseRequest() const;
    // Adds to a positioned read the bound that lets the store seek its index.
    void addSeekBound(PageRequest *request) const;
    // Reads up to `count` accepted rows from `from` (the start or the end of the order when it
    // has no values) in the given direction. `*exhausted` is true when the order ended first.
    bool readRows(const Position &from, bool backwards, bool inclusive, int count, std::vector<Record> *out,
                  bool *exhausted = nullptr);
    void setRows(std::vector<Record> rows);
    std::vector<Cell> cellsOf(const Record &record) const;

    FileManager *m_file;
    TableId m_table;
    std::vector<BrowseColumn> m_columns;
    std::vector<BrowseOrder> m_orders;
    int m_order = 0;
    int m_sortColumn = -1;
    std::function<bool(const Record &)> m_filter;

    // The order as read now.
    std::vector<int> m_fields;
    bool m_optKey = false;
    std::vector<Condition> m_where;
    int m_fixedFields = 0;  // leading order fields the range fixes

    int m_pageSize = 20;
    std::vector<Record> m_rows;
    std::vector<std::vector<Cell>> m_cells;
    bool m_atStart = true;
    bool m_hasAfter = false;
    KeyScale m_scale;
    bool m_failed = false;
};
