#pragma once

#include "procedurewindow.h"

class BrowseList;
class QPushButton;
class QTabBar;

// `BrowseCARDS`: the list of every access card, started from the frame's menu item
// "Browse Databáze karet". Six tabs choose the order (RFID code, card number, code, kind,
// category, holder), each with a step locator on its first key field; the first tab is
// selected when the window opens. Insert, change and delete run `UpdateCARDS`; after a
// completed insert or change the list is read again and selects that card.
class BrowseCARDS : public ProcedureWindow
{
    Q_OBJECT

public:
    explicit BrowseCARDS(DataContext &context, QWidget *parent = nullptr);
    ~BrowseCARDS() override;

    BrowseList *list() const { return m_list; }
    QTabBar *orderTabs() const { return m_tabs; }
    QPushButton *insertButton() const { return m_insert; }
    QPushButton *changeButton() const { return m_change; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *closeButton() const { return m_close; }

    // Starts UpdateCARDS with `request` for the selected card (any card for an insert).
    void runUpdate(quint8 request);

protected:
    void openTables() override;
    void closeTables() override;
    bool prepareWindow() override;

private:
    BrowseList *m_list = nullptr;
    QTabBar *m_tabs = nullptr;
    QPushButton *m_insert = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_close = nullptr;
};

// The frame's factory of "BrowseCARDS": the list in a context of its own (which it owns once
// started through Shell::startProcedure).
ProcedureWindow *startBrowseCARDS(DataContext *context);
