#include "errorreporter.h"
#include "globals.h"
#include "reportfixture.h"
#include "reportrenderer.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "settingsfile.h"
#include "shell.h"
#include "sqlitestore.h"
#include "tiskdochazky.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

using namespace ReportFixture;

namespace {

constexpr qint32 kPerson = 3;
constexpr qint32 kOther = 4;

// A store that counts the page reads of the log.
class CountingStore : public SqliteStore
{
public:
    explicit CountingStore(QString directory)
        : SqliteStore(std::move(directory))
    {
    }
    StoreResult readPage(TableId table, const PageRequest &request, std::vector<Record> *out) override
    {
        if (table == TableId::LOG_POKOJE)
            ++logReads;
        return SqliteStore::readPage(table, request, out);
    }
    static inline int logReads = 0;
};

// March 2011: the person works every weekday, the other person too; the calendar knows March.
void fill(DataContext &ctx)
{
    QVERIFY(addPerson(ctx, kPerson, QStringLiteral("Novák Jan"), QStringLiteral("Lázeňská 3")));
    QVERIFY(addPerson(ctx, kOther, QStringLiteral("Malá Eva")));
    QVERIFY(addMonth(ctx, 2011, 3, 23, QStringLiteral("Březen 2011")));
    for (int d = 1; d <= 31; ++d) {
        const qint32 date = day(2011, 3, d);
        if (StdDateTime::isWeekend(date))
            continue;
        QVERIFY(addPair(ctx, kPerson, date, at(6, 0), at(14, d % 30)));
        QVERIFY(addPair(ctx, kOther, date, at(13, 0), at(21, 0)));
    }
    QVERIFY(addLog(ctx, kPerson, 15, day(2011, 3, 31), 0));
}

template<typename T> T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QString::fromLatin1(name));
    if (!c)
        qWarning("no child %s", name);
    return c;
}

QPushButton *startButton(QWidget *w) { return child<QPushButton>(w, "start"); }
QPushButton *cancelButton(QWidget *w) { return child<QPushButton>(w, "cancel"); }

// Opens the report window for the person, for March 2011, as a people window would.
TiskDochazky *openReport(DataContext &ctx, qint32 person = kPerson, int month = 3, int year = 2011)
{
    auto *w = new TiskDochazky(ctx, person);
    w->openWindow();
    child<QComboBox>(w, "month")->setCurrentIndex(month - 1);
    child<QSpinBox>(w, "year")->setValue(year);
    return w;
}

// Closes what a test left open before the test's context goes: declared after the context.
struct WindowCloser
{
    ~WindowCloser()
    {
        QList<QPointer<ProcedureWindow>> open;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *p = qobject_cast<ProcedureWindow *>(w))
                open << p;
        }
        for (const QPointer<ProcedureWindow> &w : open)
            delete w.data();
    }
};

QList<QPrintPreviewDialog *> previews()
{
    QList<QPrintPreviewDialog *> list;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *p = qobject_cast<QPrintPreviewDialog *>(w); p && p->isVisible())
            list << p;
    }
    return list;
}

} // namespace

// The report window: its start values, the start button's three captions, pause and resume,
// cancelling, a month without records, the preview, and being started by a people window.
class TstTiskDochazky : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startValues_data();
    void startValues();
    void startFixesTheRunAndStoresTheYear_data();
    void startFixesTheRunAndStoresTheYear();
    void pauseAndResumeKeepTheTotals();
    void cancelPrintsNothing_data();
    void cancelPrintsNothing();
    void monthWithoutRecords();
    void previewPlacementIsKept();
    void startedFromAPeopleWindow();

private:
    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<SettingsFile> m_settings;
};

void TstTiskDochazky::init()
{
    GLO::resetForTests();
    CountingStore::logReads = 0;
    DataContext::setStoreFactory([](const QString &dir) { return std::make_unique<CountingStore>(dir); });
    m_dir = std::make_unique<ScratchDir>();
    m_settings = std::make_unique<SettingsFile>(SettingsFile::pathIn(m_dir->path()));
    Shell::setSettings(m_settings.get());
}

void TstTiskDochazky::cleanup()
{
    Shell::setSettings(nullptr);
    m_settings.reset();
    m_dir.reset();
    DataContext::setStoreFactory({});
}

