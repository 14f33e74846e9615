#include "datacontext.h"
#include "demogenerator.h"
#include "eventcodes.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "stddatetime.h"

#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include <map>
#include <set>

// The communication-service simulator run as its own process against a demo installation.
class TstServiceSim : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesEveryEventOnceAndTakesTheSignal();
    void retriesWhileTheProgramHoldsTheLog();
    void stopsAfterTheGivenTime();
    void refusesWhatItCannotUse_data();
    void refusesWhatItCannotUse();
};

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
    qint64 written = -1;
    qint64 firstId = 0;
    qint64 lastId = 0;
    int retries = -1;
    int signalsTaken = -1;
};

qint64 number(const QString &text, const QString &pattern, int group = 1)
{
    const QRegularExpressionMatch m = QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text);
    return m.hasMatch() ? m.captured(group).toLongLong() : -1;
}

QProcess *start(const QStringList &args)
{
    auto *p = new QProcess;
    p->start(QStringLiteral(HALVANE_SERVICESIM), args);
    return p;
}

Run finish(QProcess *p)
{
    Run r;
    if (!p->waitForFinished(60000))
        p->kill();
    r.exitCode = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
    r.out = QString::fromUtf8(p->readAllStandardOutput());
    r.err = QString::fromUtf8(p->readAllStandardError());
    delete p;
    r.written = number(r.out, QStringLiteral("^events written: (\\d+)$"));
    r.firstId = number(r.out, QStringLiteral("^entries: (\\d+)\\.\\.(\\d+)$"), 1);
    r.lastId = number(r.out, QStringLiteral("^entries: (\\d+)\\.\\.(\\d+)$"), 2);
    r.retries = int(number(r.out, QStringLiteral("^retries: (\\d+)$")));
    r.signalsTaken = int(number(r.out, QStringLiteral("^change signals taken: (\\d+)$")));
    return r;
}

Run runSim(const QStringList &args)
{
    return finish(start(args));
}

void makeDemo(const QString &dir)
{
    DemoGenerator::DemoOptions o;
    o.today = QDate::currentDate();  // the cards are valid today
    QString error;
    QVERIFY2(DemoGenerator::createDemo(dir, o, &error), qPrintable(error));
}

std::vector<Record> logAfter(DataContext &ctx, qint64 id)
{
    PageRequest req = PageRequest::forKey(ctx.file(TableId::LOG_POKOJE).def(), LPO::KeyId);
    req.where = {{LPO::ID, Condition::Gt, id}};
    req.limit = 0;
    std::vector<Record> rows;
    ctx.file(TableId::LOG_POKOJE).readPage(req, &rows);
    return rows;
}

qint64 lastId(DataContext &ctx)
{
    qint64 id = 0;
    if (!ctx.file(TableId::LOG_POKOJE).use())
        return -1;
    ctx.store().maxValue(TableId::LOG_POKOJE, LPO::ID, &id);
    return id;
}

void setSignal(DataContext &ctx, int value)
{
    FileManager &state = ctx.file(TableId::STATE);
    QVERIFY(state.fetch(STA::PRIMARY, {1}));
    state.record().setInteger(STA::READY2UPDATE, value);
    QVERIFY(state.update().ok());
}

int signal(DataContext &ctx)
{
    FileManager &state = ctx.file(TableId::STATE);
    return state.fetch(STA::PRIMARY, {1}) ? int(state.record().integer(STA::READY2UPDATE)) : -1;
}

} // namespace

void TstServiceSim::init()
{
    if (QStringLiteral(HALVANE_SERVICESIM).isEmpty())
        QSKIP("halvane-servicesim is not part of this build");
}

