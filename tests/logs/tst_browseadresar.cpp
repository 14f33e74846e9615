#include "browseadresar.h"
#include "browselist.h"
#include "fieldcombo.h"
#include "fieldedit.h"
#include "globals.h"
#include "peoplefixture.h"
#include "peoplepanel.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "shell.h"
#include "tiskdochazky.h"
#include "updatelog_pokoje.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

using namespace PeopleFixture;

namespace {

BrowseAdresar *open(Windows &windows)
{
    return windows.keep(qobject_cast<BrowseAdresar *>(Shell::startProcedure(startBrowseAdresar)));
}

UpdateLOG_POKOJE *entryForm(BrowseAdresar *w)
{
    return qobject_cast<UpdateLOG_POKOJE *>(w->runningChild());
}

} // namespace

// The attendance window: the person's entries by period, their colours, copying, the report and
// the card page.
class TstBrowseAdresar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { BrowseAdresar::setTodayForTests(QDate()); }
    void emptyAddressBook();
    void newEntryGoesToThePersonWithoutEntries();
    void periodTabs_data();
    void periodTabs();
    void attendanceCodesOnlyWithColours();
    void unknownReaderHasNoPlace();
    void copySavedAddsASecondEntry();
    void copyCancelledAddsNothing();
    void printActsForThisWindowsPerson();
    void cardTabs();
};

void TstBrowseAdresar::emptyAddressBook()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *w = open(windows);
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Browse the ADR_DAT file"));
    QVERIFY(w->people()->list()->isEmpty());
    QVERIFY(w->attendanceList()->isEmpty());
    QVERIFY(w->cardList()->isEmpty());
    QVERIFY(!w->copyButton()->isEnabled());
    QVERIFY(!w->copyItem()->isEnabled());
    QCOMPARE(w->personName()->text(), QString());
}

void TstBrowseAdresar::newEntryGoesToThePersonWithoutEntries()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna Nováková"));
    const qint32 petr = addPerson(dir.path(), QStringLiteral("Petr Svoboda"));
    addLog(dir.path(), anna, QDate(2024, 5, 2), 8, 0, 41);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *w = open(windows);
    QVERIFY(w);
    QCOMPARE(w->personName()->text(), QStringLiteral("Anna Nováková"));
    QVERIFY(w->copyButton()->isEnabled());
    highlight(w->people()->list(), petr);
    QCOMPARE(w->personName()->text(), QStringLiteral("Petr Svoboda"));
    QCOMPARE(GLO::TiskDrzitel.get(), petr);
    QVERIFY(w->attendanceList()->isEmpty());
    QVERIFY(!w->copyButton()->isEnabled());
    // Another window highlighted Anna since: the entry still goes to this window's person.
    GLO::TiskDrzitel.set(anna);
    QTest::mouseClick(w->insertButton(), Qt::LeftButton);
    UpdateLOG_POKOJE *form = entryForm(w);
    QVERIFY(form);
    QCOMPARE(form->personKod(), petr);
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(!w->hasRunningChild());
    const std::vector<Record> rows = logRows(dir.path());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows.back().integer(LPO::DRZITEL), petr);
}

void TstBrowseAdresar::periodTabs_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QList<int>>("days");  // day numbers of the listed entries (month*100+day)

    QTest::newRow("yesterday on 1 March is 29 February") << QDate(2024, 3, 1) << int(PeoplePanel::Yesterday)
                                                         << QList<int>{229};
    QTest::newRow("today") << QDate(2024, 3, 1) << int(PeoplePanel::Today) << QList<int>{301};
    QTest::newRow("this month in May: this year only") << QDate(2024, 5, 20) << int(PeoplePanel::ThisMonth)
                                                       << QList<int>{503, 520};
    QTest::newRow("last month in May: April") << QDate(2024, 5, 20) << int(PeoplePanel::LastMonth)
                                              << QList<int>{430};
    QTest::newRow("last month in January: December before") << QDate(2025, 1, 10) << int(PeoplePanel::LastMonth)
                                                            << QList<int>{1231};
    QTest::newRow("this month in January") << QDate(2025, 1, 10) << int(PeoplePanel::ThisMonth)
                                           << QList<int>{101};
}

