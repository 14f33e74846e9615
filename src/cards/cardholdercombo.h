#pragma once

#include "fieldcombo.h"

class FileManager;
class QStandardItemModel;

// The holder drop-down list of the card form: every person of ADR_DAT in name order
// (ADR:KeyNazev), shown in two columns "Nazev" and "Kod"; the value that reaches the card is
// the person's code ADR:KOD.
//
// Choosing a person reads that person's record again (by its place in the table, so a person
// renumbered meanwhile gives the new code); when it can no longer be read the holder becomes 0.
// Emptying the selection (Delete or Backspace in the closed list) makes the holder 0 as well.
// A holder code that belongs to nobody selects no row and is kept while nothing is chosen.
class CardHolderCombo : public FieldCombo
{
    Q_OBJECT

public:
    // `people` is the person table's file manager of the form's context; its record buffer is
    // never touched.
    explicit CardHolderCombo(FileManager &people, QWidget *parent = nullptr);

    // Reads every person again. False, with the list empty, when the table cannot be read (the
    // failure is reported). The value shown before is selected again.
    bool fillPeople();

    void setFieldValue(const QVariant &value) override;
    bool fieldValue(QVariant *value) const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void choose(int index);

    FileManager &m_people;
    QStandardItemModel *m_model;
    QVariant m_shownValue;
    bool m_hasShownValue = false;
    int m_chosenIndex = -1;      // the row the user chose last, -1 when none since shown
    qint64 m_chosenCode = 0;     // that person's code as read again (0: no longer there)
    bool m_emptied = false;      // the user emptied the selection
};
