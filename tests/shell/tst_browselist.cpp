#include "browselist.h"
#include "browsemodel.h"
#include "czechcollation.h"
#include "datacontext.h"
#include "keyscale.h"
#include "procedurewindow.h"
#include "recordform.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "sqlitestore.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QVBoxLayout>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace {

// A store that reads normally until a chosen page read, which fails as a device error would.
int g_pageReadsBeforeFailure = -1;

class ReadFailingStore : public SqliteStore
{
public:
    using SqliteStore::SqliteStore;

    StoreResult readPage(TableId table, const PageRequest &request, std::vector<Record> *out) override
    {
        if (g_pageReadsBeforeFailure >= 0 && g_pageReadsBeforeFailure-- == 0)
            return {StoreStatus::IoError, QStringLiteral("disk I/O error (injected)")};
        return SqliteStore::readPage(table, request, out);
    }
};

// Rows added in one transaction: the table files sync on every commit, and a test adds many.
class Bulk
{
public:
    Bulk(DataContext &ctx, TableId table)
        : m_store(ctx.store())
    {
        ctx.file(table).use();
        m_store.begin({table}, 2000);
    }
    ~Bulk() { m_store.commit(); }

private:
    Store &m_store;
};

void addLog(DataContext &ctx, qint64 id, qint64 drzitel = 0, qint64 cas = 0, qint64 data = 0,
            const QString &karta = QString())
{
    FileManager &f = ctx.file(TableId::LOG_POKOJE);
    Record &r = f.record();
    r.clear();
    r.setInteger(LPO::ID, id);
    r.setInteger(LPO::DRZITEL, drzitel);
    r.setInteger(LPO::CAS, cas);
    r.setInteger(LPO::DATA, data);
    r.setText(LPO::KARTA, karta);
    QVERIFY(f.insert().ok());
}

void addLogs(DataContext &ctx, qint64 first, qint64 last, qint64 step = 1)
{
    Bulk bulk(ctx, TableId::LOG_POKOJE);
    for (qint64 id = first; id <= last; id += step)
        addLog(ctx, id);
}

void addPerson(DataContext &ctx, qint64 kod, const QString &name)
{
    FileManager &f = ctx.file(TableId::ADR_DAT);
    f.record().clear();
    f.record().setInteger(ADR::KOD, kod);
    f.record().setText(ADR::NAZEV, name);
    QVERIFY(f.insert().ok());
}

qint64 addCard(DataContext &ctx, const QString &rfid, qint64 druh = 0)
{
    FileManager &f = ctx.file(TableId::CARDS);
    f.record().clear();
    f.record().setText(CAR::KOD_RFID, rfid);
    f.record().setInteger(CAR::DRUH, druh);
    const OpResult r = f.insert();
    return r.ok() ? f.record().integer(CAR::ID) : -1;
}

std::vector<BrowseColumn> logColumns()
{
    return {BrowseColumn::ofField(LPO::ID, QStringLiteral("Id"), 40, Qt::AlignRight, Qt::AlignHCenter,
                                  QStringLiteral("n-14")),
            BrowseColumn::ofField(LPO::KARTA, QStringLiteral("Karta"), 60, Qt::AlignLeft, Qt::AlignLeft,
                                  QStringLiteral("s16")),
            BrowseColumn::ofField(LPO::DRZITEL, QStringLiteral("Drzitel"), 40, Qt::AlignRight, Qt::AlignHCenter,
                                  QStringLiteral("n-14")),
            BrowseColumn::ofField(LPO::CAS, QStringLiteral("Cas"), 40, Qt::AlignRight, Qt::AlignHCenter,
                                  QStringLiteral("n-14"))};
}

// The values of one field on the page, top to bottom.
QList<qint64> shown(const BrowseList &list, int field)
{
    QList<qint64> out;
    for (const Record &r : list.model()->rows())
        out << r.integer(field);
    return out;
}

QStringList shownTexts(const BrowseList &list, int field)
{
    QStringList out;
    for (const Record &r : list.model()->rows())
        out << r.text(field);
    return out;
}

QList<qint64> range(qint64 first, qint64 last)
{
    QList<qint64> out;
    for (qint64 v = first; v <= last; ++v)
        out << v;
    return out;
}

// Types `text` into the list key by key, as a keyboard would (any letter, not only Latin-1).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QPoint rowCentre(const BrowseList &list, int row, int column = 0)
{
    return list.view()->visualRect(list.model()->index(row, column)).center();
}

// A window of the kind every list window is: the list fills it and a read failure closes it.
class ListWindow : public ProcedureWindow
{
public:
    ListWindow(DataContext &ctx, TableId table)
        : ProcedureWindow(QStringLiteral("BrowseTest"), ctx)
    {
        list = new BrowseList(ctx, table, this);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(list);
        connect(list, &BrowseList::readFailed, this, [this] { close(); });
        resize(420, 260);
    }
    BrowseList *list;
};

// A form that does what the test tells it to and ends with the response it is given.
class FakeForm : public ProcedureWindow
{
public:
    explicit FakeForm(DataContext &ctx)
        : ProcedureWindow(QStringLiteral("UpdateTest"), ctx)
        , bufferAtStart(ctx.file(TableId::LOG_POKOJE).record())
    {
    }
    void end(quint8 response) { finish(response); }
    Record bufferAtStart;
};

// The smallest record form: no controls; an insert saves the record its priming reserved.
class EmptyLogForm : public RecordForm
{
public:
    explicit EmptyLogForm(DataContext &ctx)
        : RecordForm(QStringLiteral("UpdateLOG_POKOJE"), ctx, TableId::LOG_POKOJE)
    {
    }
};

} // namespace