void TstServiceSim::writesEveryEventOnceAndTakesTheSignal()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    makeDemo(dir.path());
    qint64 before = 0;
    std::map<qint64, std::set<QString>> cardsOf;
    std::map<qint64, int> lastAttendance;
    {
        DataContext ctx(dir.path());
        before = lastId(ctx);
        setSignal(ctx, 1);
        PageRequest cards = PageRequest::forKey(ctx.file(TableId::CARDS).def(), CAR::Primary);
        cards.limit = 0;
        std::vector<Record> rows;
        QVERIFY(ctx.file(TableId::CARDS).readPage(cards, &rows).ok());
        for (const Record &c : rows)
            cardsOf[c.integer(CAR::DRZITEL)].insert(c.text(CAR::KOD_RFID));
        // Each person's last arrival or departure, in the order the service reads it.
        PageRequest log = PageRequest::forKey(ctx.file(TableId::LOG_POKOJE).def(), LPO::KeyOsoba_Dat_Cas);
        log.limit = 0;
        QVERIFY(ctx.file(TableId::LOG_POKOJE).readPage(log, &rows).ok());
        for (const Record &r : rows)
            if (r.integer(LPO::DATA) == EventCodes::Prichod || r.integer(LPO::DATA) == EventCodes::Odchod)
                lastAttendance[r.integer(LPO::DRZITEL)] = int(r.integer(LPO::DATA));
    }
    const qint32 dayBefore = StdDateTime::fromQDate(QDate::currentDate());

    const Run run = runSim({QStringLiteral("--data"), dir.path(), QStringLiteral("--count"), QStringLiteral("60"),
                            QStringLiteral("--rate"), QStringLiteral("600"), QStringLiteral("--people"),
                            QStringLiteral("1-5"), QStringLiteral("--readers"), QStringLiteral("1,2,13"),
                            QStringLiteral("--seed"), QStringLiteral("5")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(run.written, 60);
    QCOMPARE(run.firstId, before + 1);
    QCOMPARE(run.lastId, before + 60);
    QCOMPARE(run.signalsTaken, 1);

    DataContext ctx(dir.path());
    QCOMPARE(signal(ctx), 0);
    const std::vector<Record> rows = logAfter(ctx, before);
    QCOMPARE(int(rows.size()), 60);
    const qint32 dayAfter = StdDateTime::fromQDate(QDate::currentDate());
    std::set<int> codes;
    std::map<qint64, int> expected;  // the next attendance code of each person
    for (const auto &[person, code] : lastAttendance)
        expected[person] = code == EventCodes::Prichod ? EventCodes::Odchod : EventCodes::Prichod;
    for (const Record &r : rows) {
        const qint64 person = r.integer(LPO::DRZITEL);
        const int code = int(r.integer(LPO::DATA));
        codes.insert(code);
        QVERIFY(person >= 1 && person <= 5);
        QVERIFY(cardsOf[person].count(r.text(LPO::KARTA)));
        QVERIFY(r.integer(LPO::DATUM) >= dayBefore && r.integer(LPO::DATUM) <= dayAfter);
        QVERIFY(r.integer(LPO::CAS) > 0);
        switch (r.integer(LPO::CTECKA)) {
        case 1:  // the attendance terminal: arrival and departure by turns, on from the log
            QCOMPARE(code, expected[person]);
            expected[person] = code == EventCodes::Prichod ? EventCodes::Odchod : EventCodes::Prichod;
            break;
        case 13:  // the gate
            QCOMPARE(code, int(EventCodes::GsmBrana));
            break;
        case 2:
            QVERIFY(code == EventCodes::OteviramDvere || code == EventCodes::ZamitnutPristup);
            break;
        default:
            QFAIL("a reader that was not asked for");
        }
    }
    QVERIFY(codes.count(EventCodes::Prichod) && codes.count(EventCodes::OteviramDvere) &&
            codes.count(EventCodes::GsmBrana));
    QVERIFY(reporter.entries().isEmpty());
}

void TstServiceSim::retriesWhileTheProgramHoldsTheLog()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    makeDemo(dir.path());
    DataContext ctx(dir.path());
    const qint64 before = lastId(ctx);
    QVERIFY(ctx.file(TableId::LOG_POKOJE).use());

    // The program writes entries of its own in a transaction while the service wants to write.
    QVERIFY(ctx.store().begin({TableId::LOG_POKOJE}, 2000).ok());
    QProcess *sim = start({QStringLiteral("--data"), dir.path(), QStringLiteral("--count"), QStringLiteral("30"),
                           QStringLiteral("--rate"), QStringLiteral("100"), QStringLiteral("--busy-timeout"),
                           QStringLiteral("50")});
    QVERIFY(sim->waitForStarted());
    for (int i = 0; i < 3; ++i) {
        Record r(TableId::LOG_POKOJE);
        r.setInteger(LPO::DATA, EventCodes::Dovolena);
        r.setInteger(LPO::DATUM, StdDateTime::fromQDate(QDate::currentDate()));
        r.setInteger(LPO::DRZITEL, 1);
        r.setText(LPO::POZNAMKA, QStringLiteral("zapsáno programem"));
        QVERIFY(ctx.store().insert(r).ok());
    }
    QThread::msleep(1500);
    QVERIFY(ctx.store().commit().ok());
    const Run run = finish(sim);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(run.written, 30);
    QVERIFY(run.retries >= 1);

    const std::vector<Record> rows = logAfter(ctx, before);
    QCOMPARE(int(rows.size()), 33);
    std::set<qint64> ids;
    int ours = 0;
    for (const Record &r : rows) {
        ids.insert(r.integer(LPO::ID));
        if (r.text(LPO::POZNAMKA) == QStringLiteral("zapsáno programem"))
            ++ours;
        else
            QVERIFY(r.integer(LPO::ID) >= run.firstId && r.integer(LPO::ID) <= run.lastId);
    }
    QCOMPARE(ours, 3);
    QCOMPARE(int(ids.size()), 33);
    QVERIFY(reporter.entries().isEmpty());
}

