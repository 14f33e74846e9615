#include "browsecards.h"
#include "browselist.h"
#include "browsemodel.h"
#include "datacontext.h"
#include "fieldedit.h"
#include "images.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "updatecards.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

namespace {

struct Card {
    QString rfid;
    QString kod;
    qint64 druh;
    qint64 kategorie;
    qint64 drzitel;
};

// Cards 1..5: equal RFID codes but for the case, a card without an RFID code, codes, kinds,
// categories and holders that order differently in every tab.
const QList<Card> sampleCards = {
    {QStringLiteral("C3"), QStringLiteral("k2"), 5, 2, 9},
    {QStringLiteral("a1"), QString(), 1, 2, 0},
    {QString(), QStringLiteral("K1"), 5, 0, 3},
    {QStringLiteral("b2"), QStringLiteral("k3"), 0, 1, 3},
    {QStringLiteral("A1"), QStringLiteral("k2"), 1, 1, 9},
};

qint64 addCard(const QString &dir, const Card &card)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::CARDS);
    fm.record().clear();
    fm.record().setText(CAR::KOD_RFID, card.rfid);
    fm.record().setText(CAR::KOD, card.kod);
    fm.record().setInteger(CAR::DRUH, card.druh);
    fm.record().setInteger(CAR::KATEGORIE, card.kategorie);
    fm.record().setInteger(CAR::DRZITEL, card.drzitel);
    return fm.insert().ok() ? fm.record().integer(CAR::ID) : -1;
}

void addSampleCards(const QString &dir)
{
    for (const Card &c : sampleCards)
        QVERIFY(addCard(dir, c) > 0);
}

Record storedCard(const QString &dir, qint64 id, bool *found = nullptr)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::CARDS);
    const bool ok = fm.fetch(CAR::Primary, {QVariant(id)});
    if (found)
        *found = ok;
    return ok ? fm.record() : Record(TableId::CARDS);
}

qint64 signalFlag(const QString &dir)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::STATE);
    return fm.fetch(STA::PRIMARY, {QVariant(qint64(1))}) ? fm.record().integer(STA::READY2UPDATE) : -1;
}

// The card numbers on the list's page, top to bottom.
QList<qint64> shownIds(const BrowseCARDS &w)
{
    QList<qint64> out;
    for (const Record &r : w.list()->model()->rows())
        out << r.integer(CAR::ID);
    return out;
}

// Opens the card list as the frame does: a context of its own, owned by the window.
BrowseCARDS *openList(const QString &dir)
{
    auto *context = new DataContext(dir);
    auto *w = static_cast<BrowseCARDS *>(startBrowseCARDS(context));
    w->adoptContext(context);
    w->openWindow();
    return w;
}

UpdateCARDS *runningForm(const BrowseCARDS *w)
{
    return qobject_cast<UpdateCARDS *>(w->runningChild());
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Closes the window (and a form still running in it) at the end of a test.
struct Closer {
    QPointer<BrowseCARDS> window;
    ~Closer()
    {
        if (window) {
            if (UpdateCARDS *form = runningForm(window))
                delete form;
            delete window.data();
        }
    }
};

} // namespace

// The card list, driven through its window over real tables.
class TstBrowseCARDS : public QObject
{
    Q_OBJECT

private slots:
    void windowAsDesigned();
    void columnsShowTheStoredValues();
    void ordersByTab_data();
    void ordersByTab();
    void stepLocator_data();
    void stepLocator();
    void emptyListStartsNoChangeOrDelete();
    void insertChangeDeleteAsAUser();
    void twoListsChangeTheSameCard();
};

