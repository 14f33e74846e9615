#pragma once

#include "recordform.h"

#include <QPixmap>

class CardHolderCombo;
class FieldCheck;
class FieldEdit;
class QLabel;
class QPushButton;
class QTabWidget;

// `UpdateCARDS`: the form of one access card, started by the card list and by the card list of
// the people window with insert, change, view or delete.
//
// It edits eleven fields of the card (RFID code, holder, room number, note, active, all
// entrances, category, time validity, kind, validity date, validity time) and shows the card
// number; every other field of the card is carried through a change as it was, and a new card
// has it zero or blank. The holder is chosen from the people in name order; the value that
// reaches the card is the person's code.
//
// "Uložit" raises the change signal (STATE record 1) in every request kind, before the card is
// written, whether the write then succeeds or not; a view writes no card. A deletion raises no
// signal.
class UpdateCARDS : public RecordForm
{
    Q_OBJECT

public:
    explicit UpdateCARDS(DataContext &context, QWidget *parent = nullptr);
    ~UpdateCARDS() override;

    // The controls, for the tests and for anybody driving the form.
    QTabWidget *tabs() const { return m_tabs; }
    CardHolderCombo *holder() const { return m_holder; }
    FieldEdit *rfid() const { return m_rfid; }
    FieldEdit *roomNumber() const { return m_roomNumber; }
    FieldEdit *note() const { return m_note; }
    FieldCheck *active() const { return m_active; }
    FieldCheck *allEntrances() const { return m_allEntrances; }
    FieldEdit *category() const { return m_category; }
    FieldEdit *timeValidity() const { return m_timeValidity; }
    FieldEdit *kind() const { return m_kind; }
    FieldEdit *validityDate() const { return m_validityDate; }
    FieldEdit *validityTime() const { return m_validityTime; }
    FieldEdit *cardNumber() const { return m_cardNumber; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void beforeSave() override;
    void openTables() override;
    void closeTables() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QTabWidget *m_tabs = nullptr;
    CardHolderCombo *m_holder = nullptr;
    FieldEdit *m_rfid = nullptr;
    FieldEdit *m_roomNumber = nullptr;
    FieldEdit *m_note = nullptr;
    FieldCheck *m_active = nullptr;
    FieldCheck *m_allEntrances = nullptr;
    FieldEdit *m_category = nullptr;
    FieldEdit *m_timeValidity = nullptr;
    FieldEdit *m_kind = nullptr;
    FieldEdit *m_validityDate = nullptr;
    FieldEdit *m_validityTime = nullptr;
    FieldEdit *m_cardNumber = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_cancel = nullptr;
    QPixmap m_wallpaper;
};
