#include "globals.h"
#include "reportcommand.h"
#include "reportfixture.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "settingsfile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <QtTest>

using namespace ReportFixture;

namespace {

struct Outcome
{
    int code = -1;
    QString out;
    QString err;
};

Outcome run(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    Outcome r;
    r.code = runReportCommand(args, o, e);
    o.flush();
    e.flush();
    r.out = out;
    r.err = err;
    return r;
}

int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(f.readAll()).count(page));
}

// Three people: 3 worked in March 2011, 5 has nothing in March, 8 was on vacation. Shift
// record 1 sets the boundaries 04:00, 12:00, 20:00.
void fill(const QString &dir)
{
    DataContext ctx(dir);
    QVERIFY(addPerson(ctx, 8, QStringLiteral("Malá Eva")));
    QVERIFY(addPerson(ctx, 3, QStringLiteral("Novák Jan"), QStringLiteral("Lázeňská 3")));
    QVERIFY(addPerson(ctx, 5, QStringLiteral("Bez Záznamů")));
    QVERIFY(setShifts(ctx, at(12, 0), at(20, 0), at(4, 0)));
    QVERIFY(addMonth(ctx, 2011, 3, 23, QStringLiteral("Březen 2011")));
    QVERIFY(addMonth(ctx, 2011, 2, 20, QStringLiteral("Únor 2011")));
    QVERIFY(addMonth(ctx, 2011, 1, 21, QStringLiteral("Leden 2011")));
    QVERIFY(addPair(ctx, 3, day(2011, 3, 7), at(6, 0), at(14, 0)));              // Monday morning
    QVERIFY(addLog(ctx, 3, 41, day(2011, 3, 11), at(22, 0)));                    // Friday night
    QVERIFY(addLog(ctx, 3, 43, day(2011, 3, 12), at(6, 0)));                     // into Saturday
    QVERIFY(addLog(ctx, 3, 51, day(2011, 3, 12), at(6, 1)));                     // a door: left out
    QVERIFY(addLog(ctx, 3, 11, day(2011, 1, 3), at(5, 0)));                      // January's balance
    QVERIFY(addLog(ctx, 8, 15, day(2011, 3, 8), 0));
    QVERIFY(addPair(ctx, 5, day(2011, 2, 7), at(6, 0), at(14, 0)));              // only February
}

} // namespace

// `halvane report`: its errors, a person without records, the text and PDF outputs, everybody.
class TstReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init() { GLO::resetForTests(); }
    void wrongCommandLines_data();
    void wrongCommandLines();
    void personWithoutRecords();
    void textOutput();
    void pdfOfOnePerson();
    void everybody();
    void everybodyAsText();
};