// The list of every window: keyset pages over a table in the order of a tab, the locator, the
// sort headers, the selection kept across reads, the keys and the pop-up menu, the forms.
class tst_BrowseList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ordersByKeyAndSwitchesOrders();
    void pagesThroughMoreRowsThanFit();
    void wheelAndScrollBarScrollWithoutMovingSelection();
    void scrollBarPlacesListByKeyValue();
    void textScaleFollowsKeyOrder_data();
    void textScaleFollowsKeyOrder();
    void optKeyLeavesBlankRowsOut();
    void rangeAndFilterNarrowTheRows();
    void stepLocatorInCzechOrder_data();
    void stepLocatorInCzechOrder();
    void stepLocatorWithoutCase_data();
    void stepLocatorWithoutCase();
    void stepLocatorTakesDigitsAsNumber_data();
    void stepLocatorTakesDigitsAsNumber();
    void sortHeaderOrdersByColumnAndBack();
    void refillKeepsRowWhenRowsAddedBefore();
    void deletedCurrentRowSelectsNearest_data();
    void deletedCurrentRowSelectsNearest();
    void keysCallActionsOnlyWhenSet_data();
    void keysCallActionsOnlyWhenSet();
    void popupMenuOffersTheSetActions();
    void rightButtonReleaseSelectsRow();
    void readFailureReportsAndClosesWindow();
    void formRunsInListContextAndReselects();
    void recordFormInsertIsSelected();
    void viewingListStartsNoForm();

private:
    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<ScriptedReporter> m_reporter;
    std::unique_ptr<DataContext> m_ctx;
    std::unique_ptr<QWidget> m_host;

    BrowseList *makeList(TableId table, std::vector<BrowseColumn> columns, std::vector<BrowseOrder> orders,
                         int height = 220);
};

void tst_BrowseList::init()
{
    g_pageReadsBeforeFailure = -1;
    DataContext::setStoreFactory([](const QString &dir) { return std::make_unique<ReadFailingStore>(dir); });
    m_dir = std::make_unique<ScratchDir>();
    m_reporter = std::make_unique<ScriptedReporter>();
    m_ctx = std::make_unique<DataContext>(m_dir->path());
}

void tst_BrowseList::cleanup()
{
    m_host.reset();
    m_ctx.reset();
    m_reporter.reset();
    m_dir.reset();
    DataContext::setStoreFactory({});
    g_pageReadsBeforeFailure = -1;
}

