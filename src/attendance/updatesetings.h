#pragma once

#include "recordform.h"

class FieldEdit;
class QPushButton;

// `UpdateSETINGS`: one record of the shift boundaries (SETINGS): its number SET:ID, typed by
// the user (a number used already is refused by the unique key), and the three boundaries
// typed as times. The values are stored as typed; only record 1 counts, from the next start
// of the program. Ctrl+H works in every entry; "&Help" opens the help of the topic
// "UpdateSETINGS".
class UpdateSETINGS : public RecordForm
{
    Q_OBJECT

public:
    explicit UpdateSETINGS(DataContext &context, QWidget *parent = nullptr);

    static QString helpTopic() { return QStringLiteral("UpdateSETINGS"); }

    FieldEdit *idEntry() const { return m_id; }
    FieldEdit *ranniEntry() const { return m_ranni; }
    FieldEdit *odpoledniEntry() const { return m_odpoledni; }
    FieldEdit *nocniEntry() const { return m_nocni; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *helpButton() const { return m_help; }

private:
    FieldEdit *m_id = nullptr;
    FieldEdit *m_ranni = nullptr;
    FieldEdit *m_odpoledni = nullptr;
    FieldEdit *m_nocni = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_help = nullptr;
};
