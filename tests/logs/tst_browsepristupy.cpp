#include "browselist.h"
#include "browsepristupy.h"
#include "globals.h"
#include "peoplefixture.h"
#include "peoplepanel.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "shell.h"
#include "updatelog_pokoje.h"

#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

using namespace PeopleFixture;

namespace {

BrowsePristupy *open(Windows &windows)
{
    return windows.keep(qobject_cast<BrowsePristupy *>(Shell::startProcedure(startBrowsePristupy)));
}

} // namespace

// The access window: every log row of the person, with the access texts, by date and entry
// number, narrowed by period.
class TstBrowsePristupy : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { BrowsePristupy::setTodayForTests(QDate()); }
    void emptyAddressBook();
    void everyCodeWithAccessTexts();
    void entryNumberOrderWithinADay();
    void periodTabs_data();
    void periodTabs();
    void followsThePersonAndBooksEntriesToIt();
};

void TstBrowsePristupy::emptyAddressBook()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addLog(dir.path(), 0, QDate(2024, 5, 2), 8, 0, 51);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowsePristupy *w = open(windows);
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Browse the ADR_DAT file"));
    QVERIFY(w->people()->list()->isEmpty());
    // Rows without a holder are nobody's: nothing shows without a person.
    QVERIFY(w->list()->isEmpty());
}

void TstBrowsePristupy::everyCodeWithAccessTexts()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 2, QStringLiteral("Bazén"));
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    const QDate day(2024, 5, 2);
    addLog(dir.path(), anna, day, 7, 0, 15, 2);
    addLog(dir.path(), anna, day, 8, 0, 41, 2);
    addLog(dir.path(), anna, day, 9, 0, 51, 7);
    addLog(dir.path(), anna, day, 10, 0, 53);
    addLog(dir.path(), anna, day, 11, 0, 66);
    addLog(dir.path(), anna, day, 12, 0, 0);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowsePristupy *w = open(windows);
    QVERIFY(w);
    BrowseList *list = w->list();
    QCOMPARE(listed(list, LPO::DATA), (QList<qint64>{15, 41, 51, 53, 66, 0}));
    const QStringList texts{QString(), QStringLiteral("Příchod"), QStringLiteral("Otevírám dveře"),
                            QStringLiteral("Zamítnut přístup"), QStringLiteral("GSM - otevřena brána"), QString()};
    for (int row = 0; row < texts.size(); ++row) {
        QCOMPARE(cell(list, row, 2), texts[row]);
        QVERIFY(!list->view()->model()->index(row, 0).data(Qt::ForegroundRole).value<QColor>().isValid());
    }
    QCOMPARE(cell(list, 0, 3), QStringLiteral("Bazén"));
    QCOMPARE(cell(list, 2, 3), QString());
    QCOMPARE(cell(list, 5, 9), QStringLiteral("0"));
}

void TstBrowsePristupy::entryNumberOrderWithinADay()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    const qint64 late = addLog(dir.path(), anna, QDate(2024, 5, 2), 17, 0, 43);
    const qint64 early = addLog(dir.path(), anna, QDate(2024, 5, 2), 7, 0, 41);
    const qint64 before = addLog(dir.path(), anna, QDate(2024, 5, 1), 23, 0, 51);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowsePristupy *w = open(windows);
    QVERIFY(w);
    QCOMPARE(listed(w->list(), LPO::ID), (QList<qint64>{before, late, early}));
}

void TstBrowsePristupy::periodTabs_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("rows");

    QTest::newRow("yesterday on 1 March") << QDate(2024, 3, 1) << int(PeoplePanel::Yesterday) << 1;
    QTest::newRow("this month in May") << QDate(2024, 5, 20) << int(PeoplePanel::ThisMonth) << 2;
    QTest::newRow("last month in January") << QDate(2025, 1, 10) << int(PeoplePanel::LastMonth) << 1;
    QTest::newRow("today, nothing") << QDate(2024, 6, 1) << int(PeoplePanel::Today) << 0;
}

void TstBrowsePristupy::periodTabs()
{
    QFETCH(QDate, today);
    QFETCH(int, tab);
    QFETCH(int, rows);
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    for (const QDate &d : {QDate(2023, 5, 10), QDate(2024, 2, 29), QDate(2024, 5, 3), QDate(2024, 5, 20),
                           QDate(2024, 12, 31)})
        addLog(dir.path(), anna, d, 8, 0, 51);
    BrowsePristupy::setTodayForTests(today);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowsePristupy *w = open(windows);
    QVERIFY(w);
    w->periodTabs()->setCurrentIndex(tab);
    QCOMPARE(listed(w->list(), LPO::ID).size(), rows);
}

void TstBrowsePristupy::followsThePersonAndBooksEntriesToIt()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    const qint32 petr = addPerson(dir.path(), QStringLiteral("Petr"));
    addLog(dir.path(), anna, QDate(2024, 5, 2), 8, 0, 51);
    addLog(dir.path(), petr, QDate(2024, 5, 2), 9, 0, 53);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowsePristupy *w = open(windows);
    QVERIFY(w);
    QCOMPARE(GLO::TiskDrzitel.get(), anna);
    QCOMPARE(listed(w->list(), LPO::DATA), (QList<qint64>{51}));
    highlight(w->people()->list(), petr);
    QCOMPARE(GLO::TiskDrzitel.get(), petr);
    QCOMPARE(listed(w->list(), LPO::DATA), (QList<qint64>{53}));

    // Changing a door event opens the entry form on it; it keeps its person.
    QTest::mouseClick(w->changeButton(), Qt::LeftButton);
    auto *form = qobject_cast<UpdateLOG_POKOJE *>(w->runningChild());
    QVERIFY(form);
    QCOMPARE(form->bookedPerson(), petr);
    form->reject();
    QVERIFY(!w->hasRunningChild());

    QTest::mouseClick(w->insertButton(), Qt::LeftButton);
    form = qobject_cast<UpdateLOG_POKOJE *>(w->runningChild());
    QVERIFY(form);
    QCOMPARE(form->personKod(), petr);
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(!w->hasRunningChild());
    QCOMPARE(logRows(dir.path()).back().integer(LPO::DRZITEL), petr);
    QCOMPARE(listed(w->list(), LPO::DRZITEL).size(), 2);
}

QTEST_MAIN(TstBrowsePristupy)
#include "tst_browsepristupy.moc"
