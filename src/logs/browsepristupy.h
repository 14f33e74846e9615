#pragma once

#include "procedurewindow.h"
#include "record.h"

#include <QDate>
#include <QHash>
#include <QPixmap>

class BrowseList;
class PeoplePanel;
class QPushButton;
class QTabBar;

// The access window (procedure BrowsePristupy): the people of ADR_DAT on the left, and on the
// right every log row of the highlighted person, whatever its event code, with the access texts,
// in the order of date and entry number (the program's index LPO:KeyOsoba_Datum_Id, read within
// the person), narrowed by the period tabs. The unit name comes from GCU_POK by the row's
// reader; a reader that matches no unit shows an empty "Misto". No colours.
//
// Highlighting a person refills the list and sets GLO:TiskDrzitel. The entry buttons run the
// attendance entry form UpdateLOG_POKOJE; a new entry is booked to the person highlighted here.
class BrowsePristupy : public ProcedureWindow
{
    Q_OBJECT

public:
    explicit BrowsePristupy(DataContext &context, QWidget *parent = nullptr);
    ~BrowsePristupy() override;

    // Fixes the current date of the period tabs (an invalid date: the system's again).
    static void setTodayForTests(const QDate &date);

    PeoplePanel *people() const { return m_people; }
    BrowseList *list() const { return m_list; }
    QTabBar *periodTabs() const { return m_periods; }
    QPushButton *insertButton() const { return m_insert; }
    QPushButton *changeButton() const { return m_change; }
    QPushButton *deleteButton() const { return m_delete; }

public slots:
    void insertEntry();
    void changeEntry();
    void deleteEntry();

protected:
    void openTables() override;
    void closeTables() override;
    bool prepareWindow() override;
    void paintEvent(QPaintEvent *event) override;

private:
    void followPerson(const Record &person);
    // Narrows the list to the highlighted person and the period, and reads it again.
    void refillForPerson();
    void runEntryForm(quint8 request);

    PeoplePanel *m_people = nullptr;
    BrowseList *m_list = nullptr;
    QTabBar *m_periods = nullptr;
    QPushButton *m_insert = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_delete = nullptr;
    qint64 m_shownPerson = -1;
    bool m_ready = false;
    QHash<int, QString> m_units;  // GCP:NAZEV by GCP:ID_GCU
    QPixmap m_wallpaper;
};

// Starts the access window from the frame ("Přístupy"); the window takes ownership of the context.
ProcedureWindow *startBrowsePristupy(DataContext *context);
