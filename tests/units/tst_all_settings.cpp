#include "all_settings.h"
#include "browselist.h"
#include "datacontext.h"
#include "fieldedit.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "shell.h"
#include "updategcu_pok.h"
#include "updatekalendar.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
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

void addMonth(const QString &dir, int rok, int mesic, const QString &nazev)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::KALENDAR);
    QVERIFY(fm.primeRecord());
    fm.record().setInteger(KAL::ROK, rok);
    fm.record().setInteger(KAL::MESIC, mesic);
    fm.record().setInteger(KAL::PRACOVNICH_DNU, 20);
    fm.record().setText(KAL::NAZEV, nazev);
    QVERIFY(fm.insert().ok());
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QList<qint64> listed(BrowseList *list, int field)
{
    QList<qint64> out;
    list->forEachRecord([&](const Record &r) {
        out.append(r.integer(field));
        return true;
    });
    return out;
}

qint64 rowsOf(const QString &dir, TableId table)
{
    DataContext c(dir);
    qint64 n = -1;
    c.file(table).count({}, &n);
    return n;
}

} // namespace

// The unit settings overview: its pages and the two lists with their forms.
class TstAllSettings : public QObject
{
    Q_OBJECT

private slots:
    void pagesFollowTheNavigationButtons();
    void unitAddedIsListedAtItsNumber();
    void monthAddedIsListedLast();
    void closingButtonsWriteNothing_data();
    void closingButtonsWriteNothing();
};

void TstAllSettings::pagesFollowTheNavigationButtons()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 1, QStringLiteral("Vstup"));
    addMonth(dir.path(), 2010, 1, QStringLiteral("Leden"));
    Shell::setDataDirectory(dir.path());
    QPointer<ProcedureWindow> w = Shell::startProcedure(startall_settings);
    auto *window = qobject_cast<all_settings *>(w.data());
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Window"));
    QCOMPARE(window->currentPage(), int(all_settings::ObecnePage));
    QCOMPARE(window->sheet()->tabText(3), QStringLiteral("Tab 4"));

    const QString labels[] = {QStringLiteral("Obecné"), QStringLiteral("Přístupové čtečky"), QStringLiteral("Modem GSM"),
                              QStringLiteral("Pracovní kalendář")};
    for (int page : {3, 1, 2, 0}) {
        QPushButton *b = window->navigationButton(all_settings::Page(page));
        QCOMPARE(b->text(), labels[page]);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(window->currentPage(), page);
    }
    // Pages 1 and 3 have their heading and nothing else, whatever the tables hold.
    const std::pair<int, QString> headingOnly[] = {{0, QStringLiteral("Obecné nastavení")},
                                                   {2, QStringLiteral("Modem GSM")}};
    for (const auto &[page, heading] : headingOnly) {
        const QList<QWidget *> children = window->sheet()->widget(page)->findChildren<QWidget *>();
        QCOMPARE(children.size(), 1);
        auto *label = qobject_cast<QLabel *>(children.front());
        QVERIFY(label);
        QCOMPARE(label->text(), heading);
    }
    QCOMPARE(window->readerList()->parentWidget(), window->sheet()->widget(1));
    QCOMPARE(window->calendarList()->parentWidget(), window->sheet()->widget(3));
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
}

void TstAllSettings::unitAddedIsListedAtItsNumber()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 2, QStringLiteral("Vstup"));
    addUnit(dir.path(), 9, QStringLiteral("Sklad"));
    DataContext ctx(dir.path());
    Windows windows;
    auto *window = windows.keep(new all_settings(ctx));
    window->openWindow();
    QTest::mouseClick(window->navigationButton(all_settings::CteckyPage), Qt::LeftButton);
    QCOMPARE(window->readerButton(all_settings::NovyButton)->text(), QStringLiteral("Nový"));
    QTest::mouseClick(window->readerButton(all_settings::NovyButton), Qt::LeftButton);
    auto *form = windows.keep(qobject_cast<UpdateGCU_POK *>(window->runningChild()));
    QVERIFY(form);
    retype(form->entry(GCP::ID_GCU), QStringLiteral("5"));
    retype(form->entry(GCP::NAZEV), QStringLiteral("Wellness"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());

    QCOMPARE(listed(window->readerList(), GCP::ID_GCU), (QList<qint64>{2, 5, 9}));
    QCOMPARE(window->readerList()->currentRecord().text(GCP::NAZEV), QStringLiteral("Wellness"));
    QVERIFY(!window->isFinished());
}

void TstAllSettings::monthAddedIsListedLast()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addMonth(dir.path(), 2011, 3, QStringLiteral("Březen 2011"));
    addMonth(dir.path(), 2010, 1, QStringLiteral("Leden 2010"));
    DataContext ctx(dir.path());
    Windows windows;
    auto *window = windows.keep(new all_settings(ctx));
    window->openWindow();
    QTest::mouseClick(window->navigationButton(all_settings::KalendarPage), Qt::LeftButton);
    QTest::mouseClick(window->calendarButton(all_settings::NovyButton), Qt::LeftButton);
    auto *form = windows.keep(qobject_cast<UpdateKalendar *>(window->runningChild()));
    QVERIFY(form);
    retype(form->nazevEntry(), QStringLiteral("Prosinec 2009"));
    retype(form->dnuEntry(), QStringLiteral("21"));
    retype(form->mesicEntry(), QStringLiteral("12"));
    retype(form->rokEntry(), QStringLiteral("2009"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());

    // In the order of entry, not of the calendar.
    QCOMPARE(listed(window->calendarList(), KAL::ROK), (QList<qint64>{2011, 2010, 2009}));
    QCOMPARE(window->calendarList()->currentRecord().text(KAL::NAZEV), QStringLiteral("Prosinec 2009"));
}

void TstAllSettings::closingButtonsWriteNothing_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("response");
    QTest::newRow("Uložit") << true << int(DataContext::RequestCompleted);
    QTest::newRow("Storno") << false << int(DataContext::RequestCancelled);
}

void TstAllSettings::closingButtonsWriteNothing()
{
    QFETCH(bool, save);
    QFETCH(int, response);
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 2, QStringLiteral("Vstup"));
    addMonth(dir.path(), 2010, 1, QStringLiteral("Leden"));
    DataContext ctx(dir.path());
    Windows windows;
    auto *window = windows.keep(new all_settings(ctx));
    window->openWindow();
    QTest::mouseClick(window->navigationButton(all_settings::CteckyPage), Qt::LeftButton);
    QTest::mouseClick(save ? window->saveButton() : window->stornoButton(), Qt::LeftButton);
    QVERIFY(window->isFinished());
    QCOMPARE(int(window->response()), response);
    QCOMPARE(int(ctx.globalResponse), response);
    QCOMPARE(rowsOf(dir.path(), TableId::GCU_POK), 1);
    QCOMPARE(rowsOf(dir.path(), TableId::KALENDAR), 1);
    QVERIFY(reporter.entries().isEmpty());
}

QTEST_MAIN(TstAllSettings)
#include "tst_all_settings.moc"
