#pragma once

#include "boundcontrol.h"

#include <QCheckBox>

// A check box bound to a field that holds one value when it is checked and another when it
// is not (1 and 0 unless set otherwise). A stored value that is neither shows unchecked and is
// kept as long as the user does not click the box; once clicked, the box gives its own values.
class FieldCheck : public QCheckBox, public BoundControl
{
    Q_OBJECT

public:
    explicit FieldCheck(const QString &text, QWidget *parent = nullptr);

    void setValues(const QVariant &checkedValue, const QVariant &uncheckedValue);
    QVariant checkedValue() const { return m_checkedValue; }
    QVariant uncheckedValue() const { return m_uncheckedValue; }

    QWidget *widget() override { return this; }
    void setFieldValue(const QVariant &value) override;
    bool fieldValue(QVariant *value) const override;
    void setViewOnly(bool viewOnly) override;

private:
    QVariant m_checkedValue = qlonglong(1);
    QVariant m_uncheckedValue = qlonglong(0);
    QVariant m_value = qlonglong(0);
    bool m_shownChecked = false;
    bool m_clicked = false;
};
