#include "fieldcheck.h"

FieldCheck::FieldCheck(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
    // Once the user clicked the box it stands for its own values, even when clicked back.
    connect(this, &QCheckBox::clicked, this, [this] { m_clicked = true; });
}

void FieldCheck::setValues(const QVariant &checkedValue, const QVariant &uncheckedValue)
{
    m_checkedValue = checkedValue;
    m_uncheckedValue = uncheckedValue;
}

void FieldCheck::setFieldValue(const QVariant &value)
{
    m_value = value;
    m_shownChecked = BoundControl::sameValue(value, m_checkedValue);
    m_clicked = false;
    setChecked(m_shownChecked);
}

bool FieldCheck::fieldValue(QVariant *value) const
{
    if (!m_clicked && isChecked() == m_shownChecked)
        *value = m_value;
    else
        *value = isChecked() ? m_checkedValue : m_uncheckedValue;
    return true;
}

void FieldCheck::setViewOnly(bool viewOnly)
{
    setEnabled(!viewOnly);
}
