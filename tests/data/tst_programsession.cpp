#include "datacontext.h"
#include "globals.h"
#include "programsession.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "settingsfile.h"
#include "stddatetime.h"

#include <QFile>
#include <QtTest>

// The program's start and end around the frame, without a window.
class TstProgramSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { GLO::resetForTests(); }
    void firstRunInAnEmptyDirectory();
    void storedValuesAreWrittenBackUnchanged();
    void endingAtTheLoginWritesNothing();
    void shiftBoundariesLoadedOnceAtStart();
    void dragSetting_data();
    void dragSetting();
};

namespace {

class FakePlatform : public Platform
{
public:
    bool on = false;
    int sets = 0;
    bool dragFullWindows() const override { return on; }
    void setDragFullWindows(bool v) override
    {
        on = v;
        ++sets;
    }
    void registerSessionEndHandlers() override {}
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

void TstProgramSession::firstRunInAnEmptyDirectory()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    FakePlatform platform;
    ProgramSession s(dir.path(), platform);
    s.start();
    s.openMain();
    QCOMPARE(GLO::DataSource.get(), QStringLiteral("TARVO"));
    for (const char *f : {"gcu_settings_pokoje.sqlite", "logy_pokoje.sqlite", "SETINGS.sqlite", "status.sqlite"})
        QVERIFY2(QFile::exists(dir.file(QString::fromLatin1(f))), f);
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("databze_karet.sqlite"))));  // opened when first used
    s.loadShiftBoundaries();
    QCOMPARE(GLO::RANNI_DO.get(), 0);
    s.closeMain();
    QVERIFY(s.finish());
    SettingsFile ini(SettingsFile::pathIn(dir.path()));
    QVERIFY(ini.load());
    QCOMPARE(ini.keys(QStringLiteral("Preserved")), GLO::preservedKeys());
    QCOMPARE(ini.value(QStringLiteral("Preserved"), QStringLiteral("GLO:Pocet_spusteni_programu")), QStringLiteral("0"));
    QCOMPARE(ini.value(QStringLiteral("Preserved"), QStringLiteral("GLO:DataSource")), QStringLiteral("TARVO"));
    QCOMPARE(ini.value(QStringLiteral("Preserved"), QStringLiteral("GLO:Rok")), QString());
    QCOMPARE(ini.value(QStringLiteral("__Dont_Touch_Me__"), QStringLiteral("Sectors")), QStringLiteral("0"));
    QVERIFY(reporter.entries().isEmpty());
}

void TstProgramSession::storedValuesAreWrittenBackUnchanged()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    {
        QFile f(SettingsFile::pathIn(dir.path()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Preserved]\r\nGLO:Pocet_spusteni_programu=7\r\nGLO:DataSource=HOTEL\r\nGLO:Rok=11\r\n"
                "[Kalendar]\r\nMaximize=No\r\nXPos=10\r\n");
    }
    FakePlatform platform;
    for (int run = 0; run < 2; ++run) {
        ProgramSession s(dir.path(), platform);
        s.start();
        s.openMain();
        s.closeMain();
        QVERIFY(s.finish());
    }
    SettingsFile ini(SettingsFile::pathIn(dir.path()));
    QVERIFY(ini.load());
    QCOMPARE(ini.value(QStringLiteral("Preserved"), QStringLiteral("GLO:Pocet_spusteni_programu")), QStringLiteral("7"));
    QCOMPARE(ini.value(QStringLiteral("Preserved"), QStringLiteral("GLO:DataSource")), QStringLiteral("HOTEL"));
    QCOMPARE(ini.value(QStringLiteral("Preserved"), QStringLiteral("GLO:Rok")), QStringLiteral("11"));
    QCOMPARE(ini.value(QStringLiteral("Kalendar"), QStringLiteral("XPos")), QStringLiteral("10"));
}

void TstProgramSession::endingAtTheLoginWritesNothing()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const QByteArray before = "[Preserved]\r\nGLO:Pocet_spusteni_programu=3\r\n";
    {
        QFile f(SettingsFile::pathIn(dir.path()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    }
    FakePlatform platform;
    platform.on = true;
    {
        ProgramSession s(dir.path(), platform);
        s.start();
        s.openMain();
        // A wrong password ends the program here: no closeMain(), no finish().
    }
    QCOMPARE(readAll(SettingsFile::pathIn(dir.path())), before);
    QCOMPARE(platform.on, false);  // the drag setting is not restored either
}

void TstProgramSession::shiftBoundariesLoadedOnceAtStart()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    {
        DataContext ctx(dir.path());
        FileManager &fm = ctx.file(TableId::SETINGS);
        fm.primeRecord();
        fm.record().setInteger(SET::ID, 1);
        fm.record().setInteger(SET::RANNI_DO, StdDateTime::fromHms(8, 0));
        fm.record().setInteger(SET::ODPOLEDNI_DO, 1);  // midnight: an empty time
        fm.record().setInteger(SET::NOCNI_DO, StdDateTime::fromHms(4, 0));
        QVERIFY(fm.insert().ok());
    }
    FakePlatform platform;
    ProgramSession s(dir.path(), platform);
    s.start();
    s.openMain();
    s.loadShiftBoundaries();
    QCOMPARE(GLO::RANNI_DO.get(), 2880001);
    QCOMPARE(GLO::ODPOLEDNI_DO.get(), 0);
    QCOMPARE(GLO::NOCNI_DO.get(), StdDateTime::fromHms(4, 0));
    // Another window changes record 1: the boundaries stay until the next start.
    DataContext other(dir.path());
    FileManager &fm = other.file(TableId::SETINGS);
    QVERIFY(fm.fetch(SET::PRIMARY, {1}));
    fm.record().setInteger(SET::RANNI_DO, StdDateTime::fromHms(9, 0));
    QVERIFY(fm.update().ok());
    QCOMPARE(GLO::RANNI_DO.get(), 2880001);
}

void TstProgramSession::dragSetting_data()
{
    QTest::addColumn<bool>("onAtStart");
    QTest::newRow("off stays untouched") << false;
    QTest::newRow("on is switched off and back") << true;
}

void TstProgramSession::dragSetting()
{
    QFETCH(bool, onAtStart);
    ScratchDir dir;
    ScriptedReporter reporter;
    FakePlatform platform;
    platform.on = onAtStart;
    ProgramSession s(dir.path(), platform);
    s.start();
    QCOMPARE(platform.on, false);
    s.openMain();
    s.closeMain();
    QVERIFY(s.finish());
    QCOMPARE(platform.on, onAtStart);
    QCOMPARE(platform.sets, onAtStart ? 2 : 0);
}

QTEST_GUILESS_MAIN(TstProgramSession)
#include "tst_programsession.moc"
