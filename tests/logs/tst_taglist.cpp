#include "taglist.h"

#include <QtTest>

namespace {

using Ranges = std::vector<TagList::Range>;

QList<qint64> within(const TagList &tags, qint64 first, qint64 last, bool tagged, qint64 most, bool *fits)
{
    std::vector<qint64> out;
    *fits = tags.numbersWithin(first, last, tagged, most, &out);
    return QList<qint64>(out.begin(), out.end());
}

} // namespace

// The tag list of the log windows: the entry numbers it holds, kept as ranges.
class TstTagList : public QObject
{
    Q_OBJECT

private slots:
    void toggleJoinsAndSplitsRanges();
    void tagAllAndInvert_data();
    void tagAllAndInvert();
    void numbersWithinAsked();
    void changesAreSignalled();
};

void TstTagList::toggleJoinsAndSplitsRanges()
{
    TagList tags;
    for (qint64 id : {5, 7, 6, 9})
        QVERIFY(tags.toggle(id));
    QCOMPARE(tags.ranges(), (Ranges{{5, 7}, {9, 9}}));
    QVERIFY(tags.toggle(8));  // fills the gap: one range
    QCOMPARE(tags.ranges(), (Ranges{{5, 9}}));
    QVERIFY(!tags.toggle(7));  // splits it
    QCOMPARE(tags.ranges(), (Ranges{{5, 6}, {8, 9}}));
    QVERIFY(!tags.toggle(5));
    QVERIFY(!tags.toggle(9));
    QCOMPARE(tags.ranges(), (Ranges{{6, 6}, {8, 8}}));
    QVERIFY(tags.contains(6) && tags.contains(8));
    QVERIFY(!tags.contains(5) && !tags.contains(7) && !tags.contains(9));
    QCOMPARE(tags.count(), 2);
    tags.setTagged(8, true);  // already tagged: no change
    tags.setTagged(6, false);
    tags.setTagged(8, false);
    QVERIFY(tags.isEmpty());
}

void TstTagList::tagAllAndInvert_data()
{
    QTest::addColumn<QList<qint64>>("toggled");  // after tagging 1..10
    QTest::addColumn<qint64>("invertLast");      // the log's last number when inverted
    QTest::addColumn<QList<qint64>>("tagged");   // after inverting within 1..invertLast

    QTest::newRow("all tagged: none after") << QList<qint64>{} << qint64(10) << QList<qint64>{};
    QTest::newRow("two untagged: only they after") << QList<qint64>{3, 10} << qint64(10) << QList<qint64>{3, 10};
    QTest::newRow("log grew: new rows tagged") << QList<qint64>{1} << qint64(12) << QList<qint64>{1, 11, 12};
    QTest::newRow("log shrank: numbers beyond it go") << QList<qint64>{2, 15} << qint64(8) << QList<qint64>{2};
}

void TstTagList::tagAllAndInvert()
{
    QFETCH(QList<qint64>, toggled);
    QFETCH(qint64, invertLast);
    QFETCH(QList<qint64>, tagged);
    TagList tags;
    tags.toggle(42);
    tags.tagAll(1, 10);
    QVERIFY(!tags.contains(42));  // tag all starts afresh
    QCOMPARE(tags.count(), 10);
    for (qint64 id : toggled)
        tags.toggle(id);
    tags.invert(1, invertLast);
    QList<qint64> now;
    for (const TagList::Range &r : tags.ranges())
        for (qint64 id = r.first; id <= r.last; ++id)
            now << id;
    QCOMPARE(now, tagged);

    tags.tagAll(5, 4);  // an empty log
    QVERIFY(tags.isEmpty());
    tags.invert(1, 0);
    QVERIFY(tags.isEmpty());
}

void TstTagList::numbersWithinAsked()
{
    TagList tags;
    tags.tagAll(3, 6);
    tags.toggle(10);
    bool fits = false;
    QCOMPARE(within(tags, 1, 12, true, 10, &fits), (QList<qint64>{3, 4, 5, 6, 10}));
    QVERIFY(fits);
    QCOMPARE(within(tags, 1, 12, false, 10, &fits), (QList<qint64>{1, 2, 7, 8, 9, 11, 12}));
    QVERIFY(fits);
    QCOMPARE(within(tags, 5, 9, true, 10, &fits), (QList<qint64>{5, 6}));
    QCOMPARE(within(tags, 1, 12, false, 6, &fits), QList<qint64>{});
    QVERIFY(!fits);  // seven untagged numbers, at most six asked for
    QCOMPARE(within(tags, 1, 1000000, true, 5, &fits), (QList<qint64>{3, 4, 5, 6, 10}));
    QVERIFY(fits);
    QCOMPARE(within(tags, 4, 3, false, 5, &fits), QList<qint64>{});
    QVERIFY(fits);
}

void TstTagList::changesAreSignalled()
{
    TagList tags;
    QSignalSpy spy(&tags, &TagList::changed);
    const quint64 before = tags.generation();
    tags.toggle(1);
    tags.tagAll(1, 5);
    tags.invert(1, 5);
    tags.clear();
    QCOMPARE(spy.count(), 4);
    QCOMPARE(tags.generation(), before + 4);
    QCOMPARE(&TAGQUE_KAR(), &TAGQUE_KAR());
}

QTEST_GUILESS_MAIN(TstTagList)
#include "tst_taglist.moc"
