#include "globals.h"
#include "platform.h"
#include "settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

// A desktop whose drag setting the test sets and whose changes it records.
class FakePlatform : public Platform
{
public:
    explicit FakePlatform(bool dragOn)
        : m_dragOn(dragOn)
    {
    }

    bool dragFullWindows() const override { return m_dragOn; }
    void setDragFullWindows(bool on) override
    {
        m_dragOn = on;
        m_changes.append(on);
    }
    void registerSessionEndHandlers() override {}

    QList<bool> changes() const { return m_changes; }

private:
    bool m_dragOn;
    QList<bool> m_changes;
};

// The process-wide values: their fetch from and update to the section "Preserved", their
// conversions, the shift boundaries, the drag setting around a run, and use from two threads.
class TestGlobals : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startWithoutFileWritesAllSevenKeys();
    void storedValuesAreCarriedThroughUnchanged();
    void missingKeysAreAddedAfterTheKnownOnes();
    void storedTextIsConvertedToItsType_data();
    void storedTextIsConvertedToItsType();
    void timeOfDayFromStandard_data();
    void timeOfDayFromStandard();
    void shiftBoundariesBecomeTimesOfDay();
    void dragSettingIsSwitchedOffOnlyWhenOn_data();
    void dragSettingIsSwitchedOffOnlyWhenOn();
    void systemPlatformWithoutDesktopServices();
    void valuesAreSafeFromTwoThreads();

