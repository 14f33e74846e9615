#pragma once

#include "browsecolumn.h"
#include "browseorder.h"
#include "record.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class BrowseModel;
class DataContext;
class FileManager;
class ProcedureWindow;
class QAction;
class QMenu;
class QScrollBar;
class QTableView;

// The list of every window of the program: one table of the window's data context shown
// through one of its orders (the window's tabs choose it with setOrder()), narrowed by the
// order's range and filter, with a step locator, optional sort headers, per-cell colours and
// icons, the record keys and the pop-up menu of every list, and the start of the forms.
//
// The list shows only the rows that fit, read page by page from the row at its top (see
// BrowseModel); its scroll bar is its own and places its thumb by the key value of the top
// row. The selected row is kept by its row identity, also while it is scrolled out of sight.
//
// A read that fails is reported as "Chyba při čtení databáze" and readFailed() is emitted
// (queued); the window connects it to closing itself.
class BrowseList : public QWidget
{
    Q_OBJECT

public:
    // The record actions the window offers; an action that is not set has no key and no item.
    struct Actions {
        std::function<void()> insert;
        std::function<void()> change;
        std::function<void()> remove;
        std::function<void()> view;
        std::function<void()> print;
    };

    // Makes the form of a request; the form's constructor takes the request from the context.
    using FormFactory = std::function<ProcedureWindow *(DataContext &context)>;

    BrowseList(DataContext &context, TableId table, QWidget *parent = nullptr);
    ~BrowseList() override;

    DataContext &context() const { return m_context; }
    TableId table() const { return m_table; }
    FileManager &file() const;
    BrowseModel *model() const { return m_model; }
    QTableView *view() const { return m_view; }
    QScrollBar *scrollBar() const { return m_scroll; }

    // --- What the list shows. None of these reads; fill() or refill() does.
    void setColumns(std::vector<BrowseColumn> columns);
    void setOrders(std::vector<BrowseOrder> orders);
    int orderCount() const;
    int currentOrder() const;
    // Changes the range or the filter of an order (the person whose rows a list shows).
    void setRange(int order, std::vector<QVariant> values, std::vector<Condition> conditions = {});
    void setOrderFilter(int order, std::function<bool(const Record &)> filter);
    // A filter of every order (tested on each record as it is read).
    void setFilter(std::function<bool(const Record &)> filter);
    // Whether a click on a column header orders the list by that column.
    void setSortHeaders(bool on);
    bool hasSortHeaders() const { return m_sortHeaders; }
    // Row height in dialog units of the list's font (0: the font's own line).
    void setRowHeightDu(int du);

    // --- Filling and selection.
    // Selects order `index` (a tab) and reads the list again, keeping the selected row where
    // it is within the new order (else the nearest).
    void setOrder(int index);
    // Orders by a column's field, keeping the order's range; -1 or the same column again
    // returns to the order of the tab.
    void sortByColumn(int column);
    void clearSort();
    int sortColumn() const;
    // Reads the list from the start of its order and selects the first row.
    void fill();
    // Reads the list again around the selected row; if it is gone (or no longer within the
    // range), the nearest row after its place is selected, or the last row before it.
    void refill();
    // Selects the row with the identity `rowId`; false if it is not within the list (the
    // nearest row is selected then).
    bool selectRowId(qint64 rowId);
    bool hasCurrent() const { return m_current.rowId() != 0; }
    Record currentRecord() const { return m_current; }
    qint64 currentRowId() const { return m_current.rowId(); }
    bool isEmpty() const;
    // Shows the rows' cells anew without reading (after a tag changed).
    void refreshDisplay();

    // --- Moving the selection as the keys do.
    void moveBy(int rows);
    void pageDown();
    void pageUp();
    void goFirst();
    void goLast();
    // The step locator: `typed` is the text of one key (digits typed in quick succession make
    // one number for a numeric field).
    void locate(const QString &typed);
    // Scrolls without moving the selection (wheel, scroll bar).
    void scrollRows(int rows);

    // --- Actions, keys and the pop-up menu.
    void setActions(const Actions &actions);
    const Actions &actions() const { return m_actions; }
    // Items a window adds after the common ones; the list owns the action.
    QAction *addMenuItem(const QString &text, std::function<void()> triggered);
    void addMenuSeparator();
    // Builds and shows the pop-up menu at a global position; the menu stays the list's.
    QMenu *showPopupMenu(const QPoint &globalPos);
    QMenu *popupMenu() const { return m_menu; }

    // --- Forms.
    // Starts the form of `request` for this list from `owner` (the list's window): for a change,
    // a deletion or a view the selected row is read into the table's record buffer first; then
    // the context's request is set, the form is made and run as the owner's child. When it
    // finishes the list is read again and, after a completed insert or change, the record the
    // form saved is selected; `done` then gets the form's response. A window that was itself
    // opened for viewing starts no form: `done` gets "cancelled" at once.
    void runForm(ProcedureWindow *owner, quint8 request, const FormFactory &factory,
                 std::function<void(quint8 response)> done = {});

    // Every row of the current order within its range, page by page (with `filtered`, only the
    // rows the filters let through); `visit` returns false to stop. False on a read failure.
    bool forEachRecord(const std::function<bool(const Record &)> &visit, bool filtered = true);

signals:
    // The selected row changed (or was read again with other values); an empty record (row
    // identity 0) when the list has no row.
    void currentChanged(const Record &record);
    // A left press on a row, after it was selected.
    void cellPressed(int column, const Record &record);
    // The list was read anew (filled, refilled, another order).
    void refilled();
    void readFailed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int rowHeightPx() const;
    int duX(int du) const;
    void applyColumns();
    void updatePageSize();
    // After the page changed: the selection on the view, the scroll bar.
    void syncView();
    void updateScrollBar();
    void setCurrent(const Record &record);
    int currentIndex() const;
    // Brings the selected row onto the page (after scrolling it out of sight).
    bool ensureCurrentVisible();
    void reposition(const Record &around);
    void afterForm(quint8 request, quint8 response, qint64 savedRowId);
    void onReadFailed(const QString &errorText);
    void onSectionClicked(int section);
    void onScrollAction(int action);
    void onSliderMoved(int value);
    bool handleKey(QKeyEvent *event);
    void trigger(const std::function<void()> &action, bool needsRow);

    DataContext &m_context;
    TableId m_table;
    BrowseModel *m_model;
    QTableView *m_view;
    QScrollBar *m_scroll;
    QMenu *m_menu = nullptr;
    Actions m_actions;
    std::vector<QAction *> m_extraItems;
    Record m_current;
    int m_currentLine = 0;  // screen line of the selected row when last seen
    bool m_filled = false;
    bool m_syncing = false;
    bool m_sortHeaders = false;
    bool m_reported = false;
    int m_rowHeightDu = 0;
    QString m_locatorDigits;
    QElapsedTimer m_locatorClock;
};
