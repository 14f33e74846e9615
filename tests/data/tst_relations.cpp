#include "datacontext.h"
#include "faultystore.h"
#include "scratchdir.h"
#include "scriptedreporter.h"

#include <QFile>
#include <QtTest>
#include <atomic>
#include <sqlite3.h>
#include <thread>

// The relation rules, the refusal of stale writes, and what is left after a failure.
class TstRelations : public QObject
{
    Q_OBJECT

private slots:
    void restrictThenSucceedsWithAnotherHolder();
    void clearOnUnitDeletion();
    void cascadeOnRenumbering();
    void staleWriteRefused();
    void failureAnywhereInACascadeLeavesBothTables_data();
    void failureAnywhereInACascadeLeavesBothTables();
    void plainConnectionWritesDuringCascades();
    void lockedFileGivesTransactionFailed();
    void readOnlyFileOpensWithNotice();
    void damagedKeyIsRebuilt();
    void notADatabaseIsNeverWritten();
};

namespace {

qint64 addPerson(DataContext &ctx, const QString &name)
{
    FileManager &fm = ctx.file(TableId::ADR_DAT);
    fm.primeRecord();
    fm.record().setText(ADR::NAZEV, name);
    return fm.insert().ok() ? fm.record().integer(ADR::KOD) : -1;
}

qint64 addCard(DataContext &ctx, qint64 holder)
{
    FileManager &fm = ctx.file(TableId::CARDS);
    fm.primeRecord();
    fm.record().setInteger(CAR::DRZITEL, holder);
    return fm.insert().ok() ? fm.record().integer(CAR::ID) : -1;
}

void addUnit(DataContext &ctx, int id)
{
    FileManager &fm = ctx.file(TableId::GCU_POK);
    fm.primeRecord();
    fm.record().setInteger(GCP::ID_GCU, id);
    QVERIFY(fm.insert().ok());
}

void addLog(DataContext &ctx, int reader, int count)
{
    FileManager &fm = ctx.file(TableId::LOG_POKOJE);
    for (int i = 0; i < count; ++i) {
        fm.primeRecord();
        fm.record().setInteger(LPO::CTECKA, reader);
        fm.record().setInteger(LPO::DATA, 41);
        QVERIFY(fm.insert().ok());
    }
}

qint64 countWhere(DataContext &ctx, TableId t, int field, qint64 value)
{
    qint64 n = -1;
    ctx.file(t).count({{field, Condition::Eq, value}}, &n);
    return n;
}

} // namespace

void TstRelations::restrictThenSucceedsWithAnotherHolder()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    const qint64 anna = addPerson(ctx, QStringLiteral("Anna"));
    const qint64 petr = addPerson(ctx, QStringLiteral("Petr"));
    const qint64 card = addCard(ctx, anna);
    RelationManager &people = ctx.relation(TableId::ADR_DAT);
    people.open();
    QVERIFY(people.file().fetch(ADR::KeyKod, {anna}));
    const OpResult refused = people.remove();
    QVERIFY(isRestrictRefusal(refused));
    QCOMPARE(countWhere(ctx, TableId::ADR_DAT, ADR::KOD, anna), 1);

    FileManager &cards = ctx.file(TableId::CARDS);
    QVERIFY(cards.fetch(CAR::Primary, {card}));
    cards.record().setInteger(CAR::DRZITEL, petr);
    QVERIFY(ctx.relation(TableId::CARDS).update().ok());
    QVERIFY(people.file().fetch(ADR::KeyKod, {anna}));
    QVERIFY(people.remove().ok());
    QCOMPARE(countWhere(ctx, TableId::ADR_DAT, ADR::KOD, anna), 0);
    people.close();
}