void TstReportCommand::wrongCommandLines_data()
{
    QTest::addColumn<QStringList>("args");

    const QStringList base{QStringLiteral("--month"), QStringLiteral("3"), QStringLiteral("--year"),
                           QStringLiteral("2011")};
    auto with = [&](QStringList extra) { return QStringList{QStringLiteral("report")} + extra; };
    const QString person = QStringLiteral("--person");
    const QString text = QStringLiteral("--text");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown option") << with(QStringList{person, QStringLiteral("3"), text, QStringLiteral("--colour")} + base);
    QTest::newRow("no output") << with(QStringList{person, QStringLiteral("3")} + base);
    QTest::newRow("both outputs") << with(QStringList{person, QStringLiteral("3"), text, QStringLiteral("--pdf"), QStringLiteral("@PDF@")} + base);
    QTest::newRow("no month") << with({person, QStringLiteral("3"), QStringLiteral("--year"), QStringLiteral("2011"), QStringLiteral("--pdf"), QStringLiteral("@PDF@")});
    QTest::newRow("value missing") << with(QStringList{person, QStringLiteral("3"), QStringLiteral("--pdf"), QStringLiteral("@PDF@")} + base + QStringList{QStringLiteral("--data")});
    QTest::newRow("month 0") << with({person, QStringLiteral("3"), QStringLiteral("--month=0"), QStringLiteral("--year=2011"), QStringLiteral("--pdf=@PDF@")});
    QTest::newRow("month 13") << with({person, QStringLiteral("3"), QStringLiteral("--month=13"), QStringLiteral("--year=2011"), QStringLiteral("--pdf=@PDF@")});
    QTest::newRow("month not a number") << with({person, QStringLiteral("3"), QStringLiteral("--month=III"), QStringLiteral("--year=2011"), QStringLiteral("--pdf=@PDF@")});
    QTest::newRow("year 1800") << with({person, QStringLiteral("3"), QStringLiteral("--month=3"), QStringLiteral("--year=1800"), QStringLiteral("--pdf=@PDF@")});
    QTest::newRow("year 2100") << with({person, QStringLiteral("3"), QStringLiteral("--month=3"), QStringLiteral("--year=2100"), QStringLiteral("--pdf=@PDF@")});
    QTest::newRow("person not a number") << with(QStringList{person, QStringLiteral("Novák"), QStringLiteral("--pdf"), QStringLiteral("@PDF@")} + base);
    QTest::newRow("person does not exist") << with(QStringList{person, QStringLiteral("99"), QStringLiteral("--pdf"), QStringLiteral("@PDF@")} + base);
    QTest::newRow("person does not exist, text") << with(QStringList{person, QStringLiteral("99"), text} + base);
    QTest::newRow("no such data directory") << with(QStringList{person, QStringLiteral("3"), QStringLiteral("--pdf"), QStringLiteral("@PDF@"), QStringLiteral("--data"), QStringLiteral("@DIR@/none")} + base);
}

void TstReportCommand::wrongCommandLines()
{
    QFETCH(QStringList, args);
    ScratchDir dir;
    fill(dir.path());
    const QString pdf = dir.file(QStringLiteral("out.pdf"));
    QStringList line;
    for (QString a : args) {
        a.replace(QStringLiteral("@PDF@"), pdf).replace(QStringLiteral("@DIR@"), dir.path());
        line << a;
    }
    if (!line.contains(QStringLiteral("--data")) && !line.isEmpty())
        line << QStringLiteral("--data") << dir.path();

    const Outcome r = run(line);
    QCOMPARE(r.code, 2);
    QVERIFY(r.err.startsWith(QStringLiteral("halvane report: ")));
    QVERIFY(r.out.isEmpty());
    QVERIFY(!QFile::exists(pdf));
}

void TstReportCommand::personWithoutRecords()
{
    ScratchDir dir;
    fill(dir.path());
    const QString pdf = dir.file(QStringLiteral("out.pdf"));
    for (const QString &output : {QStringLiteral("--pdf=") + pdf, QStringLiteral("--text")}) {
        const Outcome r = run({QStringLiteral("report"), QStringLiteral("--person=5"), QStringLiteral("--month=3"),
                               QStringLiteral("--year=2011"), QStringLiteral("--data=") + dir.path(), output});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("Bez Záznamů")));
        QVERIFY(r.err.contains(QStringLiteral("3/2011")));
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFile::exists(pdf));
    }
}

