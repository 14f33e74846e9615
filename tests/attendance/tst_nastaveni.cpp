#include "browselist.h"
#include "datacontext.h"
#include "fieldedit.h"
#include "globals.h"
#include "helpwindow.h"
#include "nastaveni.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "shell.h"
#include "stddatetime.h"
#include "updatesetings.h"

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

void addSettings(const QString &dir, int id, qint32 ranni, qint32 odpoledni, qint32 nocni)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::SETINGS);
    QVERIFY(fm.primeRecord());
    fm.record().setInteger(SET::ID, id);
    fm.record().setInteger(SET::RANNI_DO, ranni);
    fm.record().setInteger(SET::ODPOLEDNI_DO, odpoledni);
    fm.record().setInteger(SET::NOCNI_DO, nocni);
    QVERIFY(fm.insert().ok());
}

// Every settings record as (id, ranni, odpoledni, nocni), in id order.
QList<QList<qint64>> storedSettings(const QString &dir)
{
    DataContext c(dir);
    std::vector<Record> rows;
    PageRequest all = PageRequest::forKey(tableDef(TableId::SETINGS), SET::PRIMARY);
    all.limit = 0;
    c.file(TableId::SETINGS).readPage(all, &rows);
    QList<QList<qint64>> out;
    for (const Record &r : rows)
        out.append({r.integer(SET::ID), r.integer(SET::RANNI_DO), r.integer(SET::ODPOLEDNI_DO),
                    r.integer(SET::NOCNI_DO)});
    return out;
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

UpdateSETINGS *runForm(Windows &windows, Nastaveni *list, QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    return windows.keep(qobject_cast<UpdateSETINGS *>(list->runningChild()));
}

qint64 at(int h, int m)
{
    return StdDateTime::fromHms(h, m);
}

} // namespace

// The shift boundaries: the list, the form, the typed record number and the help.
class TstNastaveni : public QObject
{
    Q_OBJECT

private slots:
    void opensFromTheMenu();
    void boundariesAreStoredAsTyped_data();
    void boundariesAreStoredAsTyped();
    void typedIdUsedAlreadyIsRefused();
    void changeTakesEffectAtTheNextStart();
    void helpButtonShowsTheTopic();
};

void TstNastaveni::opensFromTheMenu()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addSettings(dir.path(), 2, at(6, 0), at(14, 0), at(22, 0));
    addSettings(dir.path(), 1, at(12, 0), at(20, 0), at(4, 0));
    Shell::setDataDirectory(dir.path());
    QPointer<ProcedureWindow> w = Shell::startProcedure(startNastaveni);
    auto *list = qobject_cast<Nastaveni *>(w.data());
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->windowTitle(), QStringLiteral("Browse the SETINGS file"));
    QCOMPARE(list->sheet()->tabText(0), QStringLiteral("&1) PRIMARY"));
    QCOMPARE(list->list()->currentRecord().integer(SET::ID), 1);
    // The boundaries are shown as short times.
    const QAbstractItemModel *model = list->list()->view()->model();
    QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("12:00"));
    QCOMPARE(model->data(model->index(0, 3)).toString(), QStringLiteral("4:00"));
    list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
}

void TstNastaveni::boundariesAreStoredAsTyped_data()
{
    QTest::addColumn<QString>("ranni");
    QTest::addColumn<QString>("odpoledni");
    QTest::addColumn<QString>("nocni");
    QTest::addColumn<QList<qint64>>("stored");
    QTest::newRow("in order") << "12:00" << "20:00" << "4:00" << QList<qint64>{1, at(12, 0), at(20, 0), at(4, 0)};
    // Nothing checks the order of the boundaries.
    QTest::newRow("out of order") << "6:00" << "20:00" << "10:00" << QList<qint64>{1, at(6, 0), at(20, 0), at(10, 0)};
    QTest::newRow("midnight and blank") << "0:00" << "" << "23:59"
                                        << QList<qint64>{1, StdDateTime::Midnight, 0, at(23, 59)};
}

void TstNastaveni::boundariesAreStoredAsTyped()
{
    QFETCH(QString, ranni);
    QFETCH(QString, odpoledni);
    QFETCH(QString, nocni);
    QFETCH(QList<qint64>, stored);
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Nastaveni(ctx));
    list->openWindow();
    UpdateSETINGS *form = runForm(windows, list, list->insertButton());
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Přidání úlohy"));
    retype(form->idEntry(), QStringLiteral("1"));
    retype(form->ranniEntry(), ranni);
    retype(form->odpoledniEntry(), odpoledni);
    retype(form->nocniEntry(), nocni);
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(storedSettings(dir.path()), QList<QList<qint64>>{stored});
}

void TstNastaveni::typedIdUsedAlreadyIsRefused()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addSettings(dir.path(), 1, at(12, 0), at(20, 0), at(4, 0));
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Nastaveni(ctx));
    list->openWindow();
    UpdateSETINGS *form = runForm(windows, list, list->insertButton());
    QVERIFY(form);
    retype(form->idEntry(), QStringLiteral("1"));
    retype(form->ranniEntry(), QStringLiteral("8:00"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::DuplicateKey});
    QVERIFY(!form->isFinished());
    QCOMPARE(storedSettings(dir.path()), (QList<QList<qint64>>{{1, at(12, 0), at(20, 0), at(4, 0)}}));

    reporter.clear();
    retype(form->idEntry(), QStringLiteral("2"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QCOMPARE(storedSettings(dir.path()).size(), qsizetype(2));
}

void TstNastaveni::changeTakesEffectAtTheNextStart()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addSettings(dir.path(), 1, at(12, 0), at(20, 0), at(4, 0));
    GLO::resetForTests();
    GLO::setShiftBoundaries(qint32(at(4, 0)), qint32(at(12, 0)), qint32(at(20, 0)));
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Nastaveni(ctx));
    list->openWindow();
    UpdateSETINGS *form = runForm(windows, list, list->changeButton());
    QVERIFY(form);
    QCOMPARE(form->ranniEntry()->text(), QStringLiteral("12:00"));
    retype(form->ranniEntry(), QStringLiteral("11:30"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QCOMPARE(storedSettings(dir.path()), (QList<QList<qint64>>{{1, at(11, 30), at(20, 0), at(4, 0)}}));
    // The running program keeps the boundaries it loaded when it started.
    QCOMPARE(qint64(GLO::RANNI_DO.get()), at(12, 0));
    GLO::resetForTests();
}

void TstNastaveni::helpButtonShowsTheTopic()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Nastaveni(ctx));
    list->openWindow();
    UpdateSETINGS *form = runForm(windows, list, list->insertButton());
    QVERIFY(form);
    QTest::mouseClick(form->helpButton(), Qt::LeftButton);
    const QList<HelpWindow *> help = form->findChildren<HelpWindow *>();
    QCOMPARE(help.size(), 1);
    QVERIFY(help.front()->isVisible());
    QCOMPARE(help.front()->topic(), QStringLiteral("UpdateSETINGS"));
    QVERIFY(HelpWindow::hasText(QStringLiteral("UpdateSETINGS")));
    QVERIFY(help.front()->textLabel()->text().contains(QStringLiteral("ranni do")));
    QVERIFY(!HelpWindow::hasText(QStringLiteral("UpdateCARDS")));
    QVERIFY(!form->isFinished());
}

QTEST_MAIN(TstNastaveni)
#include "tst_nastaveni.moc"