BrowseList *tst_BrowseList::makeList(TableId table, std::vector<BrowseColumn> columns,
                                     std::vector<BrowseOrder> orders, int height)
{
    m_host = std::make_unique<QWidget>();
    auto *list = new BrowseList(*m_ctx, table, m_host.get());
    auto *layout = new QVBoxLayout(m_host.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    list->setColumns(std::move(columns));
    list->setOrders(std::move(orders));
    m_host->resize(420, height);
    m_host->show();
    if (!QTest::qWaitForWindowExposed(m_host.get()))
        return nullptr;
    list->fill();
    list->setFocus();
    return list;
}

void tst_BrowseList::ordersByKeyAndSwitchesOrders()
{
    const qint64 a = addCard(*m_ctx, QStringLiteral("C300"), 2);
    const qint64 b = addCard(*m_ctx, QStringLiteral("A100"), 3);
    const qint64 c = addCard(*m_ctx, QStringLiteral("B200"), 1);
    const qint64 d = addCard(*m_ctx, QStringLiteral("B200"), 1);  // an equal code beside the first
    std::vector<BrowseColumn> columns{
        BrowseColumn::ofField(CAR::ID, QStringLiteral("ID"), 40, Qt::AlignRight, Qt::AlignHCenter, QStringLiteral("n-14")),
        BrowseColumn::ofField(CAR::KOD_RFID, QStringLiteral("Kod RFID"), 60, Qt::AlignLeft, Qt::AlignLeft,
                              QStringLiteral("s16"))};
    BrowseList *list = makeList(TableId::CARDS, columns,
                                {BrowseOrder::byKey(CAR::KeyRFID), BrowseOrder::byKey(CAR::Primary),
                                 BrowseOrder::byKey(CAR::KeyDruh)});
    QVERIFY(list);
    QCOMPARE(shown(*list, CAR::ID), (QList<qint64>{b, c, d, a}));
    QCOMPARE(list->currentRowId(), b);
    QCOMPARE(list->model()->data(list->model()->index(0, 1)).toString(), QStringLiteral("A100"));

    // Another tab: the same cards in the new order, the selected card still selected.
    list->setOrder(1);
    QCOMPARE(list->currentRowId(), b);
    list->goFirst();
    QCOMPARE(shown(*list, CAR::ID), (QList<qint64>{a, b, c, d}));

    list->setOrder(2);
    list->goFirst();
    QCOMPARE(shown(*list, CAR::ID), (QList<qint64>{c, d, a, b}));
}

void tst_BrowseList::pagesThroughMoreRowsThanFit()
{
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    const int page = list->model()->pageSize();
    QVERIFY2(page >= 4, "the list shows a few rows at least");
    const qint64 n = 3 * page - 2;  // the second page down ends short of a full page
    addLogs(*m_ctx, 1, n);
    list->fill();
    QSignalSpy changed(list, &BrowseList::currentChanged);
    QCOMPARE(shown(*list, LPO::ID), range(1, page));
    QCOMPARE(list->currentRowId(), 1);

    QTest::keyClick(list->view(), Qt::Key_Up);  // nothing above the first row
    QCOMPARE(list->currentRowId(), 1);
    QCOMPARE(changed.count(), 0);

    // Down to the last line, then one more: the page moves by one row.
    for (int i = 1; i < page; ++i)
        QTest::keyClick(list->view(), Qt::Key_Down);
    QCOMPARE(list->currentRowId(), page);
    QCOMPARE(shown(*list, LPO::ID).first(), 1);
    QTest::keyClick(list->view(), Qt::Key_Down);
    QCOMPARE(list->currentRowId(), page + 1);
    QCOMPARE(shown(*list, LPO::ID), range(2, page + 1));
    QCOMPARE(changed.count(), page);
    QCOMPARE(changed.last().at(0).value<Record>().rowId(), page + 1);

    // A page down keeps the selection's line; only the page is held.
    QTest::keyClick(list->view(), Qt::Key_PageDown);
    QCOMPARE(list->currentRowId(), 2 * page + 1);
    QCOMPARE(shown(*list, LPO::ID), range(page + 2, 2 * page + 1));
    QCOMPARE(list->model()->rowCount(), page);

    // Near the end the page stops at the last row and the selection goes on alone.
    QTest::keyClick(list->view(), Qt::Key_PageDown);
    QCOMPARE(shown(*list, LPO::ID), range(n - page + 1, n));
    QCOMPARE(list->currentRowId(), n);
    QVERIFY(list->model()->atEnd());

    QTest::keyClick(list->view(), Qt::Key_Home);
    QCOMPARE(shown(*list, LPO::ID), range(1, page));
    QCOMPARE(list->currentRowId(), 1);
    QVERIFY(list->model()->atStart());

    QTest::keyClick(list->view(), Qt::Key_End);
    QCOMPARE(shown(*list, LPO::ID), range(n - page + 1, n));
    QCOMPARE(list->currentRowId(), n);

    QTest::keyClick(list->view(), Qt::Key_PageUp);
    QCOMPARE(shown(*list, LPO::ID), range(n - 2 * page + 1, n - page));
    QCOMPARE(list->currentRowId(), n - page);
    QTest::keyClick(list->view(), Qt::Key_PageUp);
    QTest::keyClick(list->view(), Qt::Key_PageUp);
    QTest::keyClick(list->view(), Qt::Key_PageUp);
    QCOMPARE(shown(*list, LPO::ID), range(1, page));
    QCOMPARE(list->currentRowId(), 1);
}

void tst_BrowseList::wheelAndScrollBarScrollWithoutMovingSelection()
{
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    const int page = list->model()->pageSize();
    addLogs(*m_ctx, 1, 4 * page);
    list->fill();
    QTest::keyClick(list->view(), Qt::Key_Down);
    QCOMPARE(list->currentRowId(), 2);

    QWheelEvent wheel(rowCentre(*list, 0), list->view()->viewport()->mapToGlobal(rowCentre(*list, 0)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->view()->viewport(), &wheel);
    QCOMPARE(shown(*list, LPO::ID).first(), 4);
    QCOMPARE(list->currentRowId(), 2);
    QVERIFY(list->view()->selectionModel()->selectedRows().isEmpty());

    list->scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(shown(*list, LPO::ID).first(), 4 + page);
    list->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(shown(*list, LPO::ID).first(), 3 + page);
    QCOMPARE(list->currentRowId(), 2);

    // A key brings the selection back and moves it from where it was.
    QTest::keyClick(list->view(), Qt::Key_Down);
    QCOMPARE(list->currentRowId(), 3);
    QVERIFY(list->model()->indexOfRowId(3) >= 0);
}

void tst_BrowseList::scrollBarPlacesListByKeyValue()
{
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    QVERIFY(!list->scrollBar()->isEnabled());  // an empty list has nothing to scroll
    addLogs(*m_ctx, 1, 1000);
    list->fill();
    QScrollBar *bar = list->scrollBar();
    QVERIFY(bar->isEnabled());
    QCOMPARE(bar->value(), bar->minimum());

    // Dragging the thumb to the middle places the list at the middle value of the key.
    bar->setSliderDown(true);
    bar->setSliderPosition((bar->minimum() + bar->maximum()) / 2);
    bar->setSliderDown(false);
    const qint64 top = shown(*list, LPO::ID).first();
    QVERIFY2(top >= 495 && top <= 505, qPrintable(QString::number(top)));
    QCOMPARE(list->currentRowId(), 1);  // the selection stays where it was

    QTest::keyClick(list->view(), Qt::Key_End);
    QCOMPARE(bar->value(), bar->maximum());
    QTest::keyClick(list->view(), Qt::Key_Home);
    QCOMPARE(bar->value(), bar->minimum());
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(shown(*list, LPO::ID).last(), 1000);

    // Within the page the thumb follows the top row's value.
    list->selectRowId(250);
    const double expected = double(shown(*list, LPO::ID).first() - 1) / 999.0 * (bar->maximum() - bar->minimum());
    QVERIFY(qAbs(bar->value() - expected) <= 2);
}

void tst_BrowseList::textScaleFollowsKeyOrder_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("ordered");  // texts in the order of their key
    QTest::newRow("Czech") << int(KeyScale::Kind::CzechText)
                           << QStringList{QStringLiteral("Adam"),    QStringLiteral("Cibulka"), QStringLiteral("Čech"),
                                          QStringLiteral("Dvořák"),  QStringLiteral("Hora"),    QStringLiteral("Chalupa"),
                                          QStringLiteral("Ivan"),    QStringLiteral("Novák"),   QStringLiteral("Říha"),
                                          QStringLiteral("Šimek"),   QStringLiteral("Zeman"),   QStringLiteral("Žák")};
    QTest::newRow("without case") << int(KeyScale::Kind::PlainText)
                                  << QStringList{QStringLiteral("0A11"), QStringLiteral("ab12"), QStringLiteral("AC00"),
                                                 QStringLiteral("b001"), QStringLiteral("B100"), QStringLiteral("c9"),
                                                 QStringLiteral("ZZ")};
}

void tst_BrowseList::textScaleFollowsKeyOrder()
{
    QFETCH(int, kind);
    QFETCH(QStringList, ordered);
    const KeyScale scale(KeyScale::Kind(kind), ordered.first(), ordered.last());
    QVERIFY(scale.isValid());
    QCOMPARE(scale.fraction(ordered.first()), 0.0);
    QCOMPARE(scale.fraction(ordered.last()), 1.0);
    for (int i = 1; i < ordered.size(); ++i)
        QVERIFY2(scale.fraction(ordered[i - 1]) <= scale.fraction(ordered[i]), qPrintable(ordered[i]));
    // The text at a fraction lies in the key's order where the fraction says.
    auto compare = [&](const QString &a, const QString &b) {
        return kind == int(KeyScale::Kind::CzechText) ? CzechCollation::compare(a, b)
                                                      : a.compare(b, Qt::CaseInsensitive);
    };
    QString previous = scale.valueAt(0).toString();
    for (int step = 1; step <= 20; ++step) {
        const QString at = scale.valueAt(step / 20.0).toString();
        QVERIFY2(compare(previous, at) <= 0, qPrintable(previous + QLatin1String(" > ") + at));
        previous = at;
    }
    QVERIFY(compare(scale.valueAt(0.5).toString(), ordered.first()) >= 0);
    QVERIFY(compare(scale.valueAt(0.5).toString(), ordered.last()) <= 0);
}

void tst_BrowseList::optKeyLeavesBlankRowsOut()
{
    const qint64 a = addCard(*m_ctx, QStringLiteral("X1"));
    const qint64 blank = addCard(*m_ctx, QString());
    const qint64 b = addCard(*m_ctx, QStringLiteral("A1"));
    std::vector<BrowseColumn> columns{BrowseColumn::ofField(CAR::KOD_RFID, QStringLiteral("Kod RFID"), 60,
                                                            Qt::AlignLeft, Qt::AlignLeft, QStringLiteral("s16"))};
    BrowseList *list =
        makeList(TableId::CARDS, columns, {BrowseOrder::byKey(CAR::KeyRFID), BrowseOrder::byKey(CAR::Primary)});
    QVERIFY(list);
    QCOMPARE(shown(*list, CAR::ID), (QList<qint64>{b, a}));
    list->setOrder(1);
    list->goFirst();
    QCOMPARE(shown(*list, CAR::ID), (QList<qint64>{a, blank, b}));
    // Back in the optional order, the blank card cannot stay selected: the nearest row is.
    QVERIFY(list->selectRowId(blank));
    list->setOrder(0);
    QVERIFY(list->currentRowId() == a || list->currentRowId() == b);
    QVERIFY(!list->selectRowId(blank));
}

void tst_BrowseList::rangeAndFilterNarrowTheRows()
{
    // 200 rows of three holders; only every 50th row of holder 2 passes the filter, so the
    // filtered reads must go on past many refused rows.
    {
        Bulk bulk(*m_ctx, TableId::LOG_POKOJE);
        for (qint64 id = 1; id <= 200; ++id)
            addLog(*m_ctx, id, id % 3, 1000 - id, id % 50 == 2 ? 1 : 0);
    }
    BrowseOrder byHolder = BrowseOrder::byKey(LPO::KeyDrzitel);
    byHolder.rangeValues = {2};
    BrowseOrder byId = BrowseOrder::byKey(LPO::KeyId);
    byId.range = {{LPO::ID, Condition::Ge, 190}};
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {byHolder, byId});
    QVERIFY(list);
    const QList<qint64> holders = shown(*list, LPO::DRZITEL);
    QVERIFY(!holders.isEmpty());
    QVERIFY(std::all_of(holders.begin(), holders.end(), [](qint64 h) { return h == 2; }));
    QCOMPARE(shown(*list, LPO::ID).first(), 2);
    QTest::keyClick(list->view(), Qt::Key_End);
    QCOMPARE(shown(*list, LPO::ID).last(), 200);

    list->setOrderFilter(0, [](const Record &r) { return r.integer(LPO::DATA) == 1; });
    list->fill();
    QCOMPARE(shown(*list, LPO::ID), (QList<qint64>{2, 152}));  // 2, 52, 102, 152: holder 2 is id % 3
    QTest::keyClick(list->view(), Qt::Key_End);
    QCOMPARE(list->currentRowId(), 152);

    // Another holder: the range changes and the list is read again.
    list->setRange(0, {1});
    list->fill();
    QCOMPARE(shown(*list, LPO::ID), (QList<qint64>{52}));

    list->setOrder(1);
    list->goFirst();
    QCOMPARE(shown(*list, LPO::ID), range(190, 200).mid(0, list->model()->pageSize()));

    // A filter of the whole list comes on top of the order's.
    list->setFilter([](const Record &r) { return r.integer(LPO::ID) % 2 == 0; });
    list->fill();
    QCOMPARE(shown(*list, LPO::ID), (QList<qint64>{190, 192, 194, 196, 198, 200}).mid(0, list->model()->pageSize()));

    // forEachRecord walks the whole order, with or without the filters.
    int all = 0, passing = 0;
    QVERIFY(list->forEachRecord([&](const Record &) { return ++all, true; }, false));
    QVERIFY(list->forEachRecord([&](const Record &) { return ++passing, true; }, true));
    QCOMPARE(all, 11);
    QCOMPARE(passing, 6);
}