void TstBrowseCARDS::windowAsDesigned()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    Closer closer{openList(dir.path())};
    BrowseCARDS *w = closer.window;
    QVERIFY(w->isVisible());
    QCOMPARE(w->procedure(), QStringLiteral("BrowseCARDS"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Browse the CARDS file"));
    QCOMPARE(w->size(), QSize(w->duX(530), w->duY(350)));
    QCOMPARE(w->minimumSize(), w->size());
    QCOMPARE(w->list()->statusTip(), QStringLiteral("Browsing the CARDS file"));
    const QList<QPair<QPushButton *, QPair<const char *, const char *>>> buttons = {
        {w->insertButton(), {"&Vlož", "Přidání záznamu"}},
        {w->changeButton(), {"&Edituj", "Změna záznamu"}},
        {w->deleteButton(), {"&Smaž", "Smazání záznamu"}},
        {w->closeButton(), {"&CZavřít", "Zavře okno"}}};
    for (const auto &[button, texts] : buttons) {
        QCOMPARE(button->text(), QString::fromUtf8(texts.first));
        QCOMPARE(button->toolTip(), QString::fromUtf8(texts.second));
        QVERIFY(!button->icon().isNull());
    }
    // The record buttons under the list at the left, the close button at the bottom right.
    const QRect list = w->list()->geometry();
    QVERIFY(w->insertButton()->y() > list.bottom());
    QVERIFY(w->insertButton()->x() < w->changeButton()->x() && w->changeButton()->x() < w->deleteButton()->x());
    QVERIFY(w->closeButton()->geometry().right() > w->deleteButton()->geometry().right());
    QVERIFY(w->closeButton()->y() > w->insertButton()->y());

    QStringList tabs;
    for (int i = 0; i < w->orderTabs()->count(); ++i)
        tabs << w->orderTabs()->tabText(i);
    QCOMPARE(tabs, (QStringList{QStringLiteral("&1) KeyRFID"), QStringLiteral("&2) Primary"),
                                QStringLiteral("&3) KeyKod"), QStringLiteral("&4) KeyDruh"),
                                QStringLiteral("&5) KeyKategorie"), QStringLiteral("&6) KeyDrzitel")}));
    QCOMPARE(w->orderTabs()->currentIndex(), 0);
    QCOMPARE(w->list()->currentOrder(), 0);

    // The pop-up menu offers the three record actions.
    QMenu *menu = w->list()->showPopupMenu(w->mapToGlobal(QPoint(10, 10)));
    QStringList items;
    for (const QAction *a : menu->actions())
        items << a->text();
    menu->close();
    QCOMPARE(items, (QStringList{QStringLiteral("&Vlož"), QStringLiteral("&Edituj"), QStringLiteral("&Smaž")}));

    QTest::mouseClick(w->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(closer.window.isNull());
}

void TstBrowseCARDS::columnsShowTheStoredValues()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    {
        DataContext c(dir.path());
        FileManager &fm = c.file(TableId::CARDS);
        fm.record().clear();
        fm.record().setText(CAR::KOD, QStringLiteral("KOD-1"));
        fm.record().setText(CAR::KOD_RFID, QStringLiteral("0A1B2C3D"));
        fm.record().setInteger(CAR::KATEGORIE, 3);
        fm.record().setInteger(CAR::DRUH, 12345);
        fm.record().setInteger(CAR::DRZITEL, 77);  // a holder code that belongs to nobody
        fm.record().setInteger(CAR::STAV_KARTY, 1);
        fm.record().setInteger(CAR::CASOVA_PLATNOST, 200);
        fm.record().setInteger(CAR::DATUM_PLATNOSTI, 80000);
        QVERIFY(fm.insert().ok());
    }
    Closer closer{openList(dir.path())};
    BrowseCARDS *w = closer.window;
    BrowseModel *model = w->list()->model();
    QHeaderView *header = w->list()->view()->horizontalHeader();
    struct Column {
        const char *header;
        int widthDu;
        Qt::Alignment data;
        Qt::Alignment head;
        const char *shown;
    };
    const QList<Column> columns = {
        {"ID", 64, Qt::AlignRight, Qt::AlignHCenter, "1"},
        {"Kod", 68, Qt::AlignLeft, Qt::AlignLeft, "KOD-1"},
        {"Kod RFID", 68, Qt::AlignLeft, Qt::AlignLeft, "0A1B2C3D"},
        {"Kategorie", 64, Qt::AlignRight, Qt::AlignHCenter, "3"},
        {"Druh", 64, Qt::AlignRight, Qt::AlignHCenter, "12 345"},
        {"Drzitel", 64, Qt::AlignRight, Qt::AlignHCenter, "77"},
        {"Stav karty", 44, Qt::AlignRight, Qt::AlignHCenter, "1"},
        {"Casova platnost", 64, Qt::AlignRight, Qt::AlignHCenter, "200"},
        // The validity date as the stored day number, not as a calendar date.
        {"Datum platnosti", 64, Qt::AlignRight, Qt::AlignHCenter, "80 000"},
    };
    QCOMPARE(model->columnCount(), int(columns.size()));
    QCOMPARE(model->rowCount(), 1);
    const int charWidth = w->list()->fontMetrics().averageCharWidth();
    for (int i = 0; i < columns.size(); ++i) {
        const Column &c = columns[i];
        QCOMPARE(model->headerData(i, Qt::Horizontal).toString(), QString::fromUtf8(c.header));
        QCOMPARE(header->sectionSize(i), (c.widthDu * charWidth + 2) / 4);
        QCOMPARE(header->sectionResizeMode(i), QHeaderView::Interactive);
        const int headAlign = model->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
        QCOMPARE(headAlign & Qt::AlignHorizontal_Mask, int(c.head));
        const QModelIndex cell = model->index(0, i);
        QCOMPARE(cell.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, int(c.data));
        QCOMPARE(cell.data().toString().trimmed(), QString::fromUtf8(c.shown));
    }
}

void TstBrowseCARDS::ordersByTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QList<qint64>>("ids");
    // Equal RFID codes (but for case) next to each other; a card without one is not listed.
    QTest::newRow("RFID code") << 0 << QList<qint64>{2, 5, 4, 1};
    QTest::newRow("card number") << 1 << QList<qint64>{1, 2, 3, 4, 5};
    QTest::newRow("code, blank left out") << 2 << QList<qint64>{3, 1, 5, 4};
    QTest::newRow("kind, then number") << 3 << QList<qint64>{4, 2, 5, 1, 3};
    QTest::newRow("category, then number") << 4 << QList<qint64>{3, 4, 5, 1, 2};
    QTest::newRow("holder, then number") << 5 << QList<qint64>{2, 3, 4, 1, 5};
}

