#include "settingsfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

// The settings file "halvane.INI": what it keeps, what it refuses, and what it survives.
class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingFileIsEmptyAndNoError();
    void unchangedFileIsWrittenBackByteForByte_data();
    void unchangedFileIsWrittenBackByteForByte();
    void czechTextIsReadAndWrittenInCodePage1250();
    void codePage1250TableMatchesSystemConverter();
    void setValueKeepsOrderAndUnknownEntries();
    void removedKeyLeavesItsSection();
    void malformedLineIsSkipped_data();
    void malformedLineIsSkipped();
    void valueCannotStartSectionOrKey_data();
    void valueCannotStartSectionOrKey();
    void unwritableNameIsRefused_data();
    void unwritableNameIsRefused();
    void hostileFileDoesNotCrash_data();
    void hostileFileDoesNotCrash();
    void oversizedFileIsReadUpToLimit();
    void saveLeavesNoTemporaryFile();
    void saveToMissingDirectoryFails();
    void endMarkerIsWritten();
    void placementIsWrittenByWindowState_data();
    void placementIsWrittenByWindowState();
    void placementNeverStoredOrUnusable();
    void concurrentAccessIsSerialised();

private:
    QString iniPath() const { return SettingsFile::pathIn(m_dir->path()); }
    void writeIni(const QByteArray &bytes) const;
    QByteArray readIni() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

// A file as a Czech Windows writes it: code page 1250, CR LF, no blank lines.
static const QByteArray WindowsFile = QByteArrayLiteral(
    "[Preserved]\r\n"
    "GLO:Pocet_spusteni_programu=7\r\n"
    "GLO:DataSource=TARVO\r\n"
    "[Kalend\xE1\xF8]\r\n"
    "Maximize=No\r\n"
    "Minimize=No\r\n"
    "XPos=10\r\n"
    "Pozn\xE1mka=\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n"
    "[Ciz\xED]\r\n"
    "Nezn\xE1m\xFD=hodnota\r\n");

void TestSettingsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettingsFile::cleanup()
{
    m_dir.reset();
}

void TestSettingsFile::writeIni(const QByteArray &bytes) const
{
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TestSettingsFile::readIni() const
{
    QFile file(iniPath());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void TestSettingsFile::missingFileIsEmptyAndNoError()
{
    SettingsFile settings(iniPath());
    QString error;
    QVERIFY(settings.load(&error));
    QVERIFY(error.isEmpty());
    QVERIFY(settings.sections().isEmpty());
    QCOMPARE(settings.value(QStringLiteral("Main"), QStringLiteral("XPos"), QStringLiteral("d")),
             QStringLiteral("d"));
    QVERIFY(!settings.contains(QStringLiteral("Main"), QStringLiteral("XPos")));

    // The file appears with the first write.
    QVERIFY(settings.setValue(QStringLiteral("Main"), QStringLiteral("XPos"), QStringLiteral("5")));
    QVERIFY(settings.save(&error));
    QCOMPARE(readIni(), QByteArray("[Main]\r\nXPos=5\r\n"));
}

void TestSettingsFile::unchangedFileIsWrittenBackByteForByte_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("written by Windows") << WindowsFile << WindowsFile;
    const QByteArray withComments = QByteArrayLiteral(
        "; nastaven\xED programu\r\n"
        "[A]\r\n"
        "x=1\r\n"
        "; pozn\xE1mka ke kl\xED\xE8i\r\n"
        "y=2\r\n");
    QTest::newRow("comments") << withComments << withComments;
    QTest::newRow("LF lines, blank lines and blanks around '='")
        << QByteArray("[A]\n\nx = 1  \n\n[B]\ny=\n")
        << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=\r\n");
    QTest::newRow("keys before the first section")
        << QByteArray("loose=1\r\n[A]\r\nx=1\r\n") << QByteArray("loose=1\r\n[A]\r\nx=1\r\n");
    QTest::newRow("empty section") << QByteArray("[Empty]\r\n[A]\r\nx=1\r\n")
                                   << QByteArray("[Empty]\r\n[A]\r\nx=1\r\n");
}

void TestSettingsFile::unchangedFileIsWrittenBackByteForByte()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    writeIni(input);

    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    QVERIFY(settings.save());
    QCOMPARE(readIni(), expected);
}