void TstTiskDochazky::startValues_data()
{
    QTest::addColumn<QString>("rok");
    QTest::addColumn<int>("obdobi");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");

    const QDate today = QDate::currentDate();
    QTest::newRow("GLO:Rok 11, Obdobi 3") << QStringLiteral("11") << 3 << 2011 << 3;
    QTest::newRow("GLO:Rok 05, Obdobi 12") << QStringLiteral("05") << 12 << 2005 << 12;
    QTest::newRow("GLO:Rok 99") << QStringLiteral("99") << 1 << 2099 << 1;
    QTest::newRow("GLO:Rok 0 is the year 2000") << QStringLiteral("0") << 6 << 2000 << 6;
    QTest::newRow("nothing set: today") << QString() << 0 << today.year() << today.month();
    QTest::newRow("no year, Obdobi 7") << QString() << 7 << today.year() << 7;
}

void TstTiskDochazky::startValues()
{
    QFETCH(QString, rok);
    QFETCH(int, obdobi);
    QFETCH(int, year);
    QFETCH(int, month);

    DataContext ctx(m_dir->path());
    const WindowCloser closer;
    fill(ctx);
    GLO::Rok.set(rok);
    GLO::Obdobi.set(obdobi);
    GLO::TiskDrzitel.set(kOther);
    auto *w = new TiskDochazky(ctx, kPerson);
    w->openWindow();

    QCOMPARE(child<QSpinBox>(w, "year")->value(), year);
    QCOMPARE(child<QSpinBox>(w, "year")->minimum(), 2000);
    QCOMPARE(child<QSpinBox>(w, "year")->maximum(), 2099);
    QCOMPARE(child<QComboBox>(w, "month")->currentText(), QString::number(month));
    QCOMPARE(child<QComboBox>(w, "month")->count(), 12);
    // Opened paused, for the person it was given, whose name it shows.
    QCOMPARE(w->windowTitle(), QStringLiteral("Tisk"));
    QCOMPARE(startButton(w)->text(), QStringLiteral("Tisk"));
    QCOMPARE(cancelButton(w)->text(), QStringLiteral("Storno"));
    QCOMPARE(w->runState(), TiskDochazky::RunState::Waiting);
    QCOMPARE(child<QLabel>(w, "name")->text(), QStringLiteral("Novák Jan"));
    QCOMPARE(child<QLabel>(w, "freeText")->text(), QString());
    QCOMPARE(GLO::TiskDrzitel.get(), kPerson);
    // Nothing is stored until the start.
    QCOMPARE(GLO::Rok.get(), rok);
    QVERIFY(!w->computation());
}

void TstTiskDochazky::startFixesTheRunAndStoresTheYear_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("rok");
    QTest::newRow("2011") << 2011 << QStringLiteral("11");
    QTest::newRow("2005") << 2005 << QStringLiteral("05");
}

void TstTiskDochazky::startFixesTheRunAndStoresTheYear()
{
    QFETCH(int, year);
    QFETCH(QString, rok);

    DataContext ctx(m_dir->path());
    const WindowCloser closer;
    fill(ctx);
    QVERIFY(addPair(ctx, kPerson, day(2005, 3, 7), at(6, 0), at(14, 0)));
    TiskDochazky *w = openReport(ctx, kPerson, 3, year);
    w->setRecordsPerCycle(5);

    startButton(w)->click();
    QCOMPARE(GLO::Rok.get(), rok);
    QCOMPARE(int(GLO::Obdobi.get()), 3);
    QCOMPARE(startButton(w)->text(), QStringLiteral("Pause"));
    QCOMPARE(w->runState(), TiskDochazky::RunState::Running);
    QVERIFY(!child<QComboBox>(w, "month")->isEnabled());
    QVERIFY(!child<QSpinBox>(w, "year")->isEnabled());
    QCOMPARE(child<QLabel>(w, "freeText")->text(), QStringLiteral("Counting dochazka 2/2..."));

    // Another window highlights another person and chooses another month: this run goes on
    // with its own.
    GLO::TiskDrzitel.set(kOther);
    GLO::Obdobi.set(5);
    QTRY_VERIFY_WITH_TIMEOUT(w->preview(), 20000);
    const MonthlyResult &r = w->renderer()->result();
    QCOMPARE(r.person, kPerson);
    QCOMPARE(r.MESIC, 3);
    QCOMPARE(r.Rok, year);
    QCOMPARE(w->renderer()->title(), QStringLiteral("Přehled docházky za rok %1 měsíc").arg(year));
    QCOMPARE(r.lines.size(), size_t(year == 2011 ? 2 * 23 + 1 : 2));
    w->preview()->reject();
}

