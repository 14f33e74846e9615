#include "browselist.h"
#include "datacontext.h"
#include "fieldedit.h"
#include "kalendar.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "shell.h"
#include "updatekalendar.h"

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

struct Month {
    qint64 kod;
    qint64 rok;
    qint64 mesic;
    qint64 dnu;
    qint64 hodin;
    QString nazev;
};

void addMonth(const QString &dir, const Month &m)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::KALENDAR);
    QVERIFY(fm.primeRecord());
    fm.record().setInteger(KAL::ROK, m.rok);
    fm.record().setInteger(KAL::MESIC, m.mesic);
    fm.record().setInteger(KAL::PRACOVNICH_DNU, m.dnu);
    fm.record().setInteger(KAL::PRACOVNICH_HODIN, m.hodin);
    fm.record().setText(KAL::NAZEV, m.nazev);
    QVERIFY(fm.insert().ok());
}

QList<QList<qint64>> storedMonths(const QString &dir)
{
    DataContext c(dir);
    std::vector<Record> rows;
    PageRequest all = PageRequest::forKey(tableDef(TableId::KALENDAR), KAL::KeyKod);
    all.limit = 0;
    c.file(TableId::KALENDAR).readPage(all, &rows);
    QList<QList<qint64>> out;
    for (const Record &r : rows)
        out.append({r.integer(KAL::KOD), r.integer(KAL::ROK), r.integer(KAL::MESIC),
                    r.integer(KAL::PRACOVNICH_DNU), r.integer(KAL::PRACOVNICH_HODIN)});
    return out;
}

// Types `text` key by key, Czech letters included (QTest::keyClicks takes ASCII only).
void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(edit, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
}

// The form's entries filled as a user fills a month.
void fill(UpdateKalendar *form, const QString &dnu, const QString &hodin, const QString &mesic, const QString &rok)
{
    retype(form->nazevEntry(), QStringLiteral("Měsíc"));
    retype(form->dnuEntry(), dnu);
    retype(form->hodinEntry(), hodin);
    retype(form->mesicEntry(), mesic);
    retype(form->rokEntry(), rok);
}

UpdateKalendar *runForm(Windows &windows, Kalendar *list, QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    return windows.keep(qobject_cast<UpdateKalendar *>(list->runningChild()));
}

} // namespace

// The work calendar: the list in entry order and the form that refuses impossible months.
class TstKalendar : public QObject
{
    Q_OBJECT

private slots:
    void opensFromTheMenuInEntryOrder();
    void validMonthIsSavedAndListedLast();
    void impossibleValuesAreRefused_data();
    void impossibleValuesAreRefused();
    void secondRecordOfAMonthIsRefused();
    void changingAMonthIsNoDuplicateOfItself();
    void unchangedStoredMonthClosesWithoutCheck();
};

void TstKalendar::opensFromTheMenuInEntryOrder()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addMonth(dir.path(), {0, 2011, 2, 20, 160, QStringLiteral("Únor 2011")});
    addMonth(dir.path(), {0, 2010, 12, 22, 176, QStringLiteral("Prosinec 2010")});
    Shell::setDataDirectory(dir.path());
    QPointer<ProcedureWindow> w = Shell::startProcedure(startKalendar);
    auto *list = qobject_cast<Kalendar *>(w.data());
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->windowTitle(), QStringLiteral("Browse the Kalendar file"));
    QList<qint64> years;
    list->list()->forEachRecord([&](const Record &r) {
        years.append(r.integer(KAL::ROK));
        return true;
    });
    QCOMPARE(years, (QList<qint64>{2011, 2010}));
    QCOMPARE(list->list()->view()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("prac dni"));
    list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
}