void TestSettingsFile::czechTextIsReadAndWrittenInCodePage1250()
{
    writeIni(WindowsFile);
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());

    const QString kalendar = QStringLiteral("Kalendář");
    QCOMPARE(settings.sections(),
             QStringList({QStringLiteral("Preserved"), kalendar, QStringLiteral("Cizí")}));
    QCOMPARE(settings.value(kalendar, QStringLiteral("Poznámka")), QStringLiteral("Žluťoučký kůň"));
    QCOMPARE(settings.value(QStringLiteral("Cizí"), QStringLiteral("Neznámý")),
             QStringLiteral("hodnota"));

    // Written back in the code page; what it cannot hold becomes one '?' per character.
    QVERIFY(settings.setValue(kalendar, QStringLiteral("Poznámka"),
                              QStringLiteral("Příliš → 😀 €")));
    QVERIFY(settings.save());
    QVERIFY(readIni().contains("Pozn\xE1mka=P\xF8\xEDli\x9A ? ? \x80\r\n"));

    SettingsFile reread(iniPath());
    QVERIFY(reread.load());
    QCOMPARE(reread.value(kalendar, QStringLiteral("Poznámka")), QStringLiteral("Příliš ? ? €"));
}

void TestSettingsFile::codePage1250TableMatchesSystemConverter()
{
    // Every byte survives the way in and out, the unassigned ones included.
    QByteArray allBytes;
    for (int i = 1; i < 256; ++i)
        allBytes.append(char(i));
    QCOMPARE(SettingsFile::toCp1250(SettingsFile::fromCp1250(allBytes)), allBytes);

    QStringDecoder system("windows-1250");
    if (!system.isValid())
        QSKIP("This Qt has no converter for code page 1250 to compare with.");
    for (int i = 0x80; i < 0x100; ++i) {
        if (i == 0x81 || i == 0x83 || i == 0x88 || i == 0x90 || i == 0x98)
            continue; // unassigned in the code page
        const QByteArray byte(1, char(i));
        const QString expected = system.decode(byte);
        QVERIFY2(SettingsFile::fromCp1250(byte) == expected,
                 qPrintable(QStringLiteral("byte 0x%1").arg(i, 2, 16)));
    }
}