void tst_BrowseList::stepLocatorInCzechOrder_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("č after Cibulka") << QStringLiteral("č") << QStringLiteral("Čech");
    QTest::newRow("capital Č") << QStringLiteral("Č") << QStringLiteral("Čech");
    QTest::newRow("c") << QStringLiteral("c") << QStringLiteral("Cibulka");
    QTest::newRow("b: nothing, the next") << QStringLiteral("b") << QStringLiteral("Cibulka");
    QTest::newRow("h before ch") << QStringLiteral("h") << QStringLiteral("Hora");
    QTest::newRow("i after ch") << QStringLiteral("i") << QStringLiteral("Ivan");
    QTest::newRow("á is a") << QStringLiteral("á") << QStringLiteral("adam");
    QTest::newRow("r: ř after r") << QStringLiteral("r") << QStringLiteral("Říha");
    QTest::newRow("s") << QStringLiteral("s") << QStringLiteral("Šimek");
    QTest::newRow("ž") << QStringLiteral("ž") << QStringLiteral("Žák");
    QTest::newRow("ý is y") << QStringLiteral("ý") << QStringLiteral("Zeman");
    QTest::newRow("digit before letters") << QStringLiteral("7") << QStringLiteral("adam");
}

void tst_BrowseList::stepLocatorInCzechOrder()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    const QStringList names{QStringLiteral("Zeman"),   QStringLiteral("Cibulka"), QStringLiteral("Čech"),
                            QStringLiteral("Žák"),     QStringLiteral("Chalupa"), QStringLiteral("Hora"),
                            QStringLiteral("Dvořák"),  QStringLiteral("adam"),    QStringLiteral("Ivan"),
                            QStringLiteral("Říha"),    QStringLiteral("Šimek"),   QStringLiteral("Černý"),
                            QStringLiteral("Novák"),   QStringLiteral("Kovář"),   QStringLiteral("Malá"),
                            QStringLiteral("Pokorný"), QStringLiteral("Beneš")};
    {
        Bulk bulk(*m_ctx, TableId::ADR_DAT);
        qint64 kod = 0;
        for (const QString &n : names)
            if (n != QStringLiteral("Beneš"))
                addPerson(*m_ctx, ++kod, n);
    }
    std::vector<BrowseColumn> columns{BrowseColumn::ofField(ADR::NAZEV, QStringLiteral("Nazev"), 120, Qt::AlignLeft,
                                                            Qt::AlignLeft, QStringLiteral("s52"))};
    BrowseList *list = makeList(TableId::ADR_DAT, columns, {BrowseOrder::byKey(ADR::KeyNazev)}, 130);
    QVERIFY(list);
    QVERIFY2(list->model()->pageSize() < int(names.size()) - 1, "the locator has to move the page");
    // From the end, so that the row found is off the page for most rows of the table.
    QTest::keyClick(list->view(), Qt::Key_End);
    typeText(list->view(), typed);
    QCOMPARE(list->currentRecord().text(ADR::NAZEV), expected);
    QVERIFY(list->model()->indexOfRowId(list->currentRowId()) >= 0);

    // The same as the first name in Czech order that is at or after what was typed.
    QStringList sorted = names;
    sorted.removeAll(QStringLiteral("Beneš"));
    std::sort(sorted.begin(), sorted.end(),
              [](const QString &a, const QString &b) { return CzechCollation::compare(a, b) < 0; });
    const auto it = std::find_if(sorted.begin(), sorted.end(),
                                 [&](const QString &n) { return CzechCollation::atOrAfter(n, typed); });
    QCOMPARE(it == sorted.end() ? sorted.last() : *it, expected);
}

