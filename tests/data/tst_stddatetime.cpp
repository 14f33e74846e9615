#include "stddatetime.h"

#include <QtTest>

using namespace StdDateTime;

// Standard dates and times against the calendar and the clock, and the h:mm text of amounts.
class TestStdDateTime : public QObject
{
    Q_OBJECT

private slots:
    void datesMatchTheCalendar_data();
    void datesMatchTheCalendar();
    void noDate();
    void months_data();
    void months();
    void timesMatchTheClock_data();
    void timesMatchTheClock();
    void noTime();
    void timeOfDayDropsMidnightAndNonsense_data();
    void timeOfDayDropsMidnightAndNonsense();
    void amountText_data();
    void amountText();
    void signedAmountText_data();
    void signedAmountText();
};

void TestStdDateTime::datesMatchTheCalendar_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<qint32>("standard");
    QTest::addColumn<int>("weekday");

    QTest::newRow("first day") << QDate(1800, 12, 29) << 1 << 1;
    QTest::newRow("1 January 1801") << QDate(1801, 1, 1) << 4 << 4;
    QTest::newRow("1 January 2000, Saturday") << QDate(2000, 1, 1) << 72687 << 6;
    QTest::newRow("29 February 2000") << QDate(2000, 2, 29) << 72687 + 59 << 2;
    QTest::newRow("Sunday 5 January 2025") << QDate(2025, 1, 5) << 81823 << 0;
    QTest::newRow("Monday 6 January 2025") << QDate(2025, 1, 6) << 81824 << 1;
}

void TestStdDateTime::datesMatchTheCalendar()
{
    QFETCH(QDate, date);
    QFETCH(qint32, standard);
    QFETCH(int, weekday);

    QCOMPARE(fromQDate(date), standard);
    QCOMPARE(toQDate(standard), date);
    QCOMPARE(fromYmd(date.year(), date.month(), date.day()), standard);
    int y = 0, m = 0, d = 0;
    QVERIFY(toYmd(standard, &y, &m, &d));
    QCOMPARE(QDate(y, m, d), date);
    QCOMPARE(year(standard), date.year());
    QCOMPARE(month(standard), date.month());
    QCOMPARE(day(standard), date.day());
    QCOMPARE(StdDateTime::weekday(standard), weekday);
    QCOMPARE(StdDateTime::weekday(standard), date.dayOfWeek() % 7);
    QCOMPARE(isWeekend(standard), weekday == 0 || weekday == 6);
}

void TestStdDateTime::noDate()
{
    QCOMPARE(fromQDate(QDate()), NoDate);
    QCOMPARE(fromQDate(QDate(1800, 12, 28)), NoDate);
    QCOMPARE(fromYmd(2023, 2, 29), NoDate);
    QCOMPARE(fromYmd(2023, 13, 1), NoDate);
    QVERIFY(!toQDate(0).isValid());
    QVERIFY(!toQDate(-5).isValid());
    int y = 7;
    QVERIFY(!toYmd(0, &y, nullptr, nullptr));
    QCOMPARE(y, 7);
    QCOMPARE(year(0), 0);
    QCOMPARE(month(0), 0);
    QCOMPARE(day(0), 0);
    QCOMPARE(weekday(0), -1);
    QVERIFY(!isWeekend(0));
}

void TestStdDateTime::months_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("days");

    QTest::newRow("January") << 2025 << 1 << 31;
    QTest::newRow("April") << 2025 << 4 << 30;
    QTest::newRow("February of a common year") << 2023 << 2 << 28;
    QTest::newRow("February of a leap year") << 2024 << 2 << 29;
    QTest::newRow("February 2000") << 2000 << 2 << 29;
    QTest::newRow("February 2100") << 2100 << 2 << 28;
    QTest::newRow("December") << 2024 << 12 << 31;
}

void TestStdDateTime::months()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, days);

    QCOMPARE(daysInMonth(year, month), days);
    QCOMPARE(firstDayOfMonth(year, month), fromYmd(year, month, 1));
    QCOMPARE(lastDayOfMonth(year, month), fromYmd(year, month, days));
    QCOMPARE(lastDayOfMonth(year, month) - firstDayOfMonth(year, month) + 1, days);
}

void TestStdDateTime::timesMatchTheClock_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<qint32>("standard");

    QTest::newRow("midnight") << QTime(0, 0) << 1;
    QTest::newRow("one hundredth") << QTime(0, 0, 0, 10) << 2;
    QTest::newRow("08:00") << QTime(8, 0) << 2880001;
    QTest::newRow("14:30:15") << QTime(14, 30, 15) << 14 * 360000 + 30 * 6000 + 15 * 100 + 1;
    QTest::newRow("last hundredth") << QTime(23, 59, 59, 990) << 8640000;
}

