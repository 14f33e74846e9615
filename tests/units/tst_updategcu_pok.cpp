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
#include <QtTest>

namespace {

// Deletes the windows a test made (those still alive) before the context they use goes.
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

std::vector<Record> storedUnits(const QString &dir)
{
    DataContext c(dir);
    std::vector<Record> rows;
    PageRequest all = PageRequest::forKey(tableDef(TableId::GCU_POK), GCP::PRIMARY);
    all.limit = 0;
    c.file(TableId::GCU_POK).readPage(all, &rows);
    return rows;
}

// The unit list with the form its "&Vlož" button started.
UpdateGCU_POK *insertFromList(Windows &windows, BrowseGCU_POK *list)
{
    QTest::mouseClick(list->insertButton(), Qt::LeftButton);
    return windows.keep(qobject_cast<UpdateGCU_POK *>(list->runningChild()));
}

} // namespace

// The door unit form: what a new unit starts with and the unique unit number.
class TstUpdateGCU_POK : public QObject
{
    Q_OBJECT

private slots:
    void newUnitShowsTheDefaults();
    void secondUnitNumberZeroIsRefused();
};

void TstUpdateGCU_POK::newUnitShowsTheDefaults()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new BrowseGCU_POK(ctx));
    list->openWindow();
    UpdateGCU_POK *form = insertFromList(windows, list);
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Přidání úlohy"));

    const std::pair<int, QString> shown[] = {
        {GCP::VERZE_GCU, QStringLiteral("2")},        {GCP::POUZIVAT_ZVUK_OK, QStringLiteral("2")},
        {GCP::POUZIVAT_ZVUK_ERROR, QStringLiteral("3")}, {GCP::DELKA_ZVUKU, QStringLiteral("20")},
        {GCP::ZAMEK_NA_VYSTUPU, QStringLiteral("1")}, {GCP::ZPOZDENI_RELE, QStringLiteral("5")},
        {GCP::ID_GCU, QStringLiteral("0")},           {GCP::ID_POKOJE, QStringLiteral("0")},
        {GCP::SMYCKA, QStringLiteral("0")},           {GCP::POUZITI, QStringLiteral("0")},
        {GCP::NAZEV, QString()},
    };
    for (const auto &[field, text] : shown) {
        QVERIFY2(form->entry(field), qPrintable(tableDef(TableId::GCU_POK).qualifiedName(field)));
        QCOMPARE(form->entry(field)->text(), text);
    }
    // The room's identification number is the first field of the window.
    QCOMPARE(form->firstField(), form->entry(GCP::ID_POKOJE));

    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(form->isFinished());
    QVERIFY(reporter.entries().isEmpty());
    const std::vector<Record> units = storedUnits(dir.path());
    QCOMPARE(units.size(), size_t(1));
    const Record &u = units.front();
    QCOMPARE(u.integer(GCP::ID_GCU), 0);
    QCOMPARE(u.integer(GCP::VERZE_GCU), 2);
    QCOMPARE(u.integer(GCP::POUZIVAT_ZVUK_OK), 2);
    QCOMPARE(u.integer(GCP::POUZIVAT_ZVUK_ERROR), 3);
    QCOMPARE(u.integer(GCP::DELKA_ZVUKU), 20);
    QCOMPARE(u.integer(GCP::ZAMEK_NA_VYSTUPU), 1);
    QCOMPARE(u.integer(GCP::ZPOZDENI_RELE), 5);
    QCOMPARE(u.integer(GCP::ID_POKOJE), 0);
    QCOMPARE(u.integer(GCP::SMYCKA), 0);
    QCOMPARE(u.integer(GCP::POUZITI), 0);
    QCOMPARE(u.text(GCP::NAZEV), QString());
    // The list shows the new unit and selects it.
    QCOMPARE(list->list()->currentRowId(), u.rowId());
}

void TstUpdateGCU_POK::secondUnitNumberZeroIsRefused()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    auto *list = windows.keep(new BrowseGCU_POK(ctx));
    list->openWindow();
    UpdateGCU_POK *first = insertFromList(windows, list);
    QTest::mouseClick(first->saveButton(), Qt::LeftButton);
    QVERIFY(first->isFinished());

    UpdateGCU_POK *second = insertFromList(windows, list);
    QVERIFY(second && second != first);
    QTest::mouseClick(second->saveButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::DuplicateKey});
    QVERIFY(!second->isFinished());
    QCOMPARE(storedUnits(dir.path()).size(), size_t(1));

    // With another number the same form saves.
    FieldEdit *number = second->entry(GCP::ID_GCU);
    number->selectAll();
    QTest::keyClick(number, Qt::Key_Delete);
    QTest::keyClicks(number, QStringLiteral("4"));
    QTest::mouseClick(second->saveButton(), Qt::LeftButton);
    QVERIFY(second->isFinished());
    const std::vector<Record> units = storedUnits(dir.path());
    QCOMPARE(units.size(), size_t(2));
    QCOMPARE(units[1].integer(GCP::ID_GCU), 4);
}

QTEST_MAIN(TstUpdateGCU_POK)
#include "tst_updategcu_pok.moc"
