#pragma once

#include "boundcontrol.h"

#include <QWidget>

class FieldEdit;
class QPushButton;

// A date entry (picture @D17) with the button "Kalendář" beside it, which opens the date
// picker on the entry's date, as typed so far; a day chosen there shows in the entry at once,
// cancelling keeps the date.
class FieldDateEdit : public QWidget, public BoundControl
{
    Q_OBJECT

public:
    explicit FieldDateEdit(QWidget *parent = nullptr);

    FieldEdit *entry() const { return m_entry; }
    QPushButton *calendarButton() const { return m_button; }

    QWidget *widget() override { return this; }
    QWidget *focusTarget() override;
    void setFieldValue(const QVariant &value) override;
    bool fieldValue(QVariant *value) const override;
    void setViewOnly(bool viewOnly) override;

public slots:
    // Opens the date picker (modal); true when a day was chosen.
    bool pickDate();

signals:
    void datePicked(qint32 date);

private:
    FieldEdit *m_entry = nullptr;
    QPushButton *m_button = nullptr;
};