void tst_BrowseList::stepLocatorWithoutCase_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("b") << QStringLiteral("b") << QStringLiteral("b001");
    QTest::newRow("B") << QStringLiteral("B") << QStringLiteral("b001");
    QTest::newRow("a") << QStringLiteral("a") << QStringLiteral("ab12");
    QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("0A11");
    QTest::newRow("after every code") << QStringLiteral("z") << QStringLiteral("C9");
}

void tst_BrowseList::stepLocatorWithoutCase()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    for (const char *code : {"B100", "AC00", "C9", "0A11", "b001", "ab12"})
        addCard(*m_ctx, QString::fromLatin1(code));
    std::vector<BrowseColumn> columns{BrowseColumn::ofField(CAR::KOD_RFID, QStringLiteral("Kod RFID"), 60,
                                                            Qt::AlignLeft, Qt::AlignLeft, QStringLiteral("s16"))};
    BrowseList *list = makeList(TableId::CARDS, columns, {BrowseOrder::byKey(CAR::KeyRFID)});
    QVERIFY(list);
    QCOMPARE(shownTexts(*list, CAR::KOD_RFID),
             (QStringList{QStringLiteral("0A11"), QStringLiteral("ab12"), QStringLiteral("AC00"),
                          QStringLiteral("b001"), QStringLiteral("B100"), QStringLiteral("C9")}));
    typeText(list->view(), typed);
    QCOMPARE(list->currentRecord().text(CAR::KOD_RFID), expected);
}

void tst_BrowseList::stepLocatorTakesDigitsAsNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pause");  // a pause after each key starts a new number
    QTest::addColumn<qint64>("expected");
    QTest::newRow("42") << QStringLiteral("42") << false << qint64(45);
    QTest::newRow("7") << QStringLiteral("7") << false << qint64(10);
    QTest::newRow("4, pause, 2") << QStringLiteral("42") << true << qint64(5);
    QTest::newRow("beyond the last") << QStringLiteral("999") << false << qint64(500);
    QTest::newRow("letter on a number") << QStringLiteral("x") << false << qint64(5);
}

void tst_BrowseList::stepLocatorTakesDigitsAsNumber()
{
    QFETCH(QString, typed);
    QFETCH(bool, pause);
    QFETCH(qint64, expected);
    addLogs(*m_ctx, 5, 500, 5);
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(150);
    for (const QChar c : typed) {
        typeText(list->view(), QString(c));
        if (pause)
            QTest::qWait(250);
    }
    QApplication::setKeyboardInputInterval(interval);
    QCOMPARE(list->currentRowId(), expected);
}

