#include "datepicker.h"
#include "fieldedit.h"
#include "fielddateedit.h"
#include "stddatetime.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// Runs `step` on the date picker once it is shown modally.
void whenPickerShows(std::function<void(DatePicker *)> step)
{
    QTimer::singleShot(0, [step] {
        auto *picker = qobject_cast<DatePicker *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        step(picker);
    });
}

} // namespace

// The date entry's "Kalendář" button and its month calendar.
class TstDatePicker : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheEntrysDate_data();
    void opensOnTheEntrysDate();
    void weekendsInRed();
    void cancelKeepsTheDate();
    void chosenDayShowsAtOnce_data();
    void chosenDayShowsAtOnce();
    void typedDateCountsAndViewDisablesTheButton();
};

void TstDatePicker::opensOnTheEntrysDate_data()
{
    QTest::addColumn<int>("date");
    QTest::addColumn<QDate>("expected");
    const QDate today = QDate::currentDate();
    QTest::newRow("a date") << int(StdDateTime::fromYmd(2021, 3, 15)) << QDate(2021, 3, 15);
    QTest::newRow("first day of the range") << 4 << QDate(1801, 1, 1);
    QTest::newRow("last day of the range") << int(StdDateTime::fromYmd(2099, 12, 31)) << QDate(2099, 12, 31);
    QTest::newRow("no date: today") << 0 << today;
    QTest::newRow("before 1801: today") << 3 << today;
    QTest::newRow("after 2099: today") << int(StdDateTime::fromYmd(2100, 1, 1)) << today;
    QTest::newRow("negative: today") << -5 << today;
}

void TstDatePicker::opensOnTheEntrysDate()
{
    QFETCH(int, date);
    QFETCH(QDate, expected);
    DatePicker picker(date);
    QCOMPARE(picker.windowTitle(), QStringLiteral("Vyberte datum"));
    QCOMPARE(picker.calendar()->selectedDate(), expected);
    QCOMPARE(picker.calendar()->yearShown(), expected.year());
    QCOMPARE(picker.calendar()->monthShown(), expected.month());
    QCOMPARE(picker.selectedDate(), StdDateTime::fromQDate(expected));
}

void TstDatePicker::weekendsInRed()
{
    DatePicker picker(0);
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        const QColor colour = picker.calendar()->weekdayTextFormat(Qt::DayOfWeek(day)).foreground().color();
        QCOMPARE(colour, day >= Qt::Saturday ? QColor(Qt::red) : QColor(Qt::black));
    }
    QCOMPARE(picker.calendar()->firstDayOfWeek(), Qt::Monday);
    const QStringList buttons = [&] {
        QStringList out;
        for (QPushButton *b : picker.findChildren<QPushButton *>())
            out << b->text();
        return out;
    }();
    QVERIFY(buttons.contains(QStringLiteral("Storno")));
}

void TstDatePicker::cancelKeepsTheDate()
{
    FieldDateEdit edit;
    const qint32 date = StdDateTime::fromYmd(2020, 2, 29);
    edit.setFieldValue(qlonglong(date));
    QCOMPARE(edit.entry()->text(), QStringLiteral("29.2.2020"));
    whenPickerShows([](DatePicker *p) {
        p->calendar()->setSelectedDate(QDate(2020, 3, 3));
        p->reject();
    });
    QVERIFY(!edit.pickDate());
    QCOMPARE(edit.entry()->text(), QStringLiteral("29.2.2020"));
    QVariant v;
    QVERIFY(edit.fieldValue(&v));
    QCOMPARE(v.toLongLong(), qlonglong(date));
}

void TstDatePicker::chosenDayShowsAtOnce_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "ok";
    QTest::newRow("Enter on the day") << "enter";
}

void TstDatePicker::chosenDayShowsAtOnce()
{
    QFETCH(QString, how);
    FieldDateEdit edit;
    edit.setFieldValue(qlonglong(0));
    QSignalSpy picked(&edit, &FieldDateEdit::datePicked);
    whenPickerShows([how](DatePicker *p) {
        p->calendar()->setSelectedDate(QDate(2021, 4, 5));
        if (how == QLatin1String("ok")) {
            p->accept();
        } else {
            QWidget *view = p->calendar()->findChild<QAbstractItemView *>();
            QVERIFY(view);
            QTest::keyClick(view, Qt::Key_Return);
        }
    });
    QVERIFY(edit.pickDate());
    QCOMPARE(edit.entry()->text(), QStringLiteral("5.4.2021"));
    QVariant v;
    QVERIFY(edit.fieldValue(&v));
    QCOMPARE(v.toLongLong(), qlonglong(StdDateTime::fromYmd(2021, 4, 5)));
    QCOMPARE(picked.count(), 1);
}

void TstDatePicker::typedDateCountsAndViewDisablesTheButton()
{
    FieldDateEdit edit;
    edit.setFieldValue(qlonglong(StdDateTime::fromYmd(2019, 1, 10)));
    edit.entry()->selectAll();
    QTest::keyClick(edit.entry(), Qt::Key_Delete);
    QTest::keyClicks(edit.entry(), QStringLiteral("7.8.2022"));
    QDate opened;
    whenPickerShows([&opened](DatePicker *p) {
        opened = p->calendar()->selectedDate();
        p->reject();
    });
    edit.pickDate();
    QCOMPARE(opened, QDate(2022, 8, 7));
    QCOMPARE(edit.calendarButton()->text(), QStringLiteral("Kalendář"));

    edit.setViewOnly(true);
    QVERIFY(edit.entry()->isReadOnly());
    QVERIFY(!edit.calendarButton()->isEnabled());
}

QTEST_MAIN(TstDatePicker)
#include "tst_datepicker.moc"
