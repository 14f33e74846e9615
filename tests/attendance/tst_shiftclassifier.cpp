#include "shiftclassifier.h"
#include "stddatetime.h"

#include <QtTest>

namespace {
qint32 at(int h, int m)
{
    return StdDateTime::fromHms(h, m);
}
} // namespace

// The shift of an arrival by the three boundaries of SETINGS record 1.
class TestShiftClassifier : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
};

void TestShiftClassifier::classify_data()
{
    QTest::addColumn<qint32>("nocniDo");
    QTest::addColumn<qint32>("ranniDo");
    QTest::addColumn<qint32>("odpoledniDo");
    QTest::addColumn<qint32>("arrival");
    QTest::addColumn<int>("shift");

    using namespace ShiftClassifier;
    const qint32 n4 = at(4, 0), r12 = at(12, 0), o20 = at(20, 0);
    QTest::newRow("03:59 night") << n4 << r12 << o20 << at(3, 59) << int(Nocni);
    QTest::newRow("04:00 morning") << n4 << r12 << o20 << at(4, 0) << int(Ranni);
    QTest::newRow("12:00 morning") << n4 << r12 << o20 << at(12, 0) << int(Ranni);
    QTest::newRow("12:01 afternoon") << n4 << r12 << o20 << at(12, 1) << int(Odpoledni);
    QTest::newRow("20:00 afternoon") << n4 << r12 << o20 << at(20, 0) << int(Odpoledni);
    QTest::newRow("20:01 night") << n4 << r12 << o20 << at(20, 1) << int(Nocni);
    QTest::newRow("midnight night") << n4 << r12 << o20 << at(0, 0) << int(Nocni);

    // Without record 1 every boundary is 0 and the third test takes every arrival.
    QTest::newRow("no record, 00:00") << 0 << 0 << 0 << at(0, 0) << int(Nocni);
    QTest::newRow("no record, 00:01") << 0 << 0 << 0 << at(0, 1) << int(Nocni);
    QTest::newRow("no record, 08:00") << 0 << 0 << 0 << at(8, 0) << int(Nocni);
    QTest::newRow("no record, 23:59") << 0 << 0 << 0 << at(23, 59) << int(Nocni);

    // A boundary entered as 00:00 (stored 1) is the empty time 0, not one hundredth: taken as
    // stored, "morning until 00:00" would make a midnight arrival morning.
    const qint32 midnight = StdDateTime::Midnight;
    QTest::newRow("all 00:00, arrival 00:00") << midnight << midnight << midnight << at(0, 0) << int(Nocni);
    QTest::newRow("morning until 00:00") << 0 << midnight << o20 << at(0, 0) << int(Odpoledni);
    QTest::newRow("afternoon until 00:00") << 0 << 0 << midnight << at(0, 0) << int(Nocni);

    // Out of order: night until 10:00, morning until 06:00, afternoon until 20:00.
    const qint32 n10 = at(10, 0), r6 = at(6, 0);
    QTest::newRow("out of order 05:00 night") << n10 << r6 << o20 << at(5, 0) << int(Nocni);
    QTest::newRow("out of order 08:00 afternoon") << n10 << r6 << o20 << at(8, 0) << int(Odpoledni);
    QTest::newRow("out of order 21:00 night") << n10 << r6 << o20 << at(21, 0) << int(Nocni);
    QTest::newRow("out of order 06:00 afternoon") << n10 << r6 << o20 << at(6, 0) << int(Odpoledni);
}

void TestShiftClassifier::classify()
{
    QFETCH(qint32, nocniDo);
    QFETCH(qint32, ranniDo);
    QFETCH(qint32, odpoledniDo);
    QFETCH(qint32, arrival);
    QFETCH(int, shift);

    const ShiftBoundaries boundaries{ranniDo, odpoledniDo, nocniDo};
    QCOMPARE(int(ShiftClassifier::classify(arrival, boundaries)), shift);
}

QTEST_GUILESS_MAIN(TestShiftClassifier)
#include "tst_shiftclassifier.moc"