void TstServiceSim::stopsAfterTheGivenTime()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    makeDemo(dir.path());
    const Run run = runSim({QStringLiteral("--data"), dir.path(), QStringLiteral("--seconds"), QStringLiteral("1"),
                            QStringLiteral("--rate"), QStringLiteral("20")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    // Events are due every 1/20 s from the start: those due within the second.
    QCOMPARE(run.written, 20);
    QCOMPARE(run.signalsTaken, 0);
    DataContext ctx(dir.path());
    QCOMPARE(qint64(logAfter(ctx, run.firstId - 1).size()), 20);
}

void TstServiceSim::refusesWhatItCannotUse_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("no tables") << false << QStringList{QStringLiteral("--count"), QStringLiteral("1")} << 1
                               << QStringLiteral("no table file");
    QTest::newRow("unknown reader") << true
                                    << QStringList{QStringLiteral("--count"), QStringLiteral("1"),
                                                   QStringLiteral("--readers"), QStringLiteral("200")}
                                    << 1 << QStringLiteral("reader 200");
    QTest::newRow("person without a card") << true
                                           << QStringList{QStringLiteral("--count"), QStringLiteral("1"),
                                                          QStringLiteral("--people"), QStringLiteral("1,999")}
                                           << 1 << QStringLiteral("person 999");
    QTest::newRow("rate 0") << true << QStringList{QStringLiteral("--rate"), QStringLiteral("0")} << 2
                            << QStringLiteral("--rate");
    QTest::newRow("bad list") << true << QStringList{QStringLiteral("--people"), QStringLiteral("5-1")} << 2
                              << QStringLiteral("--people");
}

void TstServiceSim::refusesWhatItCannotUse()
{
    QFETCH(bool, demo);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    ScratchDir dir;
    ScriptedReporter reporter;
    qint64 rowsBefore = 0;
    if (demo) {
        makeDemo(dir.path());
        DataContext ctx(dir.path());
        rowsBefore = qint64(logAfter(ctx, 0).size());
    }
    const Run run = runSim(QStringList{QStringLiteral("--data"), dir.path()} + args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    if (demo) {
        DataContext ctx(dir.path());
        QCOMPARE(qint64(logAfter(ctx, 0).size()), rowsBefore);
    }
}

QTEST_GUILESS_MAIN(TstServiceSim)
#include "tst_servicesim.moc"