void tst_BrowseList::sortHeaderOrdersByColumnAndBack()
{
    // Holder 2 has rows 2, 5, 8, ... with times falling as the number grows.
    {
        Bulk bulk(*m_ctx, TableId::LOG_POKOJE);
        for (qint64 id = 1; id <= 30; ++id)
            addLog(*m_ctx, id, id % 3, 1000 - id, 0, QStringLiteral("K%1").arg(id % 7));
    }
    BrowseOrder byHolder = BrowseOrder::byKey(LPO::KeyDrzitel);
    byHolder.rangeValues = {2};
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {byHolder}, 400);
    QVERIFY(list);
    list->setSortHeaders(true);
    QVERIFY(list->model()->pageSize() >= 10);
    QCOMPARE(shown(*list, LPO::ID), (QList<qint64>{2, 5, 8, 11, 14, 17, 20, 23, 26, 29}));

    QHeaderView *header = list->view()->horizontalHeader();
    auto clickHeader = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    clickHeader(3);  // "Cas"
    QCOMPARE(list->sortColumn(), 3);
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 3);
    // Ordered by time, within the tab's range.
    QCOMPARE(shown(*list, LPO::ID), (QList<qint64>{29, 26, 23, 20, 17, 14, 11, 8, 5, 2}));

    // A text column; the locator now works on it.
    clickHeader(1);
    QCOMPARE(list->sortColumn(), 1);
    list->goFirst();
    QStringList cards = shownTexts(*list, LPO::KARTA);
    QVERIFY(std::is_sorted(cards.begin(), cards.end()));
    QCOMPARE(cards.size(), 10);
    typeText(list->view(), QStringLiteral("k"));
    QCOMPARE(list->currentRecord().text(LPO::KARTA), cards.first());

    // The same header again: back to the tab's order.
    clickHeader(1);
    QCOMPARE(list->sortColumn(), -1);
    QVERIFY(!header->isSortIndicatorShown());
    list->goFirst();
    QCOMPARE(shown(*list, LPO::ID), (QList<qint64>{2, 5, 8, 11, 14, 17, 20, 23, 26, 29}));

    // Without sort headers a click orders nothing.
    list->setSortHeaders(false);
    clickHeader(3);
    QCOMPARE(list->sortColumn(), -1);
}

void tst_BrowseList::refillKeepsRowWhenRowsAddedBefore()
{
    addLogs(*m_ctx, 100, 160);
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    QTest::keyClick(list->view(), Qt::Key_PageDown);
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Down);
    const qint64 selected = list->currentRowId();
    const int line = list->model()->indexOfRowId(selected);
    QCOMPARE(line, 2);

    // Another window (another context) adds rows before the selected one.
    {
        DataContext other(m_dir->path());
        Bulk bulk(other, TableId::LOG_POKOJE);
        for (qint64 id = 1; id <= 40; ++id)
            addLog(other, id);
    }
    list->refill();
    QCOMPARE(list->currentRowId(), selected);
    QCOMPARE(list->model()->indexOfRowId(selected), line);
    QCOMPARE(shown(*list, LPO::ID).first(), selected - 2);
    QTest::keyClick(list->view(), Qt::Key_Home);
    QCOMPARE(list->currentRowId(), 1);
}

void tst_BrowseList::deletedCurrentRowSelectsNearest_data()
{
    QTest::addColumn<qint64>("selected");
    QTest::addColumn<qint64>("nearest");
    QTest::newRow("in the middle: the next") << qint64(10) << qint64(11);
    QTest::newRow("the last: the one before") << qint64(30) << qint64(29);
}

void tst_BrowseList::deletedCurrentRowSelectsNearest()
{
    QFETCH(qint64, selected);
    QFETCH(qint64, nearest);
    addLogs(*m_ctx, 1, 30);
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    QVERIFY(list->selectRowId(selected));
    {
        DataContext other(m_dir->path());
        FileManager &f = other.file(TableId::LOG_POKOJE);
        QVERIFY(f.fetchRow(selected));
        QVERIFY(f.remove().ok());
    }
    QSignalSpy changed(list, &BrowseList::currentChanged);
    list->refill();
    QCOMPARE(list->currentRowId(), nearest);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(list->model()->indexOfRowId(selected), -1);
}

void tst_BrowseList::keysCallActionsOnlyWhenSet_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("action");  // the action the key calls
    QTest::newRow("Insert") << int(Qt::Key_Insert) << int(Qt::NoModifier) << QStringLiteral("insert");
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << QStringLiteral("change");
    QTest::newRow("Ctrl+Enter keypad") << int(Qt::Key_Enter) << int(Qt::ControlModifier | Qt::KeypadModifier)
                                       << QStringLiteral("change");
    QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << QStringLiteral("remove");
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << QStringLiteral("view");
    QTest::newRow("double-click") << -1 << 0 << QStringLiteral("change");
    QTest::newRow("plain Enter: none") << int(Qt::Key_Return) << int(Qt::NoModifier) << QString();
}

