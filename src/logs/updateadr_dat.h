#pragma once

#include "recordform.h"

#include <QPixmap>

class FieldEdit;
class QPushButton;
class QTabWidget;

// `UpdateADR_DAT`: the form of one person of the address book, started by the people lists
// with insert, change or delete. A person is a card holder and a user of the program at once.
//
// It edits twelve fields of the person and shows the person's code (on insert the code the
// automatic numbering reserved, at once); ADR:TELEFON2, ADR:STRAVA, ADR:DOCHAZKA and
// ADR:SKUPINA are carried through a change as they were and are blank or 0 in a new person.
// The focus starts in "Stát".
//
// "Uložit" raises the change signal (STATE record 1) in every request kind, before the person
// is written, whether the write then succeeds or not. A deletion raises no signal; a person who
// still holds a card is not deleted (the relation rule refuses it).
class UpdateADR_DAT : public RecordForm
{
    Q_OBJECT

public:
    explicit UpdateADR_DAT(DataContext &context, QWidget *parent = nullptr);
    ~UpdateADR_DAT() override;

    // The controls, for the tests and for anybody driving the form.
    QTabWidget *tabs() const { return m_tabs; }
    FieldEdit *name() const { return m_name; }
    FieldEdit *street() const { return m_street; }
    FieldEdit *town() const { return m_town; }
    FieldEdit *postcode() const { return m_postcode; }
    FieldEdit *country() const { return m_country; }
    FieldEdit *personalNumber() const { return m_personalNumber; }
    FieldEdit *password() const { return m_password; }
    FieldEdit *telephone() const { return m_telephone; }
    FieldEdit *mobile() const { return m_mobile; }
    FieldEdit *fax() const { return m_fax; }
    FieldEdit *note() const { return m_note; }
    FieldEdit *gsm() const { return m_gsm; }
    FieldEdit *code() const { return m_code; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void beforeSave() override;
    void openTables() override;
    void closeTables() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QTabWidget *m_tabs = nullptr;
    FieldEdit *m_name = nullptr;
    FieldEdit *m_street = nullptr;
    FieldEdit *m_town = nullptr;
    FieldEdit *m_postcode = nullptr;
    FieldEdit *m_country = nullptr;
    FieldEdit *m_personalNumber = nullptr;
    FieldEdit *m_password = nullptr;
    FieldEdit *m_telephone = nullptr;
    FieldEdit *m_mobile = nullptr;
    FieldEdit *m_fax = nullptr;
    FieldEdit *m_note = nullptr;
    FieldEdit *m_gsm = nullptr;
    FieldEdit *m_code = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_cancel = nullptr;
    QPixmap m_wallpaper;
};