void TstTiskDochazky::pauseAndResumeKeepTheTotals()
{
    DataContext ctx(m_dir->path());
    const WindowCloser closer;
    fill(ctx);
    TiskDochazky *w = openReport(ctx);
    w->setRecordsPerCycle(1);
    QSignalSpy finished(w, &ProcedureWindow::finished);
    CountingStore::logReads = 0;

    startButton(w)->click();
    QTRY_VERIFY(w->computation()->processedCount() >= 3);
    startButton(w)->click();
    QCOMPARE(startButton(w)->text(), QStringLiteral("Restart"));
    QCOMPARE(w->runState(), TiskDochazky::RunState::Paused);
    const int done = w->computation()->processedCount();
    const qint64 worked = w->computation()->result().ITEMTOTAL;
    QTest::qWait(4 * TiskDochazky::TimerIntervalMs);
    QCOMPARE(w->computation()->processedCount(), done);
    QVERIFY(!child<QLabel>(w, "percent")->text().isEmpty());

    // Resuming goes on from the next record with the totals as they were.
    startButton(w)->click();
    QCOMPARE(startButton(w)->text(), QStringLiteral("Pause"));
    QTRY_VERIFY(w->computation()->processedCount() > done);
    QVERIFY(w->computation()->result().ITEMTOTAL >= worked);
    startButton(w)->click();
    startButton(w)->click();
    QTRY_VERIFY_WITH_TIMEOUT(w->preview(), 20000);
    // The preparation read the log once, however often the run was paused.
    QCOMPARE(CountingStore::logReads, 1);
    QCOMPARE(w->runState(), TiskDochazky::RunState::Ended);
    QCOMPARE(child<QLabel>(w, "percent")->text(), QStringLiteral("100%"));

    // The same as the month computed at once.
    StoreAttendanceSource source(ctx);
    MonthlyComputation whole(&source, kPerson, 3, 2011, ShiftBoundaries{});
    QVERIFY(whole.compute());
    const MonthlyResult &a = whole.result();
    const MonthlyResult &b = w->renderer()->result();
    QCOMPARE(b.lines.size(), a.lines.size());
    for (size_t i = 0; i < a.lines.size(); ++i) {
        QCOMPARE(b.lines[i].POL, a.lines[i].POL);
        QCOMPARE(b.lines[i].DATA1, a.lines[i].DATA1);
        QCOMPARE(b.lines[i].DATA2, a.lines[i].DATA2);
    }
    QCOMPARE(b.ITEMTOTAL, a.ITEMTOTAL);
    QCOMPARE(b.DOVOLENA, a.DOVOLENA);
    QCOMPARE(b.NOCNI, a.NOCNI);
    QCOMPARE(b.PRESCAS, a.PRESCAS);
    QCOMPARE(b.PRESCAS_ROK, a.PRESCAS_ROK);
    QCOMPARE(b.VYSLEDEK_SKUT, a.VYSLEDEK_SKUT);
    QCOMPARE(b.KONECNY_VYSLEDEK, a.KONECNY_VYSLEDEK);
    QCOMPARE(b.VYSLEDEK_PRESC_ROK, a.VYSLEDEK_PRESC_ROK);

    // The preview: maximised, with the report's pages; closing it closes the window.
    QPrintPreviewDialog *preview = w->preview();
    QVERIFY(preview->isVisible());
    QVERIFY(preview->isMaximized());
    QCOMPARE(finished.count(), 0);
    QPointer<TiskDochazky> alive(w);
    preview->reject();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).value<quint8>(), quint8(DataContext::RequestCompleted));
    QTRY_VERIFY(alive.isNull());
    QCOMPARE(m_settings->value(TiskDochazky::previewSection(), QStringLiteral("Maximize")), QStringLiteral("Yes"));
    QCOMPARE(m_settings->value(QStringLiteral("TiskDochazky"), QStringLiteral("Maximize")), QStringLiteral("No"));
}

void TstTiskDochazky::cancelPrintsNothing_data()
{
    QTest::addColumn<int>("ticks");   // -1: before the start; otherwise after some records
    QTest::addColumn<bool>("paused");
    QTest::addColumn<bool>("escape");

    QTest::newRow("Storno before the start") << -1 << false << false;
    QTest::newRow("Esc before the start") << -1 << false << true;
    QTest::newRow("Storno while running") << 2 << false << false;
    QTest::newRow("Esc while running") << 2 << false << true;
    QTest::newRow("Storno while paused") << 2 << true << false;
}