void TestStdDateTime::timesMatchTheClock()
{
    QFETCH(QTime, time);
    QFETCH(qint32, standard);

    QCOMPARE(fromQTime(time), standard);
    QCOMPARE(toQTime(standard), time);
    QCOMPARE(fromHms(time.hour(), time.minute(), time.second(), time.msec() / 10), standard);
}

void TestStdDateTime::noTime()
{
    QCOMPARE(fromQTime(QTime()), NoTime);
    QCOMPARE(fromHms(24, 0), NoTime);
    QCOMPARE(fromHms(8, 60), NoTime);
    QCOMPARE(fromHms(8, 0, 0, 100), NoTime);
    QVERIFY(!toQTime(0).isValid());
    QVERIFY(!toQTime(-1).isValid());
    QVERIFY(!toQTime(8640001).isValid());
}

void TestStdDateTime::timeOfDayDropsMidnightAndNonsense_data()
{
    QTest::addColumn<qint32>("standard");
    QTest::addColumn<qint32>("timeOfDay");

    QTest::newRow("no time") << 0 << 0;
    QTest::newRow("midnight") << 1 << 0;
    QTest::newRow("one hundredth after midnight") << 2 << 2;
    QTest::newRow("04:00") << 1440001 << 1440001;
    QTest::newRow("last hundredth") << 8640000 << 8640000;
    QTest::newRow("beyond the day") << 8640001 << 0;
    QTest::newRow("negative") << -5 << 0;
}

void TestStdDateTime::timeOfDayDropsMidnightAndNonsense()
{
    QFETCH(qint32, standard);
    QFETCH(qint32, timeOfDay);
    QCOMPARE(StdDateTime::timeOfDay(standard), timeOfDay);
}

namespace {
constexpr qint64 hms(qint64 h, qint64 m, qint64 s = 0, qint64 hundredths = 0)
{
    return h * 360000 + m * 6000 + s * 100 + hundredths;
}
} // namespace

void TestStdDateTime::amountText_data()
{
    QTest::addColumn<qint64>("amount");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << QStringLiteral("0:00");
    QTest::newRow("eight hours") << hms(8, 0) << QStringLiteral("8:00");
    QTest::newRow("eight hours and a hundredth") << hms(8, 0) + 1 << QStringLiteral("8:00");
    QTest::newRow("59 minutes") << hms(0, 59) << QStringLiteral("0:59");
    QTest::newRow("2 minutes") << hms(0, 2) << QStringLiteral("0:02");
    QTest::newRow("7:59:50 carries into the hours") << hms(7, 59, 50) << QStringLiteral("8:00");
    QTest::newRow("7:59:29.99 stays") << hms(7, 59, 29, 99) << QStringLiteral("7:59");
    QTest::newRow("half a minute rounds up") << hms(2, 20, 30) << QStringLiteral("2:21");
    QTest::newRow("just under half a minute") << hms(2, 20, 29, 99) << QStringLiteral("2:20");
    QTest::newRow("three times 2:20:30") << 3 * hms(2, 20, 30) << QStringLiteral("7:02");
    QTest::newRow("hundreds of hours") << hms(160, 5) << QStringLiteral("160:05");
    QTest::newRow("minus half an hour") << -hms(0, 30) << QStringLiteral("-0:30");
    QTest::newRow("minus 8:15") << -hms(8, 15) << QStringLiteral("-8:15");
    QTest::newRow("minus half a minute rounds away") << -hms(0, 0, 30) << QStringLiteral("-0:01");
    QTest::newRow("minus a few seconds is zero") << -hms(0, 0, 29, 99) << QStringLiteral("0:00");
    QTest::newRow("minus one hundredth") << qint64(-1) << QStringLiteral("0:00");
}

void TestStdDateTime::amountText()
{
    QFETCH(qint64, amount);
    QFETCH(QString, text);
    QCOMPARE(StdDateTime::amountText(amount), text);
}

void TestStdDateTime::signedAmountText_data()
{
    QTest::addColumn<qint64>("amount");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << QStringLiteral("0:00");
    QTest::newRow("minus one hundredth") << qint64(-1) << QStringLiteral("0:00");
    QTest::newRow("plus a few seconds") << hms(0, 0, 29) << QStringLiteral("0:00");
    QTest::newRow("plus half a minute") << hms(0, 0, 30) << QStringLiteral("+0:01");
    QTest::newRow("plus five hours") << hms(5, 0) << QStringLiteral("+5:00");
    QTest::newRow("minus half an hour") << -hms(0, 30) << QStringLiteral("-0:30");
    QTest::newRow("minus 152 hours") << -hms(152, 0) << QStringLiteral("-152:00");
    QTest::newRow("plus 0:59") << hms(0, 59) << QStringLiteral("+0:59");
}

void TestStdDateTime::signedAmountText()
{
    QFETCH(qint64, amount);
    QFETCH(QString, text);
    QCOMPARE(StdDateTime::signedAmountText(amount), text);
}

QTEST_GUILESS_MAIN(TestStdDateTime)
#include "tst_stddatetime.moc"
