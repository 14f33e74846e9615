#pragma once

#include "procedurewindow.h"
#include "record.h"

#include <QDate>
#include <QHash>
#include <QPixmap>

class BrowseList;
class PeoplePanel;
class QAction;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabBar;

// The attendance window (procedure BrowseAdresar): the people of ADR_DAT on the left; on the
// right, for the highlighted person, page 1 with the person's attendance entries (codes 10, 11,
// 12, 13, 15, 41, 43 only, read through LPO:KeyOsoba_Dat_Cas within the person, narrowed by the
// period tabs; arrivals dark green and departures red in every column) or page 2 with the
// person's cards (CAR:KeyDrzitel within the person; all, active or inactive ones by the tab).
//
// Highlighting a person refills both lists and sets GLO:TiskDrzitel. The person buttons run
// UpdateADR_DAT, the entry buttons UpdateLOG_POKOJE, the card buttons UpdateCARDS.
// "Nový záznam", "Kopírovat" and "Tisk" act for the person highlighted in this window, whatever
// another people window highlighted since: "Kopírovat" opens the entry form for a new entry
// that carries every value of the highlighted entry but its number, "Tisk" the monthly report
// TiskDochazky of the person.
class BrowseAdresar : public ProcedureWindow
{
    Q_OBJECT

public:
    explicit BrowseAdresar(DataContext &context, QWidget *parent = nullptr);
    ~BrowseAdresar() override;

    // Fixes the current date of the period tabs (an invalid date: the system's again).
    static void setTodayForTests(const QDate &date);

    enum Page { AttendancePage = 0, CardsPage = 1 };
    enum CardTab { AllCards = 0, ActiveCards = 1, InactiveCards = 2 };

    PeoplePanel *people() const { return m_people; }
    BrowseList *attendanceList() const { return m_attendance; }
    BrowseList *cardList() const { return m_cards; }
    QTabBar *periodTabs() const { return m_periods; }
    QTabBar *cardTabs() const { return m_cardTabs; }
    QStackedWidget *pages() const { return m_pages; }
    QLabel *personName() const { return m_name; }
    QPushButton *attendanceButton() const { return m_pageAttendance; }
    QPushButton *cardsButton() const { return m_pageCards; }
    QPushButton *insertButton() const { return m_insert; }
    QPushButton *changeButton() const { return m_change; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *printButton() const { return m_print; }
    QAction *copyItem() const { return m_copyItem; }
    QPushButton *insertCardButton() const { return m_insertCard; }
    QPushButton *changeCardButton() const { return m_changeCard; }
    QPushButton *deleteCardButton() const { return m_deleteCard; }

public slots:
    void insertEntry();
    void changeEntry();
    void deleteEntry();
    void copyEntry();
    void printReport();
    void insertCard();
    void changeCard();
    void deleteCard();
    void showPage(int page);

protected:
    void openTables() override;
    void closeTables() override;
    bool prepareWindow() override;
    void paintEvent(QPaintEvent *event) override;

private:
    void followPerson(const Record &person);
    void refillAttendance();
    void refillCards();
    void updateCopyEnabled();
    void runEntryForm(quint8 request);
    void runCardForm(quint8 request);

    PeoplePanel *m_people = nullptr;
    QLabel *m_name = nullptr;
    QPushButton *m_pageAttendance = nullptr;
    QPushButton *m_pageCards = nullptr;
    QStackedWidget *m_pages = nullptr;
    QTabBar *m_periods = nullptr;
    BrowseList *m_attendance = nullptr;
    QPushButton *m_insert = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_print = nullptr;
    QAction *m_copyItem = nullptr;
    QTabBar *m_cardTabs = nullptr;
    BrowseList *m_cards = nullptr;
    QPushButton *m_insertCard = nullptr;
    QPushButton *m_changeCard = nullptr;
    QPushButton *m_deleteCard = nullptr;
    qint64 m_shownPerson = -1;
    bool m_ready = false;
    // COPYBUTTONPRESSED: set by "Kopírovat" until the insert it causes has started.
    bool m_copyPressed = false;
    Record m_copied;
    QHash<int, QString> m_units;  // GCP:NAZEV by GCP:ID_GCU
    QPixmap m_wallpaper;
};

// Starts the attendance window from the frame ("Docházka"); the window takes ownership of the
// context.
ProcedureWindow *startBrowseAdresar(DataContext *context);
