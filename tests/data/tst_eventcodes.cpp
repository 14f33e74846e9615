#include "eventcodes.h"

#include <QtTest>

// The texts, groups and row colours of the log's event codes as the two people windows, the
// entry form and the monthly report use them.
class TestEventCodes : public QObject
{
    Q_OBJECT

private slots:
    void textsAndGroups_data();
    void textsAndGroups();
    void rowColours_data();
    void rowColours();
    void tableHoldsTheTenCodesOnce();
    void entryFormOrder();
};

void TestEventCodes::textsAndGroups_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("attendanceText");
    QTest::addColumn<QString>("accessText");
    QTest::addColumn<bool>("isAttendance");

    const QString none;
    QTest::newRow("10 paid out") << 10 << QStringLiteral("Proplaceno") << none << true;
    QTest::newRow("11 positive balance") << 11 << QStringLiteral("Výchozí kladný") << none << true;
    QTest::newRow("12 negative balance") << 12 << QStringLiteral("Výchozí záporný") << none << true;
    QTest::newRow("13 sickness") << 13 << QStringLiteral("Nemoc") << none << true;
    QTest::newRow("15 vacation, attendance only") << 15 << QStringLiteral("Dovolená") << none << true;
    QTest::newRow("41 arrival in both") << 41 << QStringLiteral("Příchod") << QStringLiteral("Příchod") << true;
    QTest::newRow("43 departure in both") << 43 << QStringLiteral("Odchod") << QStringLiteral("Odchod") << true;
    QTest::newRow("51 access only") << 51 << none << QStringLiteral("Otevírám dveře") << false;
    QTest::newRow("53 access only") << 53 << none << QStringLiteral("Zamítnut přístup") << false;
    QTest::newRow("66 access only") << 66 << none << QStringLiteral("GSM - otevřena brána") << false;
    QTest::newRow("0 in neither") << 0 << none << none << false;
    QTest::newRow("14 in neither") << 14 << none << none << false;
    QTest::newRow("42 in neither") << 42 << none << none << false;
    QTest::newRow("255 in neither") << 255 << none << none << false;
    QTest::newRow("-1 in neither") << -1 << none << none << false;
}

void TestEventCodes::textsAndGroups()
{
    QFETCH(int, code);
    QFETCH(QString, attendanceText);
    QFETCH(QString, accessText);
    QFETCH(bool, isAttendance);

    QCOMPARE(EventCodes::attendanceText(code), attendanceText);
    QCOMPARE(EventCodes::accessText(code), accessText);
    QCOMPARE(EventCodes::isAttendanceCode(code), isAttendance);
}

void TestEventCodes::rowColours_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("coloured");
    QTest::addColumn<quint32>("rgb");

    QTest::newRow("arrival dark green") << 41 << true << quint32(0x008040);
    QTest::newRow("departure red") << 43 << true << quint32(0xFF0000);
    QTest::newRow("vacation default") << 15 << false << quint32(0);
    QTest::newRow("door opened default") << 51 << false << quint32(0);
    QTest::newRow("unknown default") << 0 << false << quint32(0);
}

void TestEventCodes::rowColours()
{
    QFETCH(int, code);
    QFETCH(bool, coloured);
    QFETCH(quint32, rgb);

    const std::optional<quint32> colour = EventCodes::attendanceRowColour(code);
    QCOMPARE(colour.has_value(), coloured);
    if (coloured)
        QCOMPARE(*colour, rgb);
}

void TestEventCodes::tableHoldsTheTenCodesOnce()
{
    QList<int> codes;
    QList<int> attendance;
    QList<int> access;
    for (const EventCodes::Entry &e : EventCodes::table()) {
        codes.append(e.code);
        if (e.attendance)
            attendance.append(e.code);
        if (e.access)
            access.append(e.code);
        QCOMPARE(EventCodes::find(e.code), &e);
    }
    QCOMPARE(codes, (QList<int>{10, 11, 12, 13, 15, 41, 43, 51, 53, 66}));
    QCOMPARE(attendance, (QList<int>{10, 11, 12, 13, 15, 41, 43}));
    QCOMPARE(access, (QList<int>{41, 43, 51, 53, 66}));
    QCOMPARE(EventCodes::find(14), nullptr);
}

void TestEventCodes::entryFormOrder()
{
    QStringList texts;
    for (int code : EventCodes::attendanceEntryOrder())
        texts.append(EventCodes::attendanceText(code));
    QCOMPARE(texts, (QStringList{QStringLiteral("Příchod"), QStringLiteral("Odchod"),
                                 QStringLiteral("Dovolená"), QStringLiteral("Nemoc"),
                                 QStringLiteral("Proplaceno"), QStringLiteral("Výchozí kladný"),
                                 QStringLiteral("Výchozí záporný")}));
}

QTEST_GUILESS_MAIN(TestEventCodes)
#include "tst_eventcodes.moc"