void TstRelations::clearOnUnitDeletion()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    addUnit(ctx, 3);
    addUnit(ctx, 4);
    addLog(ctx, 3, 5);
    addLog(ctx, 4, 2);
    RelationManager &units = ctx.relation(TableId::GCU_POK);
    QVERIFY(units.file().fetch(GCP::PRIMARY, {3}));
    QVERIFY(units.remove().ok());
    QCOMPARE(countWhere(ctx, TableId::LOG_POKOJE, LPO::CTECKA, 0), 5);
    QCOMPARE(countWhere(ctx, TableId::LOG_POKOJE, LPO::CTECKA, 4), 2);
    QCOMPARE(countWhere(ctx, TableId::GCU_POK, GCP::ID_GCU, 3), 0);
}

void TstRelations::cascadeOnRenumbering()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    addUnit(ctx, 3);
    addLog(ctx, 3, 4);
    addLog(ctx, 5, 1);
    RelationManager &units = ctx.relation(TableId::GCU_POK);
    QVERIFY(units.file().fetch(GCP::PRIMARY, {3}));
    units.file().record().setInteger(GCP::ID_GCU, 7);
    QVERIFY(units.update().ok());
    QCOMPARE(countWhere(ctx, TableId::LOG_POKOJE, LPO::CTECKA, 7), 4);
    QCOMPARE(countWhere(ctx, TableId::LOG_POKOJE, LPO::CTECKA, 3), 0);
    QCOMPARE(countWhere(ctx, TableId::LOG_POKOJE, LPO::CTECKA, 5), 1);

    // A person renumbered carries the number into the cards.
    const qint64 p = addPerson(ctx, QStringLiteral("Eva"));
    addCard(ctx, p);
    RelationManager &people = ctx.relation(TableId::ADR_DAT);
    QVERIFY(people.file().fetch(ADR::KeyKod, {p}));
    people.file().record().setInteger(ADR::KOD, 40);
    QVERIFY(people.update().ok());
    QCOMPARE(countWhere(ctx, TableId::CARDS, CAR::DRZITEL, 40), 1);
}

void TstRelations::staleWriteRefused()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext first(dir.path());
    DataContext second(dir.path());
    const qint64 card = addCard(first, 0);
    FileManager &a = first.file(TableId::CARDS);
    FileManager &b = second.file(TableId::CARDS);
    QVERIFY(a.fetch(CAR::Primary, {card}));
    QVERIFY(b.fetch(CAR::Primary, {card}));
    a.record().setText(CAR::KOD_RFID, QStringLiteral("AAAA"));
    QVERIFY(first.relation(TableId::CARDS).update().ok());
    b.record().setText(CAR::KOD_RFID, QStringLiteral("BBBB"));
    const OpResult r = second.relation(TableId::CARDS).update();
    QCOMPARE(r.status, StoreStatus::Changed);
    reportFailure(r, Operation::Change, b.def(), true);
    QCOMPARE(reporter.entries().last().title, QStringLiteral("Změna nebyla provedena"));
    QVERIFY(reporter.entries().last().text.contains(QStringLiteral("Ctrl+H")));
    QVERIFY(b.fetch(CAR::Primary, {card}));
    QCOMPARE(b.record().text(CAR::KOD_RFID), QStringLiteral("AAAA"));

    // A deletion of a record another station deleted meanwhile is refused as well.
    QVERIFY(a.fetch(CAR::Primary, {card}));
    QVERIFY(first.relation(TableId::CARDS).remove().ok());
    QCOMPARE(second.relation(TableId::CARDS).remove().status, StoreStatus::Changed);
}

void TstRelations::failureAnywhereInACascadeLeavesBothTables_data()
{
    QTest::addColumn<int>("failAt");
    QTest::newRow("unit write") << 0;
    QTest::newRow("log cascade") << 1;
    QTest::newRow("commit") << 2;
}

