#include "changesignal.h"
#include "datacontext.h"
#include "scratchdir.h"
#include "scriptedreporter.h"

#include <QFile>
#include <QtTest>

namespace {

void putState(const QString &dir, qint64 id, qint64 ready, qint64 time, qint64 date)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::STATE);
    fm.record().clear();
    fm.record().setInteger(STA::ID, id);
    fm.record().setInteger(STA::READY2UPDATE, ready);
    fm.record().setInteger(STA::UPDATETIMESTAMP, time);
    fm.record().setInteger(STA::UPDATEDATESTAMP, date);
    QVERIFY(fm.insert().ok());
}

// {READY2UPDATE, UPDATETIMESTAMP, UPDATEDATESTAMP} of record `id`, or {-1} when there is none.
QList<qint64> state(const QString &dir, qint64 id)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::STATE);
    if (!fm.fetch(STA::PRIMARY, {QVariant(id)}))
        return {-1};
    return {fm.record().integer(STA::READY2UPDATE), fm.record().integer(STA::UPDATETIMESTAMP),
            fm.record().integer(STA::UPDATEDATESTAMP)};
}

qint64 stateRows(const QString &dir)
{
    DataContext c(dir);
    qint64 n = -1;
    c.file(TableId::STATE).count({}, &n);
    return n;
}

} // namespace

// The change signal in STATE record 1: one write of the flag alone.
class TstChangeSignal : public QObject
{
    Q_OBJECT

private slots:
    void createsRecordOneWhenStateIsEmpty();
    void setsOnlyTheFlagOfRecordOne_data();
    void setsOnlyTheFlagOfRecordOne();
    void keepsWhatTheServiceWroteSinceItWasRead();
    void readOnlyTableFailsAndWritesNothing();
};

void TstChangeSignal::createsRecordOneWhenStateIsEmpty()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    QString error = QStringLiteral("stale");
    QVERIFY(raiseChangeSignal(ctx, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(state(dir.path(), 1), (QList<qint64>{1, 0, 0}));
    QCOMPARE(stateRows(dir.path()), 1);
    // Raised again: still one record.
    QVERIFY(raiseChangeSignal(ctx, nullptr));
    QCOMPARE(stateRows(dir.path()), 1);
    QVERIFY(reporter.entries().isEmpty());
    // The counted open of the signal is its own: the context holds no STATE open afterwards.
    QCOMPARE(ctx.file(TableId::STATE).openCount(), 0);
}

void TstChangeSignal::setsOnlyTheFlagOfRecordOne_data()
{
    QTest::addColumn<qint64>("ready");
    QTest::newRow("flag cleared by the service") << qint64(0);
    QTest::newRow("flag already set") << qint64(1);
    QTest::newRow("flag with another value") << qint64(7);
}

void TstChangeSignal::setsOnlyTheFlagOfRecordOne()
{
    QFETCH(qint64, ready);
    ScratchDir dir;
    ScriptedReporter reporter;
    putState(dir.path(), 1, ready, 123456, 80000);
    putState(dir.path(), 2, 0, 5, 6);
    DataContext ctx(dir.path());
    ctx.file(TableId::STATE).open();
    QVERIFY(raiseChangeSignal(ctx, nullptr));
    // A table the caller opened stays open.
    QCOMPARE(ctx.file(TableId::STATE).openCount(), 1);
    ctx.file(TableId::STATE).close();
    QCOMPARE(state(dir.path(), 1), (QList<qint64>{1, 123456, 80000}));
    QCOMPARE(state(dir.path(), 2), (QList<qint64>{0, 5, 6}));
    QCOMPARE(stateRows(dir.path()), 2);
}

void TstChangeSignal::keepsWhatTheServiceWroteSinceItWasRead()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    putState(dir.path(), 1, 0, 100, 200);
    DataContext ctx(dir.path());
    FileManager &fm = ctx.file(TableId::STATE);
    QVERIFY(fm.fetch(STA::PRIMARY, {QVariant(qint64(1))}));
    {
        // The communication service, between the program's read and its write.
        DataContext service(dir.path());
        FileManager &s = service.file(TableId::STATE);
        QVERIFY(s.fetch(STA::PRIMARY, {QVariant(qint64(1))}));
        s.record().setInteger(STA::UPDATETIMESTAMP, 999);
        s.record().setInteger(STA::UPDATEDATESTAMP, 888);
        QVERIFY(s.update().ok());
    }
    QVERIFY(raiseChangeSignal(ctx, nullptr));
    QCOMPARE(state(dir.path(), 1), (QList<qint64>{1, 999, 888}));
    // The context's buffer is not the signal's: it still holds what was read.
    QCOMPARE(fm.record().integer(STA::READY2UPDATE), 0);
    QCOMPARE(fm.record().integer(STA::UPDATETIMESTAMP), 100);
}

void TstChangeSignal::readOnlyTableFailsAndWritesNothing()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    putState(dir.path(), 1, 0, 1, 2);
    const QString path = dir.file(tableDef(TableId::STATE).fileName());
    QVERIFY(QFile::exists(path));
    // No write bits: the table opens for reading only (whoever runs the tests).
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    DataContext ctx(dir.path());
    QString error;
    QVERIFY(!raiseChangeSignal(ctx, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(state(dir.path(), 1), (QList<qint64>{0, 1, 2}));
}

QTEST_GUILESS_MAIN(TstChangeSignal)
#include "tst_changesignal.moc"
