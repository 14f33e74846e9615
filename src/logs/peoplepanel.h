#pragma once

#include "record.h"
#include "store.h"

#include <QDate>
#include <QHash>
#include <QWidget>

#include <vector>

class BrowseList;
class DataContext;
class ProcedureWindow;
class QLabel;
class QPushButton;
class QTabBar;

// The left panel of the two people windows (BrowseAdresar, BrowsePristupy): the heading
// "Uživatelé", the people of ADR_DAT in code order with sort headers and a step locator on
// ADR:KOD, the buttons "&Vlož", "&Edituj", "&Smaž" (the person form UpdateADR_DAT) and
// "&CZavřít". It tells its window whenever the highlighted person may have changed
// (personChanged), also when the list was read again with the same person.
//
// It also holds what both windows share about the period tabs: their texts, "today" (which the
// tests may fix) and the date conditions of each tab.
class PeoplePanel : public QWidget
{
    Q_OBJECT

public:
    // `owner` is the people window: it runs the person form and owns the panel.
    PeoplePanel(ProcedureWindow *owner, int nameWidthDu, QWidget *parent = nullptr);
    ~PeoplePanel() override;

    BrowseList *list() const { return m_list; }
    QPushButton *insertButton() const { return m_insert; }
    QPushButton *changeButton() const { return m_change; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *closeButton() const { return m_close; }

    // The code of the highlighted person; 0 when the address book is empty.
    qint32 personKod() const;
    bool hasPerson() const;

    void insertPerson();
    void changePerson();
    void deletePerson();

    // The period tabs: "Zobrazit vše", "Pouze dnešní", "Pouze včerejší", "Tento měsíc",
    // "Minulý měsíc", in this order.
    enum Period { All = 0, Today = 1, Yesterday = 2, ThisMonth = 3, LastMonth = 4 };
    static QTabBar *makePeriodTabs(QWidget *parent);
    // The current date of the period tabs: the system's, or the one the tests fixed (an invalid
    // date returns to the system's).
    static QDate today();
    static void setTodayForTests(const QDate &date);
    // The conditions on LPO:DATUM of a period tab: this month of this year; the calendar month
    // before it (December of the year before, in January).
    static std::vector<Condition> periodConditions(int period);
    // A condition no row satisfies: the right-hand lists of a window without a person.
    static Condition nothing(int field);

    // GCP:NAZEV of every door unit by its GCP:ID_GCU (the right-hand lists' "Místo"); the
    // store's failures leave the names out (the list reports its own read failures).
    static QHash<int, QString> unitNames(DataContext &context);

    // The heading font and colour of the people windows.
    static QFont headingFont(int pointSize, bool bold = false);
    static QColor headingColour();

signals:
    // The highlighted person (an empty record when there is none), after every event of the list.
    void personChanged(const Record &person);

private:
    ProcedureWindow *m_owner;
    BrowseList *m_list = nullptr;
    QPushButton *m_insert = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_close = nullptr;
};