void TstKalendar::validMonthIsSavedAndListedLast()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addMonth(dir.path(), {0, 2011, 1, 21, 168, QStringLiteral("Leden 2011")});
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Kalendar(ctx));
    list->openWindow();
    UpdateKalendar *form = runForm(windows, list, list->insertButton());
    QVERIFY(form);
    QCOMPARE(form->kodDisplay()->text(), QStringLiteral("2"));
    QVERIFY(form->kodDisplay()->isDisplayOnly());
    fill(form, QStringLiteral("31"), QStringLiteral("0"), QStringLiteral("12"), QStringLiteral("2099"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(storedMonths(dir.path()), (QList<QList<qint64>>{{1, 2011, 1, 21, 168}, {2, 2099, 12, 31, 0}}));
    QCOMPARE(list->list()->currentRecord().integer(KAL::KOD), 2);
}

void TstKalendar::impossibleValuesAreRefused_data()
{
    QTest::addColumn<QString>("dnu");
    QTest::addColumn<QString>("hodin");
    QTest::addColumn<QString>("mesic");
    QTest::addColumn<QString>("rok");
    QTest::addColumn<QString>("field");
    // The computation would count 0 days as 20 and 300 as 44.
    QTest::newRow("no working days") << "0" << "0" << "5" << "2010" << "KAL:PRACOVNICH_DNU";
    QTest::newRow("32 working days") << "32" << "0" << "5" << "2010" << "KAL:PRACOVNICH_DNU";
    QTest::newRow("300 working days") << "300" << "0" << "5" << "2010" << "KAL:PRACOVNICH_DNU";
    QTest::newRow("negative days") << "-3" << "0" << "5" << "2010" << "KAL:PRACOVNICH_DNU";
    QTest::newRow("negative hours") << "20" << "-1" << "5" << "2010" << "KAL:PRACOVNICH_HODIN";
    QTest::newRow("month 0") << "20" << "160" << "0" << "2010" << "KAL:MESIC";
    QTest::newRow("month 13") << "20" << "160" << "13" << "2010" << "KAL:MESIC";
    QTest::newRow("two-digit year") << "20" << "160" << "5" << "10" << "KAL:ROK";
    QTest::newRow("year 1800") << "20" << "160" << "5" << "1800" << "KAL:ROK";
    QTest::newRow("year 2100") << "20" << "160" << "5" << "2100" << "KAL:ROK";
}

void TstKalendar::impossibleValuesAreRefused()
{
    QFETCH(QString, dnu);
    QFETCH(QString, hodin);
    QFETCH(QString, mesic);
    QFETCH(QString, rok);
    QFETCH(QString, field);
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Kalendar(ctx));
    list->openWindow();
    UpdateKalendar *form = runForm(windows, list, list->insertButton());
    QVERIFY(form);
    fill(form, dnu, hodin, mesic, rok);
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::InvalidValue});
    QCOMPARE(reporter.entries().front().args.field, field);
    QVERIFY(!form->isFinished());
    // Only the number reserved for the insert is in the table, still blank.
    QCOMPARE(storedMonths(dir.path()), (QList<QList<qint64>>{{1, 0, 0, 0, 0}}));
    const QMap<QString, FieldEdit *> entries = {{QStringLiteral("KAL:PRACOVNICH_DNU"), form->dnuEntry()},
                                                {QStringLiteral("KAL:PRACOVNICH_HODIN"), form->hodinEntry()},
                                                {QStringLiteral("KAL:MESIC"), form->mesicEntry()},
                                                {QStringLiteral("KAL:ROK"), form->rokEntry()}};
    QCOMPARE(form->focusWidget(), entries.value(field));

    // Corrected, it saves.
    reporter.clear();
    fill(form, QStringLiteral("20"), QStringLiteral("160"), QStringLiteral("5"), QStringLiteral("2010"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(storedMonths(dir.path()), (QList<QList<qint64>>{{1, 2010, 5, 20, 160}}));
}

void TstKalendar::secondRecordOfAMonthIsRefused()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addMonth(dir.path(), {0, 2010, 5, 21, 168, QStringLiteral("Květen 2010")});
    addMonth(dir.path(), {0, 2011, 5, 21, 168, QStringLiteral("Květen 2011")});
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Kalendar(ctx));
    list->openWindow();
    UpdateKalendar *form = runForm(windows, list, list->insertButton());
    QVERIFY(form);
    fill(form, QStringLiteral("20"), QStringLiteral("160"), QStringLiteral("5"), QStringLiteral("2010"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::InvalidValue});
    QCOMPARE(reporter.entries().front().args.field, QStringLiteral("KAL:MESIC"));
    QVERIFY(reporter.entries().front().text.contains(QStringLiteral("5/2010")));
    QVERIFY(!form->isFinished());

    reporter.clear();
    retype(form->mesicEntry(), QStringLiteral("6"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(storedMonths(dir.path()).size(), qsizetype(3));
}

void TstKalendar::changingAMonthIsNoDuplicateOfItself()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addMonth(dir.path(), {0, 2010, 5, 21, 168, QStringLiteral("Květen 2010")});
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Kalendar(ctx));
    list->openWindow();
    UpdateKalendar *form = runForm(windows, list, list->changeButton());
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Změna úlohy"));
    retype(form->dnuEntry(), QStringLiteral("20"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(storedMonths(dir.path()), (QList<QList<qint64>>{{1, 2010, 5, 20, 168}}));
}

void TstKalendar::unchangedStoredMonthClosesWithoutCheck()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    // Stored earlier with a two-digit year: looked at and left with "&OK", it stays as it is.
    addMonth(dir.path(), {0, 10, 5, 21, 168, QStringLiteral("Květen")});
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new Kalendar(ctx));
    list->openWindow();
    UpdateKalendar *form = runForm(windows, list, list->changeButton());
    QVERIFY(form);
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(storedMonths(dir.path()), (QList<QList<qint64>>{{1, 10, 5, 21, 168}}));
}

QTEST_MAIN(TstKalendar)
#include "tst_kalendar.moc"
