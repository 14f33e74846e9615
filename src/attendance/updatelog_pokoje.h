#pragma once

#include "recordform.h"

#include <QPixmap>

class FieldCombo;
class FieldDateEdit;
class FieldEdit;
class QPushButton;
class QTabWidget;

// The attendance entry form (procedure UpdateLOG_POKOJE): one record of the log LOG_POKOJE
// added, changed, viewed or deleted by hand, as the room access log list and the two people
// windows ask for it.
//
// The person an entry belongs to comes from the window that starts the form: a new entry is
// booked to `personKod` (the person highlighted in the calling people window; the room access
// log list passes GLO:TiskDrzitel); a changed entry keeps its own LPO:DRZITEL, so that changing
// a door event of somebody else never moves it to another person. "Uživatel:" shows the name of
// the person the entry is booked to.
//
// The action list offers the seven attendance actions and stores their codes in LPO:DATA. A
// record whose code is none of them (a door event) shows no action and keeps its code when it is
// saved without a choice; a new entry saved without a choice has the code 0.
//
// A list starts it through its update step:
//   list->runForm(window, request, [](DataContext &c) { return new UpdateLOG_POKOJE(c, kod); });
class UpdateLOG_POKOJE : public RecordForm
{
    Q_OBJECT

public:
    UpdateLOG_POKOJE(DataContext &context, qint32 personKod, QWidget *parent = nullptr);
    ~UpdateLOG_POKOJE() override;

    // The person a new entry is booked to (the constructor's `personKod`).
    qint32 personKod() const { return m_personKod; }
    // The person the entry on the screen is booked to: `personKod` for an insert, the record's
    // LPO:DRZITEL otherwise.
    qint32 bookedPerson() const;

    QTabWidget *tabs() const { return m_tabs; }
    FieldCombo *actionList() const { return m_action; }
    FieldDateEdit *dateEntry() const { return m_date; }
    FieldEdit *timeEntry() const { return m_time; }
    FieldEdit *cardEntry() const { return m_card; }
    FieldEdit *noteEntry() const { return m_note; }
    // The display of the booked person's ADR:NAZEV beside "Uživatel:".
    FieldEdit *userName() const { return m_userName; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void openTables() override;
    void closeTables() override;
    void formOpened() override;
    void beforeSave() override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The person's ADR:NAZEV, read without touching the ADR_DAT buffer the calling window uses;
    // blank when there is no such person.
    QString personName(qint32 kod);

    qint32 m_personKod;
    QTabWidget *m_tabs = nullptr;
    FieldEdit *m_holder = nullptr;    // hidden: the booked person's code
    FieldEdit *m_userName = nullptr;
    FieldCombo *m_action = nullptr;
    FieldDateEdit *m_date = nullptr;
    FieldEdit *m_time = nullptr;
    FieldEdit *m_card = nullptr;
    FieldEdit *m_note = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_cancel = nullptr;
    QPixmap m_wallpaper;
};