void TestSettingsFile::setValueKeepsOrderAndUnknownEntries()
{
    writeIni("[A]\r\nx=1\r\nunknown=keep\r\ny=2\r\n[Other]\r\nz=3\r\n[B]\r\nw=4\r\n");
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());

    QVERIFY(settings.setValue(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("9")));
    QVERIFY(settings.setValue(QStringLiteral("A"), QStringLiteral("new"), QStringLiteral("n")));
    // Names match whatever the case of their letters; the stored spelling stays.
    QVERIFY(settings.setValue(QStringLiteral("b"), QStringLiteral("W"), QStringLiteral("5")));
    QVERIFY(settings.setValue(QStringLiteral("C"), QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(settings.save());

    QCOMPARE(readIni(), QByteArray("[A]\r\nx=9\r\nunknown=keep\r\ny=2\r\nnew=n\r\n"
                                   "[Other]\r\nz=3\r\n[B]\r\nw=5\r\n[C]\r\nk=v\r\n"));
    QCOMPARE(settings.keys(QStringLiteral("a")),
             QStringList({QStringLiteral("x"), QStringLiteral("unknown"), QStringLiteral("y"),
                          QStringLiteral("new")}));
}

void TestSettingsFile::removedKeyLeavesItsSection()
{
    writeIni("[W]\r\nMaximize=Yes\r\nXPos=1\r\n");
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    QVERIFY(settings.removeKey(QStringLiteral("W"), QStringLiteral("XPos")));
    QVERIFY(!settings.removeKey(QStringLiteral("W"), QStringLiteral("XPos")));
    QVERIFY(!settings.removeKey(QStringLiteral("Missing"), QStringLiteral("XPos")));
    QVERIFY(settings.removeKey(QStringLiteral("W"), QStringLiteral("Maximize")));
    QVERIFY(settings.save());
    QCOMPARE(readIni(), QByteArray("[W]\r\n"));
}

void TestSettingsFile::malformedLineIsSkipped_data()
{
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("no equals sign") << QByteArray("just some words");
    QTest::newRow("no key") << QByteArray("=value");
    QTest::newRow("unclosed section") << QByteArray("[Broken");
    QTest::newRow("lone bracket") << QByteArray("]");
    QTest::newRow("blanks and tab") << QByteArray(" \t ");
    QTest::newRow("high bytes") << QByteArray("\xFF\xFE\x80\x81");
    QTest::newRow("NUL bytes") << QByteArray(3, '\0');
}

void TestSettingsFile::malformedLineIsSkipped()
{
    QFETCH(QByteArray, line);
    writeIni("[S]\r\nbefore=1\r\n" + line + "\r\nafter=2\r\n");

    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    QCOMPARE(settings.sections(), QStringList({QStringLiteral("S")}));
    QCOMPARE(settings.keys(QStringLiteral("S")),
             QStringList({QStringLiteral("before"), QStringLiteral("after")}));
    QCOMPARE(settings.value(QStringLiteral("S"), QStringLiteral("after")), QStringLiteral("2"));

    QVERIFY(settings.save());
    QCOMPARE(readIni(), QByteArray("[S]\r\nbefore=1\r\nafter=2\r\n"));
}

void TestSettingsFile::valueCannotStartSectionOrKey_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("stored");

    QTest::newRow("LF") << QStringLiteral("1\n[Evil]\nx=1") << QStringLiteral("1 [Evil] x=1");
    QTest::newRow("CR LF") << QStringLiteral("1\r\n[Evil]\r\nx=1")
                           << QStringLiteral("1  [Evil]  x=1");
    QTest::newRow("CR") << QStringLiteral("1\r[Evil]\rx=1") << QStringLiteral("1 [Evil] x=1");
    QTest::newRow("NUL") << QString::fromUtf8("1\0[Evil]\0x=1", 12)
                         << QStringLiteral("1 [Evil] x=1");
    QTest::newRow("leading break") << QStringLiteral("\n[Evil]\nx=1")
                                   << QStringLiteral("[Evil] x=1");
}

void TestSettingsFile::valueCannotStartSectionOrKey()
{
    QFETCH(QString, value);
    QFETCH(QString, stored);

    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    QVERIFY(settings.setValue(QStringLiteral("Main"), QStringLiteral("XPos"), value));
    QVERIFY(settings.save());

    SettingsFile reread(iniPath());
    QVERIFY(reread.load());
    QCOMPARE(reread.sections(), QStringList({QStringLiteral("Main")}));
    QCOMPARE(reread.keys(QStringLiteral("Main")), QStringList({QStringLiteral("XPos")}));
    QCOMPARE(reread.value(QStringLiteral("Main"), QStringLiteral("XPos")), stored);
}

void TestSettingsFile::unwritableNameIsRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("empty section") << QString() << QStringLiteral("k");
    QTest::newRow("section with ']'") << QStringLiteral("A]B") << QStringLiteral("k");
    QTest::newRow("section with line break") << QStringLiteral("A\n[B") << QStringLiteral("k");
    QTest::newRow("section with outer blank") << QStringLiteral(" A") << QStringLiteral("k");
    QTest::newRow("empty key") << QStringLiteral("A") << QString();
    QTest::newRow("key with '='") << QStringLiteral("A") << QStringLiteral("a=b");
    QTest::newRow("key like a section") << QStringLiteral("A") << QStringLiteral("[B]");
    QTest::newRow("key like a comment") << QStringLiteral("A") << QStringLiteral(";k");
    QTest::newRow("key with line break") << QStringLiteral("A") << QStringLiteral("k\nj");
}

void TestSettingsFile::unwritableNameIsRefused()
{
    QFETCH(QString, section);
    QFETCH(QString, key);

    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    QVERIFY(!settings.setValue(section, key, QStringLiteral("v")));
    QVERIFY(settings.sections().isEmpty());
}

