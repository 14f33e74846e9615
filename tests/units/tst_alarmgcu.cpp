#include "alarmgcu.h"
#include "browselist.h"
#include "datacontext.h"
#include "fieldedit.h"
#include "helpwindow.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "shell.h"
#include "updategcu_alarm.h"

#include <QLabel>
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

void addAlarm(const QString &dir, int id, int cislo)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::GCU_ALARM);
    fm.record().clear();
    fm.record().setInteger(ALR::ID, id);
    fm.record().setInteger(ALR::VERZE_GCU, 2);
    fm.record().setInteger(ALR::CISLO_GCU, cislo);
    QVERIFY(fm.insert().ok());
}

// Every alarm record as (id, verze, cislo, vystup), in id order.
QList<QList<qint64>> storedAlarms(const QString &dir)
{
    DataContext c(dir);
    std::vector<Record> rows;
    PageRequest all = PageRequest::forKey(tableDef(TableId::GCU_ALARM), ALR::Keyid);
    all.limit = 0;
    c.file(TableId::GCU_ALARM).readPage(all, &rows);
    QList<QList<qint64>> out;
    for (const Record &r : rows)
        out.append({r.integer(ALR::ID), r.integer(ALR::VERZE_GCU), r.integer(ALR::CISLO_GCU),
                    r.integer(ALR::ALARM_VYSTUP)});
    return out;
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

Updategcu_alarm *insertFromList(Windows &windows, alarmGCU *list)
{
    QTest::mouseClick(list->insertButton(), Qt::LeftButton);
    return windows.keep(qobject_cast<Updategcu_alarm *>(list->runningChild()));
}

} // namespace

// The alarm outputs: the list, the form's proposed and typed ids, its help.
class TstAlarmGCU : public QObject
{
    Q_OBJECT

private slots:
    void opensFromTheMenu();
    void newRecordProposesTheNextId();
    void typedExistingIdIsRefused();
    void helpButtonShowsTheTopic();
};

void TstAlarmGCU::opensFromTheMenu()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addAlarm(dir.path(), 4, 1);
    addAlarm(dir.path(), 2, 1);
    Shell::setDataDirectory(dir.path());
    QPointer<ProcedureWindow> w = Shell::startProcedure(startalarmGCU);
    auto *list = qobject_cast<alarmGCU *>(w.data());
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->windowTitle(), QStringLiteral("Browse the gcu_alarm file"));
    QCOMPARE(list->sheet()->tabText(0), QStringLiteral("&1) Keyid"));
    QList<qint64> ids;
    list->list()->forEachRecord([&](const Record &r) {
        ids.append(r.integer(ALR::ID));
        return true;
    });
    QCOMPARE(ids, (QList<qint64>{2, 4}));
    list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
}

void TstAlarmGCU::newRecordProposesTheNextId()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addAlarm(dir.path(), 1, 1);
    addAlarm(dir.path(), 5, 2);
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new alarmGCU(ctx));
    list->openWindow();
    Updategcu_alarm *form = insertFromList(windows, list);
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Přidání úlohy"));
    QCOMPARE(form->idEntry()->text(), QStringLiteral("6"));
    QCOMPARE(form->verzeEntry()->text(), QStringLiteral("0"));

    // A unit number no door unit has is stored without complaint.
    retype(form->verzeEntry(), QStringLiteral("2"));
    retype(form->cisloEntry(), QStringLiteral("99"));
    retype(form->vystupEntry(), QStringLiteral("3"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(storedAlarms(dir.path()), (QList<QList<qint64>>{{1, 2, 1, 0}, {5, 2, 2, 0}, {6, 2, 99, 3}}));
    QCOMPARE(list->list()->currentRecord().integer(ALR::ID), 6);
}

void TstAlarmGCU::typedExistingIdIsRefused()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addAlarm(dir.path(), 1, 1);
    addAlarm(dir.path(), 2, 7);
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new alarmGCU(ctx));
    list->openWindow();
    Updategcu_alarm *form = insertFromList(windows, list);
    QVERIFY(form);
    QCOMPARE(form->idEntry()->text(), QStringLiteral("3"));
    retype(form->idEntry(), QStringLiteral("2"));
    retype(form->cisloEntry(), QStringLiteral("8"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::DuplicateKey});
    QVERIFY(!form->isFinished());
    // Record 2 is untouched.
    QCOMPARE(storedAlarms(dir.path()).at(1), (QList<qint64>{2, 2, 7, 0}));

    // Given up: the number reserved for the insert goes again.
    reporter.clear();
    reporter.answer(ErrorReporter::Answer::Yes);
    QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::CancelChanges});
    QVERIFY(form->isFinished());
    QCOMPARE(storedAlarms(dir.path()), (QList<QList<qint64>>{{1, 2, 1, 0}, {2, 2, 7, 0}}));
}

void TstAlarmGCU::helpButtonShowsTheTopic()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new alarmGCU(ctx));
    list->openWindow();
    Updategcu_alarm *form = insertFromList(windows, list);
    QVERIFY(form);
    QCOMPARE(form->helpButton()->text(), QStringLiteral("&Help"));
    QCOMPARE(form->helpButton()->toolTip(), QStringLiteral("See Help Window"));
    QTest::mouseClick(form->helpButton(), Qt::LeftButton);
    QTest::mouseClick(form->helpButton(), Qt::LeftButton);
    const QList<HelpWindow *> help = form->findChildren<HelpWindow *>();
    QCOMPARE(help.size(), 1);  // asked twice, shown once
    QVERIFY(help.front()->isVisible());
    QCOMPARE(help.front()->topic(), QStringLiteral("Updategcu_alarm"));
    QVERIFY(HelpWindow::hasText(QStringLiteral("Updategcu_alarm")));
    QVERIFY(help.front()->textLabel()->text().contains(QStringLiteral("alarmový výstup")));
    // The help leaves the form as it was.
    QVERIFY(!form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
}

QTEST_MAIN(TstAlarmGCU)
#include "tst_alarmgcu.moc"