void TstBrowseAdresar::periodTabs()
{
    QFETCH(QDate, today);
    QFETCH(int, tab);
    QFETCH(QList<int>, days);
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    const qint32 other = addPerson(dir.path(), QStringLiteral("Other"));
    for (const QDate &d : {QDate(2023, 5, 10), QDate(2024, 2, 28), QDate(2024, 2, 29), QDate(2024, 3, 1),
                           QDate(2024, 4, 30), QDate(2024, 5, 3), QDate(2024, 5, 20), QDate(2024, 12, 31),
                           QDate(2025, 1, 1)})
        addLog(dir.path(), anna, d, 8, 0, 41);
    addLog(dir.path(), other, today, 9, 0, 41);
    BrowseAdresar::setTodayForTests(today);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *w = open(windows);
    QVERIFY(w);
    QCOMPARE(listed(w->attendanceList(), LPO::DATUM).size(), 9);
    w->periodTabs()->setCurrentIndex(tab);
    QList<int> got;
    for (qint64 d : listed(w->attendanceList(), LPO::DATUM)) {
        const QDate date = StdDateTime::toQDate(qint32(d));
        got.append(date.month() * 100 + date.day());
    }
    QCOMPARE(got, days);
}

void TstBrowseAdresar::attendanceCodesOnlyWithColours()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    const QDate day(2024, 5, 2);
    addLog(dir.path(), anna, day, 8, 0, 41);
    addLog(dir.path(), anna, day, 9, 0, 51);
    addLog(dir.path(), anna, day, 10, 0, 15);
    addLog(dir.path(), anna, day, 16, 0, 43);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *w = open(windows);
    QVERIFY(w);
    BrowseList *list = w->attendanceList();
    QCOMPARE(listed(list, LPO::DATA), (QList<qint64>{41, 15, 43}));
    QCOMPARE(cell(list, 0, 2), QStringLiteral("Příchod"));
    QCOMPARE(cell(list, 1, 2), QStringLiteral("Dovolená"));
    QCOMPARE(cell(list, 2, 2), QStringLiteral("Odchod"));
    QAbstractItemModel *model = list->view()->model();
    for (int column = 0; column < 10; ++column) {
        QCOMPARE(model->index(0, column).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 64));
        QCOMPARE(model->index(2, column).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QVERIFY(!model->index(1, column).data(Qt::ForegroundRole).value<QColor>().isValid());
    }
}

void TstBrowseAdresar::unknownReaderHasNoPlace()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 3, QStringLiteral("Recepce"));
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    addLog(dir.path(), anna, QDate(2024, 5, 2), 8, 0, 41, 3);
    addLog(dir.path(), anna, QDate(2024, 5, 2), 9, 0, 43, 9);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *w = open(windows);
    QVERIFY(w);
    QCOMPARE(listed(w->attendanceList(), LPO::CTECKA), (QList<qint64>{3, 9}));
    QCOMPARE(cell(w->attendanceList(), 0, 3), QStringLiteral("Recepce"));
    QCOMPARE(cell(w->attendanceList(), 1, 3), QString());
}

void TstBrowseAdresar::copySavedAddsASecondEntry()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    const qint64 first = addLog(dir.path(), anna, QDate(2024, 5, 2), 8, 0, 41, 4);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *w = open(windows);
    QVERIFY(w);
    QTest::mouseClick(w->copyButton(), Qt::LeftButton);
    UpdateLOG_POKOJE *form = entryForm(w);
    QVERIFY(form);
    QCOMPARE(form->request(), quint8(DataContext::InsertRecord));
    QCOMPARE(form->actionList()->currentText(), QStringLiteral("Příchod"));
    QVERIFY(form->timeEntry()->text().trimmed().endsWith(QStringLiteral("8:00")));
    QCOMPARE(form->record().integer(LPO::DATUM), StdDateTime::fromYmd(2024, 5, 2));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(!w->hasRunningChild());
    const std::vector<Record> rows = logRows(dir.path());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].integer(LPO::ID), first);
    QVERIFY(rows[1].integer(LPO::ID) != first);
    for (int f : {int(LPO::DRZITEL), int(LPO::DATUM), int(LPO::CAS), int(LPO::DATA), int(LPO::CTECKA)})
        QCOMPARE(rows[1].integer(f), rows[0].integer(f));
    QCOMPARE(rows[1].text(LPO::KARTA), rows[0].text(LPO::KARTA));
    // The next "Nový záznam" starts blank again.
    QTest::mouseClick(w->insertButton(), Qt::LeftButton);
    QVERIFY(entryForm(w));
    QCOMPARE(entryForm(w)->actionList()->currentText(), QString());
    reporter.answer(ErrorReporter::Answer::Yes);
    entryForm(w)->reject();
}