void TstRelations::failureAnywhereInACascadeLeavesBothTables()
{
    QFETCH(int, failAt);
    ScratchDir dir;
    ScriptedReporter reporter;
    {
        DataContext setup(dir.path());
        addUnit(setup, 3);
        addLog(setup, 3, 3);
    }
    FaultyStore *faulty = nullptr;
    DataContext::setStoreFactory([&](const QString &d) {
        auto s = std::make_unique<FaultyStore>(d);
        faulty = s.get();
        return s;
    });
    DataContext ctx(dir.path());
    DataContext::setStoreFactory({});
    RelationManager &units = ctx.relation(TableId::GCU_POK);
    QVERIFY(units.file().fetch(GCP::PRIMARY, {3}));
    units.file().record().setInteger(GCP::ID_GCU, 7);
    faulty->writes = 0;
    faulty->failAt = failAt;
    const OpResult r = units.update();
    QCOMPARE(r.status, StoreStatus::IoError);
    QVERIFY(!ctx.store().inTransaction());
    DataContext check(dir.path());
    QCOMPARE(countWhere(check, TableId::GCU_POK, GCP::ID_GCU, 3), 1);
    QCOMPARE(countWhere(check, TableId::GCU_POK, GCP::ID_GCU, 7), 0);
    QCOMPARE(countWhere(check, TableId::LOG_POKOJE, LPO::CTECKA, 3), 3);
    // The same change succeeds once the fault is gone: nothing was left half done.
    faulty->failAt = -1;
    QVERIFY(units.update().ok());
    QCOMPARE(countWhere(check, TableId::LOG_POKOJE, LPO::CTECKA, 7), 3);
}

void TstRelations::plainConnectionWritesDuringCascades()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    addUnit(ctx, 1);
    addLog(ctx, 1, 50);
    const QByteArray logPath = QFile::encodeName(dir.file(QStringLiteral("logy_pokoje.sqlite")));
    std::atomic<bool> stop{false};
    std::atomic<int> written{0};
    std::thread service([&] {
        sqlite3 *db = nullptr;
        sqlite3_open(logPath.constData(), &db);
        sqlite3_busy_timeout(db, 10000);
        while (!stop) {
            if (sqlite3_exec(db, "INSERT INTO LOG_POKOJE (KARTA, CTECKA, DATA) VALUES ('SVC', 9, 51)", nullptr, nullptr,
                             nullptr) == SQLITE_OK)
                ++written;
            // Far busier than a real service (some hundred events a second), but not a lock held forever.
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        sqlite3_close(db);
    });
    struct Joiner {
        std::atomic<bool> &stop;
        std::thread &t;
        ~Joiner()
        {
            stop = true;
            if (t.joinable())
                t.join();
        }
    } joiner{stop, service};
    RelationManager &units = ctx.relation(TableId::GCU_POK);
    int done = 0;
    QStringList failures;
    for (int i = 0; i < 40; ++i) {
        QVERIFY(units.file().fetch(GCP::PRIMARY, {i % 2 ? 2 : 1}));
        units.file().record().setInteger(GCP::ID_GCU, i % 2 ? 1 : 2);
        const OpResult r = units.update();
        if (r.ok())
            ++done;
        else
            failures << r.text;
    }
    stop = true;
    service.join();
    QVERIFY(written.load() > 0);
    QVERIFY2(done == 40, qPrintable(failures.join(QLatin1Char('\n'))));
    QCOMPARE(countWhere(ctx, TableId::LOG_POKOJE, LPO::CTECKA, 9), written.load());
    QCOMPARE(countWhere(ctx, TableId::LOG_POKOJE, LPO::CTECKA, 1), 50);
}

void TstRelations::lockedFileGivesTransactionFailed()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    addUnit(ctx, 3);
    addLog(ctx, 3, 1);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(dir.file(QStringLiteral("logy_pokoje.sqlite"))).constData(), &db);
    QCOMPARE(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    RelationManager &units = ctx.relation(TableId::GCU_POK);
    QVERIFY(units.file().fetch(GCP::PRIMARY, {3}));
    units.file().record().setInteger(GCP::ID_GCU, 7);
    QElapsedTimer t;
    t.start();
    const OpResult r = units.update();
    QCOMPARE(r.status, StoreStatus::Busy);
    QCOMPARE(messageFor(r, Operation::Change, true), MessageId::TransactionFailed);
    QVERIFY(t.elapsed() >= 1500);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(countWhere(ctx, TableId::GCU_POK, GCP::ID_GCU, 3), 1);
}