private:
    QString iniPath() const { return SettingsFile::pathIn(m_dir->path()); }
    void writeIni(const QByteArray &bytes) const;
    QByteArray readIni() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestGlobals::init()
{
    GLO::resetForTests();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestGlobals::cleanup()
{
    m_dir.reset();
    GLO::resetForTests();
}

void TestGlobals::writeIni(const QByteArray &bytes) const
{
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TestGlobals::readIni() const
{
    QFile file(iniPath());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void TestGlobals::startWithoutFileWritesAllSevenKeys()
{
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    GLO::fetchGlobals(settings);
    QCOMPARE(GLO::Pocet_spusteni_programu.get(), 0);
    QVERIFY(GLO::DataSource.get().isEmpty());
    QVERIFY(GLO::Rok.get().isEmpty());

    // A normal end: the values, then the manager's own section.
    GLO::updateGlobals(settings);
    settings.writeEndMarker();
    QVERIFY(settings.save());
    QCOMPARE(readIni(), QByteArray("[Preserved]\r\n"
                                   "GLO:Pocet_spusteni_programu=0\r\n"
                                   "GLO:Verze_programu=\r\n"
                                   "GLO:Vyber_tiskarny=\r\n"
                                   "GLO:Nahled_pred_tiskem=0\r\n"
                                   "GLO:Automaticky_mazat_po=0\r\n"
                                   "GLO:DataSource=\r\n"
                                   "GLO:Rok=\r\n"
                                   "[__Dont_Touch_Me__]\r\n"
                                   "Sectors=0\r\n"));
}

void TestGlobals::storedValuesAreCarriedThroughUnchanged()
{
    const QByteArray stored("[Preserved]\r\n"
                            "GLO:Pocet_spusteni_programu=7\r\n"
                            "GLO:Verze_programu=1.02\r\n"
                            "GLO:Vyber_tiskarny=A\r\n"
                            "GLO:Nahled_pred_tiskem=1\r\n"
                            "GLO:Automaticky_mazat_po=-365\r\n"
                            "GLO:DataSource=TARVO\r\n"
                            "GLO:Rok=11\r\n"
                            "[Main]\r\n"
                            "Maximize=Yes\r\n"
                            "Minimize=No\r\n"
                            "[__Dont_Touch_Me__]\r\n"
                            "Sectors=0\r\n");
    writeIni(stored);

    // Two runs: the number of starts stays 7, and so does the rest.
    for (int run = 0; run < 2; ++run) {
        GLO::resetForTests();
        SettingsFile settings(iniPath());
        QVERIFY(settings.load());
        GLO::fetchGlobals(settings);
        QCOMPARE(GLO::Pocet_spusteni_programu.get(), 7);
        QCOMPARE(GLO::Verze_programu.get(), QStringLiteral("1.02"));
        QCOMPARE(GLO::Vyber_tiskarny.get(), QStringLiteral("A"));
        QCOMPARE(GLO::Nahled_pred_tiskem.get(), quint8(1));
        QCOMPARE(GLO::Automaticky_mazat_po.get(), -365);
        QCOMPARE(GLO::DataSource.get(), QStringLiteral("TARVO"));
        QCOMPARE(GLO::Rok.get(), QStringLiteral("11"));

        GLO::updateGlobals(settings);
        settings.writeEndMarker();
        QVERIFY(settings.save());
        QCOMPARE(readIni(), stored);
    }
}

void TestGlobals::missingKeysAreAddedAfterTheKnownOnes()
{
    writeIni("[Preserved]\r\nGLO:Rok=11\r\nJinyKlic=x\r\n");
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    GLO::fetchGlobals(settings);
    GLO::updateGlobals(settings);

    QStringList expected = GLO::preservedKeys();
    expected.removeOne(QStringLiteral("GLO:Rok"));
    expected.prepend(QStringLiteral("JinyKlic"));
    expected.prepend(QStringLiteral("GLO:Rok"));
    QCOMPARE(settings.keys(GLO::preservedSection()), expected);
    QCOMPARE(settings.value(GLO::preservedSection(), QStringLiteral("GLO:Rok")),
             QStringLiteral("11"));
    QCOMPARE(settings.value(GLO::preservedSection(), QStringLiteral("JinyKlic")),
             QStringLiteral("x"));
}

void TestGlobals::storedTextIsConvertedToItsType_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("stored"); // as the file holds it
    QTest::addColumn<QString>("writtenBack");

    const QString starts = QStringLiteral("GLO:Pocet_spusteni_programu");
    const QString preview = QStringLiteral("GLO:Nahled_pred_tiskem");
    const QString deleteAfter = QStringLiteral("GLO:Automaticky_mazat_po");
    const QString version = QStringLiteral("GLO:Verze_programu");
    const QString printer = QStringLiteral("GLO:Vyber_tiskarny");
    const QString source = QStringLiteral("GLO:DataSource");
    const QString year = QStringLiteral("GLO:Rok");

    QTest::newRow("LONG, not a number") << starts << QByteArray("abc") << QStringLiteral("0");
    QTest::newRow("LONG, number and text") << starts << QByteArray("12abc") << QStringLiteral("0");
    QTest::newRow("LONG, signed") << starts << QByteArray("-42") << QStringLiteral("-42");
    QTest::newRow("LONG, decimals dropped") << starts << QByteArray("12.9") << QStringLiteral("12");
    QTest::newRow("LONG, too large") << starts << QByteArray("99999999999999999999999")
                                     << QStringLiteral("2147483647");
    QTest::newRow("LONG, too small") << starts << QByteArray("-3000000000")
                                     << QStringLiteral("-2147483648");
    QTest::newRow("LONG, blank") << starts << QByteArray("") << QStringLiteral("0");
    QTest::newRow("BYTE, in range") << preview << QByteArray("255") << QStringLiteral("255");
    QTest::newRow("BYTE, too large") << preview << QByteArray("300") << QStringLiteral("255");
    QTest::newRow("BYTE, negative") << preview << QByteArray("-1") << QStringLiteral("0");
    QTest::newRow("DECIMAL, five digits") << deleteAfter << QByteArray("99999")
                                          << QStringLiteral("99999");
    QTest::newRow("DECIMAL, six digits") << deleteAfter << QByteArray("123456")
                                         << QStringLiteral("99999");
    QTest::newRow("DECIMAL, negative six digits") << deleteAfter << QByteArray("-123456")
                                                  << QStringLiteral("-99999");
    QTest::newRow("STRING(5), cut") << version << QByteArray("1.2.3.4") << QStringLiteral("1.2.3");
    QTest::newRow("STRING(5), trailing blanks after cut") << version << QByteArray("ab   cd")
                                                          << QStringLiteral("ab");
    QTest::newRow("STRING(1), cut") << printer << QByteArray("AB") << QStringLiteral("A");
    QTest::newRow("STRING(2), first two characters") << year << QByteArray("2011")
                                                     << QStringLiteral("20");
    QTest::newRow("STRING(2), Czech characters") << year << QByteArray("\xE8\xF8\xE1")
                                                 << QStringLiteral("čř");
    QTest::newRow("STRING(128), cut") << source << QByteArray(200, 'X')
                                      << QString(128, u'X');
}

void TestGlobals::storedTextIsConvertedToItsType()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, stored);
    QFETCH(QString, writtenBack);

    writeIni("[Preserved]\r\n" + SettingsFile::toCp1250(key) + '=' + stored + "\r\n");
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    GLO::fetchGlobals(settings);
    GLO::updateGlobals(settings);
    QCOMPARE(settings.value(GLO::preservedSection(), key), writtenBack);
}