void TstTiskDochazky::cancelPrintsNothing()
{
    QFETCH(int, ticks);
    QFETCH(bool, paused);
    QFETCH(bool, escape);

    DataContext ctx(m_dir->path());
    const WindowCloser closer;
    fill(ctx);
    TiskDochazky *w = openReport(ctx);
    w->setRecordsPerCycle(1);
    QSignalSpy finished(w, &ProcedureWindow::finished);
    QPointer<TiskDochazky> alive(w);
    QVERIFY(QTest::qWaitForWindowActive(w));

    if (ticks >= 0) {
        startButton(w)->click();
        QTRY_VERIFY(w->computation()->processedCount() >= ticks);
        if (paused)
            startButton(w)->click();
    }
    if (escape)
        QTest::keyClick(w, Qt::Key_Escape);
    else
        cancelButton(w)->click();

    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).value<quint8>(), quint8(DataContext::RequestCancelled));
    QTRY_VERIFY(alive.isNull());
    QTest::qWait(3 * TiskDochazky::TimerIntervalMs);
    QVERIFY(previews().isEmpty());
    QCOMPARE(m_settings->contains(TiskDochazky::previewSection(), QStringLiteral("Maximize")), false);
    QCOMPARE(GLO::Rok.get(), ticks < 0 ? QString() : QStringLiteral("11"));
}

void TstTiskDochazky::monthWithoutRecords()
{
    DataContext ctx(m_dir->path());
    const WindowCloser closer;
    fill(ctx);
    ScriptedReporter reporter;
    TiskDochazky *w = openReport(ctx, kPerson, 4, 2011);
    QSignalSpy finished(w, &ProcedureWindow::finished);

    startButton(w)->click();
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::NoRecords});
    const QString text = reporter.entries().front().text;
    QVERIFY2(text.contains(QStringLiteral("Novák Jan")) && text.contains(QStringLiteral("4/2011")), qPrintable(text));
    QCOMPARE(reporter.entries().front().title, QStringLiteral("Žádné záznamy"));

    // No preview; the window waits for another month.
    QTest::qWait(2 * TiskDochazky::TimerIntervalMs);
    QVERIFY(!w->preview());
    QVERIFY(previews().isEmpty());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(w->runState(), TiskDochazky::RunState::Waiting);
    QCOMPARE(startButton(w)->text(), QStringLiteral("Tisk"));
    QVERIFY(child<QComboBox>(w, "month")->isEnabled());

    child<QComboBox>(w, "month")->setCurrentIndex(2);
    startButton(w)->click();
    QTRY_VERIFY_WITH_TIMEOUT(w->preview(), 20000);
    QCOMPARE(reporter.entries().size(), 1);
    w->preview()->reject();
    QCOMPARE(finished.count(), 1);
}

void TstTiskDochazky::previewPlacementIsKept()
{
    DataContext ctx(m_dir->path());
    const WindowCloser closer;
    fill(ctx);
    const QString section = TiskDochazky::previewSection();
    m_settings->setValue(section, QStringLiteral("Maximize"), QStringLiteral("No"));
    m_settings->setValue(section, QStringLiteral("Minimize"), QStringLiteral("No"));
    m_settings->setValue(section, QStringLiteral("XPos"), QStringLiteral("10"));
    m_settings->setValue(section, QStringLiteral("YPos"), QStringLiteral("12"));
    m_settings->setValue(section, QStringLiteral("Width"), QStringLiteral("300"));
    m_settings->setValue(section, QStringLiteral("Height"), QStringLiteral("200"));

    TiskDochazky *w = openReport(ctx);
    startButton(w)->click();
    QTRY_VERIFY_WITH_TIMEOUT(w->preview(), 20000);
    QPrintPreviewDialog *preview = w->preview();
    QVERIFY(!preview->isMaximized());
    const QSize size = preview->size();
    preview->reject();

    QCOMPARE(m_settings->value(section, QStringLiteral("Maximize")), QStringLiteral("No"));
    const int width = m_settings->value(section, QStringLiteral("Width")).toInt();
    QVERIFY2(qAbs(width - 300) <= 2, qPrintable(QString::number(width)));
    QVERIFY(size.width() > 0);
}

void TstTiskDochazky::startedFromAPeopleWindow()
{
    DataContext ctx(m_dir->path());
    const WindowCloser closer;
    fill(ctx);
    auto *owner = new ProcedureWindow(QStringLiteral("BrowseAdresar"), ctx);
    owner->setDesignedSize(200, 100, true);
    owner->openWindow();
    int response = -1;
    auto *report = new TiskDochazky(owner->context(), kPerson, owner);
    owner->runChild(report, [&response](quint8 r) { response = r; });

    // A window of its own, usable while the people window waits for it.
    QVERIFY(report->isWindow());
    QVERIFY(report->isVisible());
    QVERIFY(report->isEnabled());
    QVERIFY(startButton(report)->isEnabled());
    QVERIFY(!owner->isEnabled());
    QCOMPARE(GLO::TiskDrzitel.get(), kPerson);

    cancelButton(report)->click();
    QCOMPARE(response, int(DataContext::RequestCancelled));
    QVERIFY(owner->isEnabled());
    delete owner;
}

QTEST_MAIN(TstTiskDochazky)
#include "tst_tiskdochazky.moc"