void TstRelations::readOnlyFileOpensWithNotice()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    {
        DataContext setup(dir.path());
        addPerson(setup, QStringLiteral("Anna"));
    }
    const QString path = dir.file(QStringLiteral("adresar.sqlite"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    DataContext ctx(dir.path());
    FileManager &fm = ctx.file(TableId::ADR_DAT);
    QVERIFY(fm.fetch(ADR::KeyKod, {1}));
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::AccessDenied});
    QVERIFY(reporter.entries().first().text.contains(QStringLiteral("adresar")));
    fm.record().setText(ADR::NAZEV, QStringLiteral("Hana"));
    QVERIFY(!fm.update().ok());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

namespace {
// Another program's idea of the name order: the reverse of ours.
int reverseOrder(void *, int la, const void *a, int lb, const void *b)
{
    const int r = memcmp(a, b, size_t(qMin(la, lb)));
    return r != 0 ? -r : lb - la;
}
} // namespace

void TstRelations::damagedKeyIsRebuilt()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    {
        DataContext setup(dir.path());
        FileManager &fm = setup.file(TableId::KALENDAR);
        for (int i = 0; i < 30; ++i) {
            fm.primeRecord();
            fm.record().setText(KAL::NAZEV, QStringLiteral("Měsíc %1").arg(i, 2, 10, QLatin1Char('0')));
            QVERIFY(fm.insert().ok());
        }
    }
    // A program with another order writes rows: the name key's entries are now out of place.
    const QByteArray path = QFile::encodeName(dir.file(QStringLiteral("Kalendar.sqlite")));
    sqlite3 *db = nullptr;
    sqlite3_open(path.constData(), &db);
    sqlite3_create_collation(db, "CZ", SQLITE_UTF8, nullptr, reverseOrder);
    for (int i = 31; i <= 60; ++i)
        sqlite3_exec(db, QStringLiteral("INSERT INTO KALENDAR (KOD, NAZEV) VALUES (%1, 'Měsíc %1')").arg(i).toUtf8(), nullptr,
                     nullptr, nullptr);
    sqlite3_close(db);

    DataContext ctx(dir.path());
    FileManager &fm = ctx.file(TableId::KALENDAR);
    QVERIFY(fm.use());
    QString problems;
    QVERIFY(ctx.store().verify(TableId::KALENDAR, &problems).ok());
    QVERIFY2(!problems.isEmpty(), "the check finds the damaged key");
    // In use: deleting a row whose key entry is out of place makes the store report the key.
    QVERIFY(fm.fetch(KAL::KeyKod, {45}));
    QVERIFY(fm.remove().ok());
    QVERIFY(reporter.saw(MessageId::BadKey));
    QVERIFY(ctx.store().verify(TableId::KALENDAR, &problems).ok());
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
    qint64 n = 0;
    QVERIFY(fm.count({}, &n).ok());
    QCOMPARE(n, 59);
}

void TstRelations::notADatabaseIsNeverWritten()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const QString path = dir.file(QStringLiteral("status.sqlite"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QByteArray junk = QByteArray("This is the installer's notes file, not a table.\n").repeated(100);
    f.write(junk);
    f.close();
    DataContext ctx(dir.path());
    FileManager &fm = ctx.file(TableId::STATE);
    fm.open();
    QVERIFY(!fm.use());
    QVERIFY(reporter.saw(MessageId::NotADatabase));
    QVERIFY(!fm.primeRecord());
    QVERIFY(!fm.insert().ok());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), junk);
    // The other tables are not affected.
    QVERIFY(ctx.file(TableId::CARDS).use());
}

QTEST_GUILESS_MAIN(TstRelations)
#include "tst_relations.moc"