void TestSettingsFile::hostileFileDoesNotCrash_data()
{
    QTest::addColumn<QByteArray>("content");

    QRandomGenerator random(1250);
    QByteArray binary(256 * 1024, Qt::Uninitialized);
    for (char &byte : binary)
        byte = char(random.bounded(256));
    QTest::newRow("binary") << binary;
    QTest::newRow("cut inside a key") << QByteArray("[Preserved]\r\nGLO:Pocet_spusteni_programu=7\r\nGLO:Ro");
    QTest::newRow("cut inside a section name") << QByteArray("[Preserved]\r\nx=1\r\n[Mai");
    QTest::newRow("NUL bytes") << QByteArrayLiteral("[S]\r\na=1\0\0\0\r\nb=2\r\n");
    QTest::newRow("only a signature") << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("line breaks only") << QByteArray(10000, '\r');
    QTest::newRow("one long line") << QByteArray(3 * 1024 * 1024, '[');
}

void TestSettingsFile::hostileFileDoesNotCrash()
{
    QFETCH(QByteArray, content);
    writeIni(content);

    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    const QStringList sections = settings.sections();
    for (const QString &section : sections) {
        for (const QString &key : settings.keys(section))
            settings.value(section, key);
    }
    QVERIFY(settings.setValue(QStringLiteral("Main"), QStringLiteral("XPos"), QStringLiteral("1")));
    QVERIFY(settings.save());

    // What was written reads back the same, and writes back the same.
    const QByteArray first = readIni();
    SettingsFile reread(iniPath());
    QVERIFY(reread.load());
    QCOMPARE(reread.value(QStringLiteral("Main"), QStringLiteral("XPos")), QStringLiteral("1"));
    QVERIFY(reread.save());
    QCOMPARE(readIni(), first);
}

void TestSettingsFile::oversizedFileIsReadUpToLimit()
{
    QByteArray content("[S]\r\nfirst=1\r\n");
    const QByteArray filler = ';' + QByteArray(1000, 'x') + "\r\n";
    while (content.size() < SettingsFile::MaxFileSize - 500)
        content += filler;
    content += "cut=" + QByteArray(1000, 'y') + "\r\n"; // crosses the limit
    content += "last=1\r\n";
    writeIni(content);

    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    QCOMPARE(settings.value(QStringLiteral("S"), QStringLiteral("first")), QStringLiteral("1"));
    QVERIFY(!settings.contains(QStringLiteral("S"), QStringLiteral("cut")));
    QVERIFY(!settings.contains(QStringLiteral("S"), QStringLiteral("last")));
}

void TestSettingsFile::saveLeavesNoTemporaryFile()
{
    writeIni(WindowsFile);
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    QVERIFY(settings.setValue(QStringLiteral("Main"), QStringLiteral("XPos"), QStringLiteral("1")));
    QVERIFY(settings.save());
    QVERIFY(settings.save());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList({SettingsFile::fileName()}));
}

void TestSettingsFile::saveToMissingDirectoryFails()
{
    SettingsFile settings(SettingsFile::pathIn(m_dir->filePath(QStringLiteral("missing"))));
    QVERIFY(settings.load());
    QVERIFY(settings.setValue(QStringLiteral("Main"), QStringLiteral("XPos"), QStringLiteral("1")));
    QString error;
    QVERIFY(!settings.save(&error));
    QVERIFY(!error.isEmpty());
}

void TestSettingsFile::endMarkerIsWritten()
{
    writeIni("[Main]\r\nMaximize=No\r\n[__Dont_Touch_Me__]\r\nSectors=3\r\n");
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());
    settings.writeEndMarker();
    QVERIFY(settings.save());
    QCOMPARE(readIni(), QByteArray("[Main]\r\nMaximize=No\r\n[__Dont_Touch_Me__]\r\nSectors=0\r\n"));
}