void TstReportCommand::textOutput()
{
    ScratchDir dir;
    fill(dir.path());
    const Outcome r = run({QStringLiteral("report"), QStringLiteral("--person"), QStringLiteral("3"),
                           QStringLiteral("--month"), QStringLiteral("3"), QStringLiteral("--year"),
                           QStringLiteral("2011"), QStringLiteral("--data"), dir.path(), QStringLiteral("--text")});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    // 16 hours against 23 days owed; the year adds January's 5 hours (and January, with a record,
    // owes its 21 days); the night counts in the weekend by the departure's day.
    const QStringList expected{
        QStringLiteral("Přehled docházky za rok 2011 měsíc\tBřezen 2011"),
        QStringLiteral("Pracovních dnů:\t23"),
        QStringLiteral("1\tPŘÍCHOD: Pondělí 07/03/2011 06:00\t"),
        QStringLiteral("2\tODCHOD: Pondělí 07/03/2011 14:00\tMezisoučet: 8:00"),
        QStringLiteral("3\tPŘÍCHOD: Pátek 11/03/2011 22:00\t"),
        QStringLiteral("4\tODCHOD: Sobota 12/03/2011 06:00\tMezisoučet: 8:00"),
        QStringLiteral("Odpracováno hodin\t16:00"),
        QStringLiteral("Dovolená\t0:00"),
        QStringLiteral("Nemoc\t0:00"),
        QStringLiteral("Celkem odpracováno za měsíc\t16:00"),
        QStringLiteral("Stav hodin tento měsíc\t-168:00"),
        QStringLiteral("Celkem proplaceno hodin\t0:00"),
        QStringLiteral("Výsledek po proplacení\t16:00"),
        QStringLiteral("Konečný výsledek\t-331:00"),
        QStringLiteral("Ranní směna:\t8:00\t0:00"),
        QStringLiteral("Odpolední směnna:\t0:00\t0:00"),
        QStringLiteral("Noční směnna:\t0:00\t8:00"),
    };
    QCOMPARE(r.out.split(u'\n', Qt::SkipEmptyParts), expected);
    QVERIFY(r.out.endsWith(u'\n'));

    // Neither the settings file nor the report year of the windows is touched.
    QVERIFY(!QFile::exists(SettingsFile::pathIn(dir.path())));
    QCOMPARE(GLO::Rok.get(), QString());
}

void TstReportCommand::pdfOfOnePerson()
{
    ScratchDir dir;
    fill(dir.path());
    const QString pdf = dir.file(QStringLiteral("brezen.pdf"));
    const Outcome r = run({QStringLiteral("--person=3"), QStringLiteral("--month=3"), QStringLiteral("--year=2011"),
                           QStringLiteral("--data=") + dir.path(), QStringLiteral("--pdf=") + pdf});
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());
    QVERIFY(r.out.isEmpty());
    QCOMPARE(pdfPages(pdf), 1);
}

void TstReportCommand::everybody()
{
    ScratchDir dir;
    fill(dir.path());
    const QString pdf = dir.file(QStringLiteral("all.pdf"));
    const Outcome r = run({QStringLiteral("--person=all"), QStringLiteral("--month=3"), QStringLiteral("--year=2011"),
                           QStringLiteral("--data=") + dir.path(), QStringLiteral("--pdf=") + pdf});
    QCOMPARE(r.code, 0);
    // 3 and 8 have records, one page each; 5 is named on standard error.
    QCOMPARE(pdfPages(pdf), 2);
    QVERIFY(r.err.contains(QStringLiteral("5 Bez Záznamů")));
    QVERIFY(!r.err.contains(QStringLiteral("Novák")));
    QVERIFY(!r.err.contains(QStringLiteral("Malá")));

    // Nobody has records in April: nothing is written.
    QFile::remove(pdf);
    const Outcome none = run({QStringLiteral("--person=all"), QStringLiteral("--month=4"), QStringLiteral("--year=2011"),
                              QStringLiteral("--data=") + dir.path(), QStringLiteral("--pdf=") + pdf});
    QCOMPARE(none.code, 1);
    QVERIFY(!QFile::exists(pdf));
}

void TstReportCommand::everybodyAsText()
{
    ScratchDir dir;
    fill(dir.path());
    const Outcome r = run({QStringLiteral("--person=all"), QStringLiteral("--month=3"), QStringLiteral("--year=2011"),
                           QStringLiteral("--data=") + dir.path(), QStringLiteral("--text")});
    QCOMPARE(r.code, 0);
    QStringList people;
    for (const QString &l : r.out.split(u'\n')) {
        if (l.startsWith(QStringLiteral("Uživatel:")))
            people << l;
    }
    // In code order.
    QCOMPARE(people, (QStringList{QStringLiteral("Uživatel:\t3\tNovák Jan"), QStringLiteral("Uživatel:\t8\tMalá Eva")}));
    QVERIFY(r.out.contains(QStringLiteral("\n\nUživatel:\t8\tMalá Eva\n")));
    QVERIFY(r.out.contains(QStringLiteral("1\tDovolená: 08/03/2011\t\n")));
    QVERIFY(r.err.contains(QStringLiteral("5 Bez Záznamů")));
}

QTEST_MAIN(TstReportCommand)
#include "tst_reportcommand.moc"