void TestGlobals::timeOfDayFromStandard_data()
{
    QTest::addColumn<qint32>("standard");
    QTest::addColumn<qint32>("timeOfDay");

    QTest::newRow("no time") << 0 << 0;
    QTest::newRow("midnight") << 1 << 0;
    QTest::newRow("first hundredth") << 2 << 2;
    QTest::newRow("08:00:00.00") << 2880001 << 2880001;
    QTest::newRow("last of the day") << 8640000 << 8640000;
    QTest::newRow("beyond the day") << 8640001 << 0;
    QTest::newRow("negative") << -5 << 0;
}

void TestGlobals::timeOfDayFromStandard()
{
    QFETCH(qint32, standard);
    QFETCH(qint32, timeOfDay);
    QCOMPARE(GLO::timeOfDayFromStandard(standard), timeOfDay);

    GLO::RANNI_DO.set(standard);
    QCOMPARE(GLO::RANNI_DO.get(), timeOfDay);
}

void TestGlobals::shiftBoundariesBecomeTimesOfDay()
{
    GLO::setShiftBoundaries(1, 2880001, 5760001);
    QCOMPARE(GLO::NOCNI_DO.get(), 0);
    QCOMPARE(GLO::RANNI_DO.get(), 2880001);
    QCOMPARE(GLO::ODPOLEDNI_DO.get(), 5760001);

    // Without shift record 1 the buffer holds zeros.
    GLO::setShiftBoundaries(0, 0, 0);
    QCOMPARE(GLO::NOCNI_DO.get(), 0);
    QCOMPARE(GLO::RANNI_DO.get(), 0);
    QCOMPARE(GLO::ODPOLEDNI_DO.get(), 0);
}

void TestGlobals::dragSettingIsSwitchedOffOnlyWhenOn_data()
{
    QTest::addColumn<bool>("onAtStart");
    QTest::addColumn<QList<bool>>("changesAtStart");
    QTest::addColumn<QList<bool>>("changesAtEnd");

    QTest::newRow("off: never touched") << false << QList<bool>() << QList<bool>();
    QTest::newRow("on: off for the run, on after it")
        << true << QList<bool>({false}) << QList<bool>({false, true});
}

void TestGlobals::dragSettingIsSwitchedOffOnlyWhenOn()
{
    QFETCH(bool, onAtStart);
    QFETCH(QList<bool>, changesAtStart);
    QFETCH(QList<bool>, changesAtEnd);

    FakePlatform desktop(onAtStart);
    const bool wasOn = switchOffDragFullWindows(desktop);
    QCOMPARE(wasOn, onAtStart);
    QVERIFY(!desktop.dragFullWindows());
    QCOMPARE(desktop.changes(), changesAtStart);

    restoreDragFullWindows(desktop, wasOn);
    QCOMPARE(desktop.dragFullWindows(), onAtStart);
    QCOMPARE(desktop.changes(), changesAtEnd);
}

void TestGlobals::systemPlatformWithoutDesktopServices()
{
#ifdef Q_OS_WIN
    QSKIP("The Windows desktop setting is not changed by tests.");
#else
    Platform &platform = systemPlatform();
    QCOMPARE(&platform, &systemPlatform());
    platform.registerSessionEndHandlers();
    QVERIFY(!platform.dragFullWindows());
    QVERIFY(!switchOffDragFullWindows(platform));
    restoreDragFullWindows(platform, false);
    QVERIFY(!platform.dragFullWindows());
#endif
}

void TestGlobals::valuesAreSafeFromTwoThreads()
{
    const QString sourceA(128, u'A');
    const QString sourceB(128, u'B');
    std::atomic<bool> torn{false};

    auto writer = [&](qint32 person, const QString &source) {
        for (int i = 0; i < 20000; ++i) {
            GLO::TiskDrzitel.set(person);
            GLO::DataSource.set(source);
            const qint32 seenPerson = GLO::TiskDrzitel.get();
            const QString seenSource = GLO::DataSource.get();
            if ((seenPerson != 111 && seenPerson != 222)
                || (seenSource != sourceA && seenSource != sourceB)) {
                torn = true;
            }
        }
    };
    std::unique_ptr<QThread> one(QThread::create(writer, 111, sourceA));
    std::unique_ptr<QThread> two(QThread::create(writer, 222, sourceB));
    one->start();
    two->start();
    QVERIFY(one->wait(60000));
    QVERIFY(two->wait(60000));

    QVERIFY(!torn);
    QVERIFY(GLO::TiskDrzitel.get() == 111 || GLO::TiskDrzitel.get() == 222);
}

QTEST_GUILESS_MAIN(TestGlobals)
#include "tst_globals.moc"
