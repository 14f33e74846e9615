#pragma once

#include "recordform.h"

class FieldEdit;
class QPushButton;

// `Updategcu_alarm`: one alarm output (GCU_ALARM): the record number ALR:ID, proposed for a
// new record as the next free number and editable (a number used already is refused by the
// unique key), the unit's version and number and the output used as the alarm output. No value
// is checked against the door units. Ctrl+H works in every entry; "&Help" opens the help of the
// topic "Updategcu_alarm".
class Updategcu_alarm : public RecordForm
{
    Q_OBJECT

public:
    explicit Updategcu_alarm(DataContext &context, QWidget *parent = nullptr);

    static QString helpTopic() { return QStringLiteral("Updategcu_alarm"); }

    FieldEdit *idEntry() const { return m_id; }
    FieldEdit *verzeEntry() const { return m_verze; }
    FieldEdit *cisloEntry() const { return m_cislo; }
    FieldEdit *vystupEntry() const { return m_vystup; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *helpButton() const { return m_help; }

private:
    FieldEdit *m_id = nullptr;
    FieldEdit *m_verze = nullptr;
    FieldEdit *m_cislo = nullptr;
    FieldEdit *m_vystup = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_help = nullptr;
};