void TestSettingsFile::placementIsWrittenByWindowState_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("minimized");
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<QByteArray>("after");

    const QByteArray full("[W]\r\nMaximize=No\r\nMinimize=No\r\nXPos=1\r\nYPos=2\r\n"
                          "Width=3\r\nHeight=4\r\n");
    QTest::newRow("normal, resizable") << QByteArray() << false << false << true
        << QByteArray("[W]\r\nMaximize=No\r\nMinimize=No\r\nXPos=10\r\nYPos=-20\r\n"
                      "Width=300\r\nHeight=200\r\n");
    QTest::newRow("normal, fixed size") << QByteArray() << false << false << false
        << QByteArray("[W]\r\nMaximize=No\r\nMinimize=No\r\nXPos=10\r\nYPos=-20\r\n");
    QTest::newRow("maximised") << full << true << false << true
        << QByteArray("[W]\r\nMaximize=Yes\r\nMinimize=No\r\n");
    QTest::newRow("minimised") << full << false << true << true
        << QByteArray("[W]\r\nMaximize=No\r\nMinimize=Yes\r\n");
    QTest::newRow("fixed size after resizable") << full << false << false << false
        << QByteArray("[W]\r\nMaximize=No\r\nMinimize=No\r\nXPos=10\r\nYPos=-20\r\n"
                      "Width=3\r\nHeight=4\r\n");
}

void TestSettingsFile::placementIsWrittenByWindowState()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, maximized);
    QFETCH(bool, minimized);
    QFETCH(bool, resizable);
    QFETCH(QByteArray, after);

    writeIni(before);
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());

    PlacementState state;
    state.maximized = maximized;
    state.minimized = minimized;
    state.resizable = resizable;
    state.x = 10;
    state.y = -20;
    state.width = 300;
    state.height = 200;
    writePlacement(settings, QStringLiteral("W"), state);
    QVERIFY(settings.save());
    QCOMPARE(readIni(), after);

    const StoredPlacement stored = readPlacement(settings, QStringLiteral("W"));
    QVERIFY(stored.isStored());
    QCOMPARE(stored.isMaximized(), maximized);
    QCOMPARE(stored.minimize, minimized ? QStringLiteral("Yes") : QStringLiteral("No"));
    if (maximized || minimized) {
        QVERIFY(!stored.x && !stored.y && !stored.width && !stored.height);
    } else {
        QCOMPARE(stored.x, std::optional<int>(10));
        QCOMPARE(stored.y, std::optional<int>(-20));
    }
}

void TestSettingsFile::placementNeverStoredOrUnusable()
{
    writeIni("[Odd]\r\nMaximize=Ano\r\nXPos=abc\r\nYPos=12\r\n");
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());

    const StoredPlacement never = readPlacement(settings, QStringLiteral("UpdateKalendar"));
    QVERIFY(!never.isStored());
    QVERIFY(!never.x && !never.y && !never.width && !never.height);

    const StoredPlacement odd = readPlacement(settings, QStringLiteral("Odd"));
    QVERIFY(!odd.isStored());
    QVERIFY(!odd.x);
    QCOMPARE(odd.y, std::optional<int>(12));
}

void TestSettingsFile::concurrentAccessIsSerialised()
{
    SettingsFile settings(iniPath());
    QVERIFY(settings.load());

    auto work = [&settings](const QString &section) {
        for (int i = 0; i < 300; ++i) {
            settings.setValue(section, QStringLiteral("k%1").arg(i % 20), QString::number(i));
            settings.value(section, QStringLiteral("k0"));
            if (i % 100 == 0)
                settings.save();
        }
    };
    std::unique_ptr<QThread> one(QThread::create(work, QStringLiteral("One")));
    std::unique_ptr<QThread> two(QThread::create(work, QStringLiteral("Two")));
    one->start();
    two->start();
    QVERIFY(one->wait(60000));
    QVERIFY(two->wait(60000));

    QVERIFY(settings.save());
    SettingsFile reread(iniPath());
    QVERIFY(reread.load());
    QCOMPARE(reread.sections(), settings.sections());
    for (const QString &section : {QStringLiteral("One"), QStringLiteral("Two")}) {
        QCOMPARE(reread.keys(section).size(), 20);
        QCOMPARE(reread.value(section, QStringLiteral("k19")), QStringLiteral("299"));
    }
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
