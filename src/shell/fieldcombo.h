#pragma once

#include "boundcontrol.h"

#include <QComboBox>

class FileManager;

// A drop-down list bound to a field: each entry has a text and the value it puts into the
// field. The entries are fixed ones (addEntry) or the records of another table in one of its
// key orders (fillFrom), showing one field and giving another.
//
// A value that no entry has (a card holder code that belongs to nobody) selects no entry and
// is kept as it is while the user chooses nothing; the list never falls back to its first
// entry. Once the selection becomes empty after the user chose, or an entry without a value is
// chosen, the field gets the empty value (0, or blank for a text field).
class FieldCombo : public QComboBox, public BoundControl
{
    Q_OBJECT

public:
    explicit FieldCombo(QWidget *parent = nullptr);

    // Adds an entry; an invalid `value` makes an entry for "none".
    void addEntry(const QString &text, const QVariant &value);
    // Replaces the entries by every record of `source`'s table in the order of `key`: the text
    // is `displayField` (through `displayPicture` when one is given), the value `valueField`.
    // The source's record buffer is not touched. False, with the entries left empty, when the
    // table cannot be read (the failure is reported).
    bool fillFrom(FileManager &source, int key, int displayField, int valueField,
                  const QString &displayPicture = QString());
    // The first entry that gives `value`, or -1.
    int findValue(const QVariant &value) const;

    QWidget *widget() override { return this; }
    void setFieldValue(const QVariant &value) override;
    bool fieldValue(QVariant *value) const override;
    void setViewOnly(bool viewOnly) override;

private:
    void selectShownValue();

    QVariant m_value;        // the value last shown
    bool m_hasValue = false;
    int m_shownIndex = -1;   // the entry selected when it was shown
};
