#pragma once

#include "procedurewindow.h"

#include <QPixmap>

#include <vector>

class BrowseList;
class QPushButton;
class QTabWidget;

// The room access log list (procedure BrowseLOG_POKOJE): every row of LOG_POKOJE as stored, in
// the order of the entry number, with a step locator on LPO:ID and sort headers. Insert, change
// and delete run the attendance entry form UpdateLOG_POKOJE; a new entry is booked to the person
// in GLO:TiskDrzitel, since this list has no person of its own.
//
// Rows are tagged in the program-wide tag list TAGQUE_KAR() (see TagList), which every open log
// window shares: opening or closing a log window empties it for all of them. The display mode
// narrows the list to the tagged or to the untagged rows. The tag operations never read the
// log rows: "tag &All" and "&Rev tags" take only the first and the last entry number, and the
// display modes narrow the list's reads by entry number, so they stay quick on a log of a
// million rows.
class BrowseLOG_POKOJE : public ProcedureWindow
{
    Q_OBJECT

public:
    // The tag display mode: 0 every row, 1 the tagged rows, 2 the untagged rows.
    enum TagMode { ShowAll = 0, ShowTagged = 1, ShowUntagged = 2 };

    explicit BrowseLOG_POKOJE(DataContext &context, QWidget *parent = nullptr);
    ~BrowseLOG_POKOJE() override;

    BrowseList *list() const { return m_list; }
    int tagMode() const { return m_mode; }
    // The words of a mode on the show button: "Show All", "Showing Tagged", "Showing UnTagged".
    static QString modeText(int mode);

    QPushButton *insertButton() const { return m_insert; }
    QPushButton *changeButton() const { return m_change; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *tagButton() const { return m_tag; }
    QPushButton *tagAllButton() const { return m_tagAll; }
    QPushButton *untagAllButton() const { return m_untagAll; }
    QPushButton *reverseButton() const { return m_reverse; }
    QPushButton *showButton() const { return m_show; }
    QPushButton *closeButton() const { return m_close; }

public slots:
    // Toggles the tag of the highlighted row and moves the highlight one row down, as the down
    // arrow does ("&Tag", "Označ", Ctrl+O). Nothing without a highlighted row.
    void toggleTag();
    // The same without moving the highlight (a click in the first column).
    void toggleTagInPlace();
    void tagAll();
    void untagAll();
    void reverseTags();
    // 0 -> 1 -> 2 -> 0, with the show button's words, and the list read again.
    void stepTagMode();

    void insertRecord();
    void changeRecord();
    void deleteRecord();

protected:
    void openTables() override;
    void closeTables() override;
    bool prepareWindow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void toggle(bool moveOn);
    void runUpdate(quint8 request);
    // Reads the list again with the highlight on the same line.
    void refillKeepingLine();
    // The first and the last entry number of the log; false when it is empty or unreadable.
    bool entryBounds(qint64 *first, qint64 *last);
    // Narrows the list's reads to the rows the display mode shows: the filter tests each row's
    // entry number against the tag list, and when the mode shows only a few of the log's entry
    // numbers the reads ask for just those. True when the narrowing changed.
    bool updateModeRange();

    BrowseList *m_list = nullptr;
    QTabWidget *m_sheet = nullptr;
    QPushButton *m_insert = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_tag = nullptr;
    QPushButton *m_tagAll = nullptr;
    QPushButton *m_untagAll = nullptr;
    QPushButton *m_reverse = nullptr;
    QPushButton *m_show = nullptr;
    QPushButton *m_close = nullptr;
    int m_mode = ShowAll;
    // The narrowing last given to the list: the mode and, when the mode shows few rows, their
    // entry numbers (listed false: every row is read and the filter decides).
    struct ModeRange {
        int mode = ShowAll;
        bool listed = false;
        std::vector<qint64> ids;
        bool operator==(const ModeRange &) const = default;
    };
    ModeRange m_range;
    QPixmap m_wallpaper;
};

// Starts the room access log list from the frame ("Browse Komunikační logy pristupu do pokoju",
// "Log záznamy"); the window takes ownership of the context.
ProcedureWindow *startBrowseLOG_POKOJE(DataContext *context);