void tst_BrowseList::keysCallActionsOnlyWhenSet()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, action);
    addLogs(*m_ctx, 1, 3);
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    QMap<QString, int> calls;
    auto counter = [&](const QString &name) { return [&calls, name] { ++calls[name]; }; };
    auto press = [&] {
        if (key < 0)
            QTest::mouseDClick(list->view()->viewport(), Qt::LeftButton, {}, rowCentre(*list, 1));
        else
            QTest::keyClick(list->view(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    };

    // No action set: the key does nothing.
    press();
    QVERIFY(calls.isEmpty());

    // Every action but the one of the key: still nothing.
    BrowseList::Actions others;
    const QStringList names{QStringLiteral("insert"), QStringLiteral("change"), QStringLiteral("remove"),
                            QStringLiteral("view"), QStringLiteral("print")};
    std::function<void()> BrowseList::Actions::*members[] = {&BrowseList::Actions::insert, &BrowseList::Actions::change,
                                                              &BrowseList::Actions::remove, &BrowseList::Actions::view,
                                                              &BrowseList::Actions::print};
    for (int i = 0; i < names.size(); ++i)
        if (names[i] != action)
            others.*members[i] = counter(names[i]);
    list->setActions(others);
    press();
    QVERIFY2(calls.isEmpty(), qPrintable(calls.keys().join(QLatin1Char(','))));

    // Every action: exactly the key's one, once.
    BrowseList::Actions all;
    for (int i = 0; i < names.size(); ++i)
        all.*members[i] = counter(names[i]);
    list->setActions(all);
    press();
    if (action.isEmpty()) {
        QVERIFY(calls.isEmpty());
    } else {
        QCOMPARE(calls.keys(), QStringList{action});
        QCOMPARE(calls.value(action), 1);
    }
    if (key < 0)
        QCOMPARE(list->currentRowId(), 2);  // the double-clicked row is the one changed
}

void tst_BrowseList::popupMenuOffersTheSetActions()
{
    addLogs(*m_ctx, 1, 3);
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    QStringList calls;
    BrowseList::Actions actions;
    actions.insert = [&] { calls << QStringLiteral("insert"); };
    actions.change = [&] { calls << QStringLiteral("change"); };
    actions.remove = [&] { calls << QStringLiteral("remove"); };
    list->setActions(actions);
    list->addMenuSeparator();
    QAction *tag = list->addMenuItem(QStringLiteral("Označ"), [&] { calls << QStringLiteral("tag"); });

    auto menuTexts = [](QMenu *menu) {
        QStringList out;
        for (QAction *a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    QTest::keyClick(list->view(), Qt::Key_Menu);
    QMenu *menu = list->popupMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menuTexts(menu), (QStringList{QStringLiteral("&Vlož"), QStringLiteral("&Edituj"), QStringLiteral("&Smaž"),
                                           QStringLiteral("-"), QStringLiteral("Označ")}));
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            a->trigger();
    QCOMPARE(calls, (QStringList{QStringLiteral("insert"), QStringLiteral("change"), QStringLiteral("remove"),
                                 QStringLiteral("tag")}));
    menu->close();

    // With view and print as well, in their places; an extra item can be disabled by its window.
    actions.view = [&] { calls << QStringLiteral("view"); };
    actions.print = [&] { calls << QStringLiteral("print"); };
    list->setActions(actions);
    tag->setEnabled(false);
    menu = list->showPopupMenu(list->mapToGlobal(QPoint(5, 5)));
    QCOMPARE(menuTexts(menu), (QStringList{QStringLiteral("&Vlož"), QStringLiteral("&Edituj"), QStringLiteral("&Smaž"),
                                           QStringLiteral("&Zobraz"), QStringLiteral("&Tisk"), QStringLiteral("-"),
                                           QStringLiteral("Označ")}));
    QVERIFY(!menu->actions().last()->isEnabled());
    menu->close();

    // Without a row the record items cannot act.
    {
        DataContext other(m_dir->path());
        for (qint64 id = 1; id <= 3; ++id) {
            QVERIFY(other.file(TableId::LOG_POKOJE).fetchRow(id));
            QVERIFY(other.file(TableId::LOG_POKOJE).remove().ok());
        }
    }
    list->refill();
    QVERIFY(list->isEmpty());
    calls.clear();
    menu = list->showPopupMenu(list->mapToGlobal(QPoint(5, 5)));
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            a->trigger();
    QCOMPARE(calls, (QStringList{QStringLiteral("insert"), QStringLiteral("print")}));
    QTest::keyClick(list->view(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(list->view(), Qt::Key_Delete);
    QCOMPARE(calls, (QStringList{QStringLiteral("insert"), QStringLiteral("print")}));
    menu->close();
}

void tst_BrowseList::rightButtonReleaseSelectsRow()
{
    addLogs(*m_ctx, 1, 5);
    BrowseList *list = makeList(TableId::LOG_POKOJE, logColumns(), {BrowseOrder::byKey(LPO::KeyId)});
    QVERIFY(list);
    BrowseList::Actions actions;
    qint64 changedRow = 0;
    actions.change = [&] { changedRow = list->currentRowId(); };
    list->setActions(actions);
    QWidget *vp = list->view()->viewport();
    QTest::mousePress(vp, Qt::RightButton, {}, rowCentre(*list, 1));
    QCOMPARE(list->currentRowId(), 1);  // not on the press
    QTest::mouseRelease(vp, Qt::RightButton, {}, rowCentre(*list, 3));
    QCOMPARE(list->currentRowId(), 4);
    QMenu *menu = list->popupMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    menu->actions().first()->trigger();  // "&Edituj" acts on the row selected by the release
    QCOMPARE(changedRow, 4);
    menu->close();

    // A left click selects too, and tells which column was pressed.
    QSignalSpy pressed(list, &BrowseList::cellPressed);
    QTest::mouseClick(vp, Qt::LeftButton, {}, rowCentre(*list, 2, 1));
    QCOMPARE(list->currentRowId(), 3);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.first().at(0).toInt(), 1);
}

void tst_BrowseList::readFailureReportsAndClosesWindow()
{
    addLogs(*m_ctx, 1, 200);
    auto *window = new ListWindow(*m_ctx, TableId::LOG_POKOJE);
    QPointer<ListWindow> guard(window);
    window->list->setColumns(logColumns());
    window->list->setOrders({BrowseOrder::byKey(LPO::KeyId)});
    QSignalSpy finished(window, &ProcedureWindow::finished);
    QSignalSpy failed(window->list, &BrowseList::readFailed);
    window->openWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->list->fill();
    QVERIFY(!window->list->isEmpty());
    QVERIFY(m_reporter->entries().isEmpty());

    g_pageReadsBeforeFailure = 0;  // the next page read fails
    QTest::keyClick(window->list->view(), Qt::Key_End);
    QCOMPARE(m_reporter->ids(), QList<MessageId>{MessageId::ReadFailed});
    const ScriptedReporter::Entry &e = m_reporter->entries().first();
    QCOMPARE(e.title, QStringLiteral("Chyba při čtení databáze"));
    QCOMPARE(e.args.file, QStringLiteral("logy_pokoje"));
    QCOMPARE(e.args.errorText, QStringLiteral("disk I/O error (injected)"));
    QVERIFY(e.text.contains(QStringLiteral("Otevřené okno bude zavřeno.")));

    QVERIFY(failed.wait(2000) || failed.count() == 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().at(0).toInt(), int(DataContext::RequestCancelled));
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(m_reporter->entries().size(), 1);  // reported once
}

void tst_BrowseList::formRunsInListContextAndReselects()
{
    {
        Bulk bulk(*m_ctx, TableId::LOG_POKOJE);
        for (qint64 id = 1; id <= 40; ++id)
            addLog(*m_ctx, id, id);
    }
    auto *owner = new ListWindow(*m_ctx, TableId::LOG_POKOJE);
    QPointer<ListWindow> ownerGuard(owner);
    BrowseList *list = owner->list;
    list->setColumns(logColumns());
    list->setOrders({BrowseOrder::byKey(LPO::KeyDrzitel)});
    owner->openWindow();
    QVERIFY(QTest::qWaitForWindowExposed(owner));
    list->fill();
    QVERIFY(list->selectRowId(7));

    // A change: the form gets the request and the selected record in the table's buffer.
    QPointer<FakeForm> form;
    auto factory = [&](DataContext &c) {
        form = new FakeForm(c);
        return form.data();
    };
    QList<int> responses;
    list->runForm(owner, DataContext::ChangeRecord, factory, [&](quint8 r) { responses << r; });
    QVERIFY(form);
    QCOMPARE(&form->context(), m_ctx.get());
    QCOMPARE(form->request(), quint8(DataContext::ChangeRecord));
    QCOMPARE(form->bufferAtStart.integer(LPO::ID), 7);
    QCOMPARE(m_ctx->globalRequest, quint8(DataContext::NoRequest));
    QVERIFY(!owner->isEnabled());
    QVERIFY(responses.isEmpty());
    // The form moves the record to the end of the order and completes.
    FileManager &f = m_ctx->file(TableId::LOG_POKOJE);
    f.record().setInteger(LPO::DRZITEL, 1000);
    QVERIFY(f.update().ok());
    form->end(DataContext::RequestCompleted);
    QCOMPARE(responses, QList<int>{DataContext::RequestCompleted});
    QVERIFY(owner->isEnabled());
    QCOMPARE(list->currentRowId(), 7);
    QCOMPARE(list->currentRecord().integer(LPO::DRZITEL), 1000);
    QVERIFY(list->model()->atEnd());

    // Cancelled: read again, the selection where it was.
    QVERIFY(list->selectRowId(20));
    list->runForm(owner, DataContext::DeleteRecord, factory, [&](quint8 r) { responses << r; });
    QCOMPARE(form->request(), quint8(DataContext::DeleteRecord));
    form->end(DataContext::RequestCancelled);
    QCOMPARE(responses.last(), int(DataContext::RequestCancelled));
    QCOMPARE(list->currentRowId(), 20);

    // A completed deletion: the nearest row.
    list->runForm(owner, DataContext::DeleteRecord, factory, [&](quint8 r) { responses << r; });
    QVERIFY(f.remove().ok());
    form->end(DataContext::RequestCompleted);
    QCOMPARE(list->currentRowId(), 21);
    owner->close();
    QTRY_VERIFY(ownerGuard.isNull());
}

void tst_BrowseList::recordFormInsertIsSelected()
{
    addLogs(*m_ctx, 1, 60);
    auto *owner = new ListWindow(*m_ctx, TableId::LOG_POKOJE);
    QPointer<ListWindow> ownerGuard(owner);
    BrowseList *list = owner->list;
    list->setColumns(logColumns());
    list->setOrders({BrowseOrder::byKey(LPO::KeyId)});
    owner->openWindow();
    QVERIFY(QTest::qWaitForWindowExposed(owner));
    list->fill();
    QPointer<EmptyLogForm> form;
    quint8 response = 0;
    list->runForm(
        owner, DataContext::InsertRecord,
        [&](DataContext &c) {
            form = new EmptyLogForm(c);
            return form.data();
        },
        [&](quint8 r) { response = r; });
    QVERIFY(form);
    QCOMPARE(form->request(), quint8(DataContext::InsertRecord));
    form->accept();
    QCOMPARE(response, quint8(DataContext::RequestCompleted));
    // The new entry got the next number and the list shows and selects it.
    QCOMPARE(list->currentRowId(), 61);
    QVERIFY(list->model()->indexOfRowId(61) >= 0);
    owner->close();
    QTRY_VERIFY(ownerGuard.isNull());
}

void tst_BrowseList::viewingListStartsNoForm()
{
    addLogs(*m_ctx, 1, 3);
    m_ctx->globalRequest = DataContext::ViewRecord;
    auto *owner = new ListWindow(*m_ctx, TableId::LOG_POKOJE);
    QCOMPARE(owner->request(), quint8(DataContext::ViewRecord));
    owner->list->setColumns(logColumns());
    owner->list->setOrders({BrowseOrder::byKey(LPO::KeyId)});
    owner->list->fill();
    bool made = false;
    QList<int> responses;
    for (quint8 request : {DataContext::InsertRecord, DataContext::ChangeRecord, DataContext::DeleteRecord})
        owner->list->runForm(
            owner, request,
            [&](DataContext &c) {
                made = true;
                return new FakeForm(c);
            },
            [&](quint8 r) { responses << r; });
    QVERIFY(!made);
    QCOMPARE(responses, (QList<int>{DataContext::RequestCancelled, DataContext::RequestCancelled,
                                    DataContext::RequestCancelled}));
    QCOMPARE(m_ctx->globalRequest, quint8(DataContext::NoRequest));
    delete owner;
}

QTEST_MAIN(tst_BrowseList)
#include "tst_browselist.moc"
