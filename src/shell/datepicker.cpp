#include "datepicker.h"

#include "stddatetime.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextCharFormat>
#include <QVBoxLayout>

DatePicker::DatePicker(qint32 date, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Vyberte datum"));
    setModal(true);
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    setLocale(czech);

    m_calendar = new QCalendarWidget(this);
    m_calendar->setLocale(czech);
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setGridVisible(true);
    m_calendar->setDateRange(firstDate(), lastDate());
    QTextCharFormat workday;
    workday.setForeground(Qt::black);
    QTextCharFormat weekend;
    weekend.setForeground(Qt::red);
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        m_calendar->setWeekdayTextFormat(Qt::DayOfWeek(day),
                                         day == Qt::Saturday || day == Qt::Sunday ? weekend : workday);
    const QDate initial = initialDate(date, QDate::currentDate());
    m_calendar->setSelectedDate(initial);
    m_calendar->setCurrentPage(initial.year(), initial.month());
    connect(m_calendar, &QCalendarWidget::activated, this, &QDialog::accept);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Storno"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_calendar);
    layout->addWidget(buttons);
    m_calendar->setFocus();
}

qint32 DatePicker::selectedDate() const
{
    return StdDateTime::fromQDate(m_calendar->selectedDate());
}

QDate DatePicker::initialDate(qint32 date, const QDate &today)
{
    const QDate d = StdDateTime::toQDate(date);
    if (date == StdDateTime::NoDate || !d.isValid() || d < firstDate() || d > lastDate())
        return today;
    return d;
}

std::optional<qint32> DatePicker::choose(qint32 date, QWidget *parent)
{
    DatePicker picker(date, parent);
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return picker.selectedDate();
}
