#include "fielddateedit.h"

#include "datepicker.h"
#include "fieldedit.h"

#include <QHBoxLayout>
#include <QPushButton>

FieldDateEdit::FieldDateEdit(QWidget *parent)
    : QWidget(parent)
{
    m_entry = new FieldEdit(QStringLiteral("@D17"), this);
    m_button = new QPushButton(QStringLiteral("Kalendář"), this);
    m_button->setFocusPolicy(Qt::TabFocus);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_entry, 1);
    layout->addWidget(m_button);
    setFocusProxy(m_entry);
    connect(m_button, &QPushButton::clicked, this, &FieldDateEdit::pickDate);
}

QWidget *FieldDateEdit::focusTarget()
{
    return m_entry;
}

void FieldDateEdit::setFieldValue(const QVariant &value)
{
    m_entry->setFieldValue(value);
}

bool FieldDateEdit::fieldValue(QVariant *value) const
{
    return m_entry->fieldValue(value);
}

void FieldDateEdit::setViewOnly(bool viewOnly)
{
    m_entry->setViewOnly(viewOnly);
    m_button->setEnabled(!viewOnly);
}

bool FieldDateEdit::pickDate()
{
    // A date typed but not yet accepted counts: the picker opens on what the entry shows.
    const qint32 current = qint32(m_entry->value().toLongLong());
    const std::optional<qint32> chosen = DatePicker::choose(current, this);
    if (!chosen)
        return false;
    m_entry->setFieldValue(qlonglong(*chosen));
    emit datePicked(*chosen);
    return true;
}
