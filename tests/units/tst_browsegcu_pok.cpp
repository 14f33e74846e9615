#include "browsegcu_pok.h"
#include "browselist.h"
#include "datacontext.h"
#include "fieldedit.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "shell.h"
#include "updategcu_pok.h"

#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

namespace {

class Windows
{
public:
    ~Windows()
    {
        for (qsizetype i = m_list.size() - 1; i >= 0; --i)
            delete m_list[i].data();
    }
    template<typename W> W *keep(W *w)
    {
        m_list.append(w);
        return w;
    }

private:
    QList<QPointer<QWidget>> m_list;
};

void addUnit(const QString &dir, int id, const QString &name)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::GCU_POK);
    QVERIFY(fm.primeRecord());
    fm.record().setInteger(GCP::ID_GCU, id);
    fm.record().setText(GCP::NAZEV, name);
    QVERIFY(fm.insert().ok());
}

void addLog(const QString &dir, int ctecka)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::LOG_POKOJE);
    QVERIFY(fm.primeRecord());
    fm.record().setInteger(LPO::CTECKA, ctecka);
    fm.record().setText(LPO::KARTA, QStringLiteral("K%1").arg(ctecka));
    QVERIFY(fm.insert().ok());
}

// LPO:CTECKA of every log entry, in entry order.
QList<qint64> readersInLog(const QString &dir)
{
    DataContext c(dir);
    std::vector<Record> rows;
    PageRequest all = PageRequest::forKey(tableDef(TableId::LOG_POKOJE), LPO::KeyId);
    all.limit = 0;
    c.file(TableId::LOG_POKOJE).readPage(all, &rows);
    QList<qint64> out;
    for (const Record &r : rows)
        out.append(r.integer(LPO::CTECKA));
    return out;
}

QList<qint64> listedUnits(BrowseList *list)
{
    QList<qint64> out;
    list->forEachRecord([&](const Record &r) {
        out.append(r.integer(GCP::ID_GCU));
        return true;
    });
    return out;
}

// Selects a unit by typing its number into the list, as a user would.
void typeIntoList(BrowseList *list, const QString &digits)
{
    QTest::keyClicks(list->view(), digits);
}

} // namespace

// The door unit list: its order and the unit form's changes carried into the log.
class TstBrowseGCU_POK : public QObject
{
    Q_OBJECT

private slots:
    void opensFromTheMenuInUnitOrder();
    void renumberingCarriesIntoTheLog();
    void deletingSetsTheLogToZero();
};

void TstBrowseGCU_POK::opensFromTheMenuInUnitOrder()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 12, QStringLiteral("Bazén"));
    addUnit(dir.path(), 3, QStringLiteral("Pokoj 103"));
    addUnit(dir.path(), 7, QStringLiteral("Recepce"));
    Shell::setDataDirectory(dir.path());
    QPointer<ProcedureWindow> w = Shell::startProcedure(startBrowseGCU_POK);
    auto *list = qobject_cast<BrowseGCU_POK *>(w.data());
    QVERIFY(list);
    QVERIFY(list->isVisible());
    QCOMPARE(list->windowTitle(), QStringLiteral("Browse the GCU_POK file"));
    QCOMPARE(list->sheet()->tabText(0), QStringLiteral("Nastavení GCU"));
    QCOMPARE(listedUnits(list->list()), (QList<qint64>{3, 7, 12}));
    QCOMPARE(list->list()->currentRecord().integer(GCP::ID_GCU), 3);
    QCOMPARE(list->list()->view()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Č. GCU"));

    typeIntoList(list->list(), QStringLiteral("7"));
    QCOMPARE(list->list()->currentRecord().text(GCP::NAZEV), QStringLiteral("Recepce"));

    QTest::mouseClick(list->closeButton(), Qt::LeftButton);
    QVERIFY(list->isFinished());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
    QVERIFY(reporter.entries().isEmpty());
}

void TstBrowseGCU_POK::renumberingCarriesIntoTheLog()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 3, QStringLiteral("Pokoj 103"));
    addUnit(dir.path(), 5, QStringLiteral("Pokoj 105"));
    addLog(dir.path(), 3);
    addLog(dir.path(), 5);
    addLog(dir.path(), 3);
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new BrowseGCU_POK(ctx));
    list->openWindow();
    QCOMPARE(list->list()->currentRecord().integer(GCP::ID_GCU), 3);

    QTest::mouseClick(list->changeButton(), Qt::LeftButton);
    auto *form = windows.keep(qobject_cast<UpdateGCU_POK *>(list->runningChild()));
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Změna úlohy"));
    FieldEdit *number = form->entry(GCP::ID_GCU);
    QCOMPARE(number->text(), QStringLiteral("3"));
    number->selectAll();
    QTest::keyClick(number, Qt::Key_Delete);
    QTest::keyClicks(number, QStringLiteral("7"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());

    QCOMPARE(readersInLog(dir.path()), (QList<qint64>{7, 5, 7}));
    QCOMPARE(listedUnits(list->list()), (QList<qint64>{5, 7}));
    QCOMPARE(list->list()->currentRecord().integer(GCP::ID_GCU), 7);
    QCOMPARE(list->list()->currentRecord().text(GCP::NAZEV), QStringLiteral("Pokoj 103"));
}

void TstBrowseGCU_POK::deletingSetsTheLogToZero()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 3, QStringLiteral("Pokoj 103"));
    addUnit(dir.path(), 5, QStringLiteral("Pokoj 105"));
    addLog(dir.path(), 3);
    addLog(dir.path(), 5);
    addLog(dir.path(), 3);
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new BrowseGCU_POK(ctx));
    list->openWindow();

    // Answered No first: nothing changes.
    QTest::mouseClick(list->deleteButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::ConfirmDelete});
    QCOMPARE(readersInLog(dir.path()), (QList<qint64>{3, 5, 3}));
    QCOMPARE(listedUnits(list->list()), (QList<qint64>{3, 5}));

    reporter.clear();
    reporter.answer(ErrorReporter::Answer::Yes);
    QVERIFY(!list->hasRunningChild());
    QTest::mouseClick(list->deleteButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::ConfirmDelete});
    QCOMPARE(readersInLog(dir.path()), (QList<qint64>{0, 5, 0}));
    QCOMPARE(listedUnits(list->list()), (QList<qint64>{5}));
}

QTEST_MAIN(TstBrowseGCU_POK)
#include "tst_browsegcu_pok.moc"
