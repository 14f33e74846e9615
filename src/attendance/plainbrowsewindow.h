#pragma once

#include "browselist.h"
#include "procedurewindow.h"

#include <QPixmap>

class QPushButton;
class QTabWidget;

// The plain list windows of the settings (Kalendar, Nastaveni, BrowseGCU_POK, alarmGCU): one
// table in one key order on a sheet with a single tab, the buttons "&Vlož", "&Edituj" and
// "&Smaž" under the list's right end, which start the table's form with request 1, 2 or 3,
// and "&CZavřít" at the bottom right. The window opens the table with its related tables,
// fills the list from the start of its order and closes itself when the list cannot be read.
//
// A derived window gives its title, designed size, tab caption, status text, columns and
// whether it has the blue wallpaper; the form is made by `form`.
class PlainBrowseWindow : public ProcedureWindow
{
    Q_OBJECT

public:
    struct Design {
        QString title;
        int widthDu = 0;
        int heightDu = 0;
        QString tabCaption;
        QString statusText;
        bool blueWallpaper = false;
        int key = 0;                        // the list's only order
        std::vector<BrowseColumn> columns;
        BrowseList::FormFactory form;
    };

    PlainBrowseWindow(const QString &procedure, DataContext &context, TableId table, Design design,
                      QWidget *parent = nullptr);
    ~PlainBrowseWindow() override;

    TableId table() const { return m_table; }
    BrowseList *list() const { return m_list; }
    QTabWidget *sheet() const { return m_sheet; }
    QPushButton *insertButton() const { return m_insert; }
    QPushButton *changeButton() const { return m_change; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *closeButton() const { return m_close; }

    // Starts the form with `request` for the selected row (1 insert, 2 change, 3 delete), as
    // the buttons do.
    void runForm(quint8 request);

protected:
    void openTables() override;
    void closeTables() override;
    bool prepareWindow() override;
    // After the list was filled on opening (Nastaveni starts on the current record).
    virtual void listFilled() {}
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    TableId m_table;
    BrowseList::FormFactory m_form;
    bool m_blueWallpaper = false;
    QPixmap m_wallpaper;
    QTabWidget *m_sheet = nullptr;
    BrowseList *m_list = nullptr;
    QPushButton *m_insert = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_close = nullptr;
};
