#pragma once

#include <QVariant>

class QWidget;

// A control of a form that shows one field of the form's record and gives it back. A form
// binds each such control to a field (RecordForm::bind); the control knows nothing of records
// or tables.
//
// Every bound control gives back exactly the value it was shown as long as the user did not
// change it, so a record that was only looked at compares equal to the record as read, even
// where the control's display cuts the value (a time shown without its seconds, a code no
// entry of a list has).
class BoundControl
{
public:
    virtual ~BoundControl() = default;

    // The control as placed in the window.
    virtual QWidget *widget() = 0;
    // The widget that takes the focus and the keys (an entry inside a composite control).
    virtual QWidget *focusTarget() { return widget(); }

    // Shows `value` (a qint64 for numbers, dates and times, a QString for texts) and keeps it
    // as the value the control stands for.
    virtual void setFieldValue(const QVariant &value) = 0;
    // What the control holds now. False, leaving `*value` untouched, when the user's input is
    // not a value (an unfinished date, a lone minus sign).
    virtual bool fieldValue(QVariant *value) const = 0;

    // A view shows the values and lets nothing be changed.
    virtual void setViewOnly(bool viewOnly) = 0;
    // A display-only control shows its field and never writes it back.
    virtual bool isDisplayOnly() const { return false; }

    // Field values compare as numbers when both are numbers (the text "1" equals 1), as texts
    // otherwise; an empty value equals 0 and the blank text.
    static bool sameValue(const QVariant &a, const QVariant &b)
    {
        bool numberA = false;
        bool numberB = false;
        const qlonglong na = a.isValid() ? a.toLongLong(&numberA) : 0;
        const qlonglong nb = b.isValid() ? b.toLongLong(&numberB) : 0;
        if ((numberA || !a.isValid()) && (numberB || !b.isValid()))
            return na == nb;
        return a.toString() == b.toString();
    }
};