void TstBrowseCARDS::ordersByTab()
{
    QFETCH(int, tab);
    QFETCH(QList<qint64>, ids);
    ScratchDir dir;
    ScriptedReporter reporter;
    addSampleCards(dir.path());
    Closer closer{openList(dir.path())};
    BrowseCARDS *w = closer.window;
    QCOMPARE(shownIds(*w), (QList<qint64>{2, 5, 4, 1}));
    QCOMPARE(w->list()->currentRowId(), 2);
    // Card 4 is selected; another tab keeps it selected in the new order.
    QVERIFY(w->list()->selectRowId(4));
    QTest::mouseClick(w->orderTabs(), Qt::LeftButton, {}, w->orderTabs()->tabRect(tab).center());
    QCOMPARE(w->orderTabs()->currentIndex(), tab);
    QCOMPARE(w->list()->currentOrder(), tab);
    QCOMPARE(shownIds(*w), ids);
    QCOMPARE(w->list()->currentRowId(), 4);
}

void TstBrowseCARDS::stepLocator_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("selected");
    QTest::newRow("RFID, lower case finds upper") << 0 << QStringLiteral("c") << qint64(1);
    QTest::newRow("RFID, between codes") << 0 << QStringLiteral("b") << qint64(4);
    QTest::newRow("RFID, after every code: the last") << 0 << QStringLiteral("z") << qint64(1);
    QTest::newRow("card number") << 1 << QStringLiteral("3") << qint64(3);
    QTest::newRow("code") << 2 << QStringLiteral("K") << qint64(3);
    QTest::newRow("kind") << 3 << QStringLiteral("5") << qint64(1);
    QTest::newRow("category") << 4 << QStringLiteral("2") << qint64(1);
    QTest::newRow("holder") << 5 << QStringLiteral("4") << qint64(1);
}

void TstBrowseCARDS::stepLocator()
{
    QFETCH(int, tab);
    QFETCH(QString, typed);
    QFETCH(qint64, selected);
    ScratchDir dir;
    ScriptedReporter reporter;
    addSampleCards(dir.path());
    Closer closer{openList(dir.path())};
    BrowseCARDS *w = closer.window;
    w->orderTabs()->setCurrentIndex(tab);
    QTest::keyClicks(w->list()->view(), typed);
    QCOMPARE(w->list()->currentRowId(), selected);
}

void TstBrowseCARDS::emptyListStartsNoChangeOrDelete()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    Closer closer{openList(dir.path())};
    BrowseCARDS *w = closer.window;
    QVERIFY(w->list()->isEmpty());
    QTest::mouseClick(w->changeButton(), Qt::LeftButton);
    QVERIFY(!w->hasRunningChild());
    QTest::mouseClick(w->deleteButton(), Qt::LeftButton);
    QVERIFY(!w->hasRunningChild());
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(signalFlag(dir.path()), -1);
}