void TstBrowseAdresar::copyCancelledAddsNothing()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    addLog(dir.path(), anna, QDate(2024, 5, 2), 8, 0, 41);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *w = open(windows);
    QVERIFY(w);
    w->copyItem()->trigger();
    QVERIFY(entryForm(w));
    reporter.answer(ErrorReporter::Answer::Yes);
    QTest::mouseClick(entryForm(w)->cancelButton(), Qt::LeftButton);
    QVERIFY(!w->hasRunningChild());
    QCOMPARE(logRows(dir.path()).size(), size_t(1));
    QCOMPARE(listed(w->attendanceList(), LPO::DATA), (QList<qint64>{41}));
}

void TstBrowseAdresar::printActsForThisWindowsPerson()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    const qint32 petr = addPerson(dir.path(), QStringLiteral("Petr"));
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *first = open(windows);
    BrowseAdresar *second = open(windows);
    QVERIFY(first && second);
    highlight(second->people()->list(), petr);
    QCOMPARE(GLO::TiskDrzitel.get(), petr);
    QTest::mouseClick(first->printButton(), Qt::LeftButton);
    auto *report = qobject_cast<TiskDochazky *>(first->runningChild());
    QVERIFY(report);
    QCOMPARE(report->personKod(), anna);
    report->placedWindow()->close();
    QVERIFY(!first->hasRunningChild());
}

void TstBrowseAdresar::cardTabs()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint32 anna = addPerson(dir.path(), QStringLiteral("Anna"));
    const qint32 petr = addPerson(dir.path(), QStringLiteral("Petr"));
    addCard(dir.path(), anna, QStringLiteral("A1"), 1);
    addCard(dir.path(), anna, QStringLiteral("A2"), 0);
    addCard(dir.path(), anna, QStringLiteral("A3"), 2);
    addCard(dir.path(), petr, QStringLiteral("P1"), 1);
    Shell::setDataDirectory(dir.path());
    Windows windows;
    BrowseAdresar *w = open(windows);
    QVERIFY(w);
    QTest::mouseClick(w->cardsButton(), Qt::LeftButton);
    QCOMPARE(w->pages()->currentIndex(), int(BrowseAdresar::CardsPage));
    QCOMPARE(listed(w->cardList(), CAR::STAV_KARTY), (QList<qint64>{1, 0, 2}));
    w->cardTabs()->setCurrentIndex(BrowseAdresar::ActiveCards);
    QCOMPARE(listed(w->cardList(), CAR::STAV_KARTY), (QList<qint64>{1}));
    w->cardTabs()->setCurrentIndex(BrowseAdresar::InactiveCards);
    QCOMPARE(listed(w->cardList(), CAR::STAV_KARTY), (QList<qint64>{0, 2}));
    highlight(w->people()->list(), petr);
    QVERIFY(w->cardList()->isEmpty());
    w->cardTabs()->setCurrentIndex(BrowseAdresar::AllCards);
    QCOMPARE(listed(w->cardList(), CAR::DRZITEL), (QList<qint64>{petr}));
    QTest::mouseClick(w->attendanceButton(), Qt::LeftButton);
    QCOMPARE(w->pages()->currentIndex(), int(BrowseAdresar::AttendancePage));
}

QTEST_MAIN(TstBrowseAdresar)
#include "tst_browseadresar.moc"