void TstBrowseCARDS::insertChangeDeleteAsAUser()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addCard(dir.path(), {QStringLiteral("M5"), QString(), 0, 0, 0});
    Closer closer{openList(dir.path())};
    BrowseCARDS *w = closer.window;

    // Insert: the form with the insert request; saved with the defaults but for the code.
    QTest::mouseClick(w->insertButton(), Qt::LeftButton);
    QPointer<UpdateCARDS> form = runningForm(w);
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->request(), quint8(DataContext::InsertRecord));
    QVERIFY(!w->isEnabled());
    QTest::keyClicks(form->rfid(), QStringLiteral("A7"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QTRY_VERIFY(form.isNull());
    QVERIFY(w->isEnabled());
    QCOMPARE(signalFlag(dir.path()), 1);
    QCOMPARE(shownIds(*w), (QList<qint64>{2, 1}));
    QCOMPARE(w->list()->currentRowId(), 2);
    // A new card with the form's defaults shows 0 in these columns.
    for (int column : {3, 4, 5, 6, 8})
        QCOMPARE(w->list()->model()->index(0, column).data().toString().trimmed(), QStringLiteral("0"));

    // Change by a double-click on the row: the card moves in the order and stays selected.
    {
        DataContext c(dir.path());
        FileManager &fm = c.file(TableId::STATE);
        QVERIFY(fm.fetch(STA::PRIMARY, {QVariant(qint64(1))}));
        fm.record().setInteger(STA::READY2UPDATE, 0);  // the service took the signal
        QVERIFY(fm.update().ok());
    }
    QTableView *view = w->list()->view();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 0)).center());
    form = runningForm(w);
    QVERIFY(form);
    QCOMPARE(form->request(), quint8(DataContext::ChangeRecord));
    QCOMPARE(form->rfid()->text(), QStringLiteral("A7"));
    retype(form->rfid(), QStringLiteral("Z9"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QTRY_VERIFY(form.isNull());
    QCOMPARE(signalFlag(dir.path()), 1);
    QCOMPARE(shownIds(*w), (QList<qint64>{1, 2}));
    QCOMPARE(w->list()->currentRowId(), 2);
    QCOMPARE(storedCard(dir.path(), 2).text(CAR::KOD_RFID), QStringLiteral("Z9"));

    // Delete, confirmed: no window, no signal.
    {
        DataContext c(dir.path());
        FileManager &fm = c.file(TableId::STATE);
        QVERIFY(fm.fetch(STA::PRIMARY, {QVariant(qint64(1))}));
        fm.record().setInteger(STA::READY2UPDATE, 0);
        QVERIFY(fm.update().ok());
    }
    reporter.answer(ErrorReporter::Answer::Yes);
    QTest::mouseClick(w->deleteButton(), Qt::LeftButton);
    QVERIFY(reporter.saw(MessageId::ConfirmDelete));
    QVERIFY(!w->hasRunningChild());
    QVERIFY(w->isEnabled());
    bool found = true;
    storedCard(dir.path(), 2, &found);
    QVERIFY(!found);
    QCOMPARE(shownIds(*w), (QList<qint64>{1}));
    QCOMPARE(signalFlag(dir.path()), 0);

    // The keys of the list: Insert starts the insert form; cancelled without changes.
    w->list()->view()->setFocus();
    QTest::keyClick(w->list()->view(), Qt::Key_Insert);
    form = runningForm(w);
    QVERIFY(form);
    QCOMPARE(form->request(), quint8(DataContext::InsertRecord));
    QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    QTRY_VERIFY(form.isNull());
    QCOMPARE(shownIds(*w), (QList<qint64>{1}));
}

void TstBrowseCARDS::twoListsChangeTheSameCard()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addCard(dir.path(), {QStringLiteral("SPOLECNA"), QString(), 0, 0, 0});
    Closer first{openList(dir.path())};
    Closer second{openList(dir.path())};
    QTest::mouseClick(first.window->changeButton(), Qt::LeftButton);
    // A form blocks only its own list: the other list stays usable.
    QVERIFY(!first.window->isEnabled());
    QVERIFY(second.window->isEnabled());
    QTest::mouseClick(second.window->changeButton(), Qt::LeftButton);
    QPointer<UpdateCARDS> a = runningForm(first.window);
    QPointer<UpdateCARDS> b = runningForm(second.window);
    QVERIFY(a && b);
    retype(a->rfid(), QStringLiteral("PRVNI"));
    QTest::mouseClick(a->saveButton(), Qt::LeftButton);
    QTRY_VERIFY(a.isNull());
    retype(b->note(), QStringLiteral("druha"));
    QTest::mouseClick(b->saveButton(), Qt::LeftButton);
    QVERIFY(reporter.saw(MessageId::ChangedByOtherForm));
    const auto &last = reporter.entries().last();
    QCOMPARE(last.title, QStringLiteral("Změna nebyla provedena"));
    // The second form stays open; the card is as the first list saved it.
    QVERIFY(b && b->isVisible());
    const Record card = storedCard(dir.path(), 1);
    QCOMPARE(card.text(CAR::KOD_RFID), QStringLiteral("PRVNI"));
    QCOMPARE(card.text(CAR::POZNAMKA), QString());
}

QTEST_MAIN(TstBrowseCARDS)
#include "tst_browsecards.moc"
