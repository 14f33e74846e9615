#include "browselist.h"
#include "browselog_pokoje.h"
#include "browsemodel.h"
#include "datacontext.h"
#include "fieldcombo.h"
#include "fielddateedit.h"
#include "fieldedit.h"
#include "globals.h"
#include "images.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "shell.h"
#include "stddatetime.h"
#include "taglist.h"
#include "updatelog_pokoje.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

namespace {

struct Row {
    QString karta;
    qint64 data = 41;
    qint64 drzitel = 1;
    QString poznamka;
};

// Log rows with the entry numbers 1, 2, ... in the order given.
void addRows(const QString &dir, const QList<Row> &rows)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::LOG_POKOJE);
    for (const Row &row : rows) {
        Record &r = fm.record();
        r.clear();
        r.setText(LPO::KARTA, row.karta);
        r.setInteger(LPO::DATA, row.data);
        r.setInteger(LPO::DATUM, StdDateTime::fromYmd(2024, 5, 6));
        r.setInteger(LPO::CAS, StdDateTime::fromHms(9, 15));
        r.setInteger(LPO::DRZITEL, row.drzitel);
        r.setText(LPO::POZNAMKA, row.poznamka);
        QVERIFY(fm.insert().ok());
    }
}

// `count` rows whose card codes order the other way round than their entry numbers.
void addNumberedRows(const QString &dir, int count)
{
    QList<Row> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QStringLiteral("04%1").arg(100 - i), 41, 1, {}});
    addRows(dir, rows);
}

Record stored(const QString &dir, qint64 id, bool *found = nullptr)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::LOG_POKOJE);
    const bool ok = fm.fetch(LPO::KeyId, {QVariant(id)});
    if (found)
        *found = ok;
    return ok ? fm.record() : Record(TableId::LOG_POKOJE);
}

// Opens the list as the frame does: a context of its own, owned by the window.
BrowseLOG_POKOJE *openList(const QString &dir)
{
    Shell::setDataDirectory(dir);
    return qobject_cast<BrowseLOG_POKOJE *>(Shell::startProcedure(startBrowseLOG_POKOJE));
}

// Every entry number the list shows, in its order (all pages).
QList<qint64> listedIds(BrowseLOG_POKOJE *w)
{
    QList<qint64> out;
    w->list()->forEachRecord([&out](const Record &r) {
        out << r.integer(LPO::ID);
        return true;
    });
    return out;
}

// The entry numbers on the list's page whose first column shows the tag mark.
QList<qint64> markedIds(BrowseLOG_POKOJE *w)
{
    QList<qint64> out;
    BrowseModel *m = w->list()->model();
    for (int row = 0; row < m->rowCount(); ++row)
        if (m->data(m->index(row, 0)).toString() == QStringLiteral("*"))
            out << m->rowAt(row).integer(LPO::ID);
    return out;
}

qint64 currentId(BrowseLOG_POKOJE *w)
{
    return w->list()->hasCurrent() ? w->list()->currentRecord().integer(LPO::ID) : 0;
}

void select(BrowseLOG_POKOJE *w, qint64 id)
{
    QVERIFY(w->list()->selectRowId(id));
}

QRect cellRect(BrowseLOG_POKOJE *w, qint64 id, int column)
{
    BrowseModel *m = w->list()->model();
    const int row = m->indexOfRowId(id);
    return row < 0 ? QRect() : w->list()->view()->visualRect(m->index(row, column));
}

void clickCell(BrowseLOG_POKOJE *w, qint64 id, int column)
{
    const QRect r = cellRect(w, id, column);
    QVERIFY(r.isValid());
    QTest::mouseClick(w->list()->view()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

// Triggers an item of the list's pop-up menu by its text.
void popupItem(BrowseLOG_POKOJE *w, const QString &text)
{
    QMenu *menu = w->list()->showPopupMenu(w->list()->mapToGlobal(QPoint(10, 10)));
    QAction *found = nullptr;
    for (QAction *a : menu->actions())
        if (a->text() == text)
            found = a;
    menu->hide();
    QVERIFY2(found, qPrintable(text));
    found->trigger();
}

QStringList popupTexts(BrowseLOG_POKOJE *w)
{
    QMenu *menu = w->list()->showPopupMenu(w->list()->mapToGlobal(QPoint(10, 10)));
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    menu->hide();
    return out;
}

void pressCtrlO(BrowseLOG_POKOJE *w)
{
    QTest::keyClick(w->list()->view(), Qt::Key_O, Qt::ControlModifier);
}

UpdateLOG_POKOJE *runningForm(BrowseLOG_POKOJE *w)
{
    return qobject_cast<UpdateLOG_POKOJE *>(w->runningChild());
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void checkShowWords(BrowseLOG_POKOJE *w, const QString &words)
{
    QCOMPARE(w->showButton()->text(), words);
    QCOMPARE(w->showButton()->toolTip(), words);
    QCOMPARE(w->showButton()->statusTip(), words);
}

// Closes the windows (and a form still running in one) at the end of a test.
struct Closer {
    QList<QPointer<BrowseLOG_POKOJE>> windows;
    ~Closer()
    {
        for (const QPointer<BrowseLOG_POKOJE> &w : windows) {
            if (!w)
                continue;
            if (UpdateLOG_POKOJE *form = runningForm(w))
                delete form;
            delete w.data();
        }
    }
    BrowseLOG_POKOJE *keep(BrowseLOG_POKOJE *w)
    {
        windows.append(w);
        return w;
    }
};

} // namespace

// The room access log list with its tags, driven through its window over real tables.
class TstBrowseLOG_POKOJE : public QObject
{
    Q_OBJECT

private slots:
    void init() { GLO::resetForTests(); }
    void cleanup() { GLO::resetForTests(); }

    void windowAsDesigned();
    void columnsShowTheStoredValues();
    void toggleMovesTheHighlightDown_data();
    void toggleMovesTheHighlightDown();
    void firstColumnClickTogglesInPlace();
    void tagAllModesAndReverse();
    void fewTagsInEveryOrder();
    void manyTagsInEveryOrder();
    void deletedTaggedNumberTagsALaterRow();
    void changeKeepsTheDoorEventAndItsPerson();
    void logWindowsShareOneTagList();
    void emptyLog();
    void locatorAndSortHeaders();
};

void TstBrowseLOG_POKOJE::windowAsDesigned()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addNumberedRows(dir.path(), 3);
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Browse the LOG_POKOJE file"));
    QCOMPARE(w->procedure(), QStringLiteral("BrowseLOG_POKOJE"));
    QVERIFY(w->isResizable());
    QCOMPARE(w->minimumSize(), w->designedSizePx());
    QCOMPARE(w->list()->view()->statusTip(), QStringLiteral("Browsing the LOG_POKOJE file"));

    QStringList headers;
    BrowseModel *m = w->list()->model();
    for (int c = 0; c < m->columnCount(); ++c)
        headers << m->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{QString(), QStringLiteral("Karta"), QStringLiteral("Data"), QStringLiteral("Datum"),
                                   QStringLiteral("Cas"), QStringLiteral("Ctecka"), QStringLiteral("Kategorie karty"),
                                   QStringLiteral("Poznamka"), QStringLiteral("Id")}));

    const QList<QPair<QPushButton *, QString>> buttons = {
        {w->insertButton(), QStringLiteral("&Vlož")},       {w->changeButton(), QStringLiteral("&Edituj")},
        {w->deleteButton(), QStringLiteral("&Smaž")},       {w->tagButton(), QStringLiteral("&Tag")},
        {w->tagAllButton(), QStringLiteral("tag &All")},    {w->untagAllButton(), QStringLiteral("&Untag all")},
        {w->reverseButton(), QStringLiteral("&Rev tags")},  {w->closeButton(), QStringLiteral("&CZavřít")},
    };
    for (const auto &[button, text] : buttons)
        QCOMPARE(button->text(), text);
    QCOMPARE(w->insertButton()->toolTip(), QStringLiteral("Přidání záznamu"));
    QCOMPARE(w->changeButton()->toolTip(), QStringLiteral("Změna záznamu"));
    QCOMPARE(w->deleteButton()->toolTip(), QStringLiteral("Smazání záznamu"));
    QCOMPARE(w->closeButton()->toolTip(), QStringLiteral("Zavře okno"));
    checkShowWords(w, QStringLiteral("Show All"));
    QCOMPARE(w->tagMode(), 0);
    auto *sheet = w->findChild<QTabWidget *>();
    QVERIFY(sheet);
    QCOMPARE(sheet->count(), 1);
    QCOMPARE(sheet->tabText(0), QStringLiteral("Zobrazit vše"));

    QCOMPARE(popupTexts(w), (QStringList{QStringLiteral("&Vlož"), QStringLiteral("&Edituj"), QStringLiteral("&Smaž"),
                                         QStringLiteral("-"), QStringLiteral("Označ"), QStringLiteral("Označ vše"),
                                         QStringLiteral("Odznač vše"), QStringLiteral("Inverze"),
                                         QStringLiteral("Pouze označené")}));

    QTest::mouseClick(w->closeButton(), Qt::LeftButton);
    QVERIFY(w->isFinished());
}

void TstBrowseLOG_POKOJE::columnsShowTheStoredValues()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    {
        DataContext c(dir.path());
        FileManager &fm = c.file(TableId::LOG_POKOJE);
        Record &r = fm.record();
        r.clear();
        r.setText(LPO::KARTA, QStringLiteral("04A1B2"));
        r.setInteger(LPO::DATA, 53);
        r.setInteger(LPO::DATUM, StdDateTime::fromYmd(2024, 5, 6));
        r.setInteger(LPO::CAS, StdDateTime::fromHms(9, 5, 30));
        r.setInteger(LPO::CTECKA, 17);
        r.setInteger(LPO::KATEGORIE_KARTY, -3);
        r.setText(LPO::POZNAMKA, QStringLiteral("zamítnuto"));
        QVERIFY(fm.insert().ok());
    }
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    BrowseModel *m = w->list()->model();
    QCOMPARE(m->rowCount(), 1);
    QStringList cells;
    for (int c = 0; c < m->columnCount(); ++c)
        cells << m->data(m->index(0, c)).toString();
    QCOMPARE(cells, (QStringList{QString(), QStringLiteral("04A1B2"), QStringLiteral("53"), QStringLiteral("6.5.2024"),
                                 QStringLiteral("9:05"), QStringLiteral("17"), QStringLiteral("-3"),
                                 QStringLiteral("zamítnuto"), QStringLiteral("1")}));
    // The untag icon beside a blank mark; the tag icon beside "*".
    const auto iconImage = [m] { return m->data(m->index(0, 0), Qt::DecorationRole).value<QIcon>().pixmap(16).toImage(); };
    QCOMPARE(iconImage(), Images::icon(Images::Untag).pixmap(16).toImage());
    w->toggleTagInPlace();
    QCOMPARE(m->data(m->index(0, 0)).toString(), QStringLiteral("*"));
    QCOMPARE(iconImage(), Images::icon(Images::Tag).pixmap(16).toImage());
    QVERIFY(iconImage() != Images::icon(Images::Untag).pixmap(16).toImage());
}

void TstBrowseLOG_POKOJE::toggleMovesTheHighlightDown_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ctrl+O") << QStringLiteral("key");
    QTest::newRow("&Tag button") << QStringLiteral("button");
    QTest::newRow("Označ item") << QStringLiteral("item");
}

void TstBrowseLOG_POKOJE::toggleMovesTheHighlightDown()
{
    QFETCH(QString, how);
    ScratchDir dir;
    ScriptedReporter reporter;
    addNumberedRows(dir.path(), 8);
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    auto toggle = [&] {
        if (how == QLatin1String("key"))
            pressCtrlO(w);
        else if (how == QLatin1String("button"))
            QTest::mouseClick(w->tagButton(), Qt::LeftButton);
        else
            popupItem(w, QStringLiteral("Označ"));
    };
    QCOMPARE(currentId(w), 1);
    for (int i = 0; i < 5; ++i)
        toggle();
    QCOMPARE(markedIds(w), (QList<qint64>{1, 2, 3, 4, 5}));
    QCOMPARE(currentId(w), 6);
    for (qint64 id = 1; id <= 8; ++id)
        QCOMPARE(TAGQUE_KAR().contains(id), id <= 5);

    // On the last row the toggle tags it and the highlight stays; once more untags it.
    w->list()->goLast();
    toggle();
    QCOMPARE(currentId(w), 8);
    QVERIFY(TAGQUE_KAR().contains(8));
    toggle();
    QCOMPARE(currentId(w), 8);
    QVERIFY(!TAGQUE_KAR().contains(8));
    // Ctrl+O never reaches the step locator (the "O" is no digit anyway, but nothing moves).
    QCOMPARE(listedIds(w).size(), 8);
}

void TstBrowseLOG_POKOJE::firstColumnClickTogglesInPlace()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addNumberedRows(dir.path(), 6);
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    select(w, 3);
    w->toggleTag();  // tags 3, moves on to 4
    QCOMPARE(currentId(w), 4);

    clickCell(w, 3, 0);  // a tagged row: untagged, and the highlight stays on it
    QCOMPARE(currentId(w), 3);
    QVERIFY(!TAGQUE_KAR().contains(3));
    QCOMPARE(markedIds(w), QList<qint64>{});
    clickCell(w, 3, 0);  // one press toggles once
    QCOMPARE(currentId(w), 3);
    QCOMPARE(markedIds(w), QList<qint64>{3});

    clickCell(w, 5, 1);  // another column only selects
    QCOMPARE(currentId(w), 5);
    QCOMPARE(markedIds(w), QList<qint64>{3});
    QVERIFY(!TAGQUE_KAR().contains(5));
}

void TstBrowseLOG_POKOJE::tagAllModesAndReverse()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addNumberedRows(dir.path(), 10);
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    const QList<qint64> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    select(w, 4);

    QTest::mouseClick(w->tagAllButton(), Qt::LeftButton);
    QCOMPARE(markedIds(w), all);
    QCOMPARE(currentId(w), 4);
    QTest::mouseClick(w->showButton(), Qt::LeftButton);
    checkShowWords(w, QStringLiteral("Showing Tagged"));
    QCOMPARE(listedIds(w), all);
    QTest::mouseClick(w->showButton(), Qt::LeftButton);
    checkShowWords(w, QStringLiteral("Showing UnTagged"));
    QCOMPARE(listedIds(w), QList<qint64>{});
    QVERIFY(!w->list()->hasCurrent());
    QTest::mouseClick(w->showButton(), Qt::LeftButton);
    checkShowWords(w, QStringLiteral("Show All"));
    QCOMPARE(listedIds(w).size(), 10);

    // Two rows untagged; the modes show them apart, and inverting swaps the two sets.
    clickCell(w, 2, 0);
    clickCell(w, 5, 0);
    popupItem(w, QStringLiteral("Pouze označené"));
    QCOMPARE(w->tagMode(), 1);
    QCOMPARE(listedIds(w), (QList<qint64>{1, 3, 4, 6, 7, 8, 9, 10}));
    QCOMPARE(markedIds(w), (QList<qint64>{1, 3, 4, 6, 7, 8, 9, 10}));
    QTest::mouseClick(w->showButton(), Qt::LeftButton);
    QCOMPARE(listedIds(w), (QList<qint64>{2, 5}));
    QCOMPARE(markedIds(w), QList<qint64>{});
    QTest::mouseClick(w->reverseButton(), Qt::LeftButton);
    QCOMPARE(listedIds(w), (QList<qint64>{1, 3, 4, 6, 7, 8, 9, 10}));
    QTest::mouseClick(w->showButton(), Qt::LeftButton);  // 2 -> 0
    QCOMPARE(w->tagMode(), 0);
    QCOMPARE(listedIds(w), all);
    QCOMPARE(markedIds(w), (QList<qint64>{2, 5}));
    popupItem(w, QStringLiteral("Inverze"));
    QCOMPARE(markedIds(w), (QList<qint64>{1, 3, 4, 6, 7, 8, 9, 10}));

    popupItem(w, QStringLiteral("Odznač vše"));
    QCOMPARE(markedIds(w), QList<qint64>{});
    popupItem(w, QStringLiteral("Označ vše"));
    QCOMPARE(markedIds(w), all);
    QTest::mouseClick(w->untagAllButton(), Qt::LeftButton);
    QVERIFY(TAGQUE_KAR().isEmpty());
}

void TstBrowseLOG_POKOJE::fewTagsInEveryOrder()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addNumberedRows(dir.path(), 40);
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    // A few rows far apart; the modes show exactly them (or all others), also sorted by a header.
    for (qint64 id : {2, 17, 39}) {
        select(w, id);
        w->toggleTagInPlace();
    }
    w->stepTagMode();
    QCOMPARE(listedIds(w), (QList<qint64>{2, 17, 39}));
    w->list()->view()->horizontalHeader()->sectionClicked(1);  // "Karta": the reverse order
    QCOMPARE(listedIds(w), (QList<qint64>{39, 17, 2}));
    // A tag set while the mode shows the tagged rows is listed at the next refill.
    w->stepTagMode();
    QCOMPARE(listedIds(w).size(), 37);
    QVERIFY(!listedIds(w).contains(17));
    select(w, 20);
    w->toggleTagInPlace();
    w->stepTagMode();
    w->stepTagMode();
    QCOMPARE(w->tagMode(), 1);
    QCOMPARE(listedIds(w), (QList<qint64>{39, 20, 17, 2}));
    w->list()->clearSort();
    QCOMPARE(listedIds(w), (QList<qint64>{2, 17, 20, 39}));
}

void TstBrowseLOG_POKOJE::manyTagsInEveryOrder()
{
    // More rows than a mode asks the store for by number: the filter decides row by row.
    ScratchDir dir;
    ScriptedReporter reporter;
    constexpr int rows = 20000;
    {
        DataContext c(dir.path());
        QVERIFY(c.file(TableId::LOG_POKOJE).use());
        Store &store = c.store();
        QVERIFY(store.begin({TableId::LOG_POKOJE}, 2000).ok());
        Record r(TableId::LOG_POKOJE);
        for (int i = 1; i <= rows; ++i) {
            r.clear();
            r.setInteger(LPO::ID, i);
            r.setText(LPO::KARTA, QStringLiteral("04%1").arg(rows - i, 6, 10, QLatin1Char('0')));
            QVERIFY(store.insert(r).ok());
        }
        QVERIFY(store.commit().ok());
    }
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    w->tagAll();
    for (qint64 id : {3, 9000, 19999}) {
        select(w, id);
        w->toggleTagInPlace();
    }
    w->stepTagMode();
    QList<qint64> tagged = listedIds(w);
    QCOMPARE(tagged.size(), rows - 3);
    QVERIFY(!tagged.contains(3) && !tagged.contains(9000) && !tagged.contains(19999));
    w->stepTagMode();
    QCOMPARE(listedIds(w), (QList<qint64>{3, 9000, 19999}));
    w->reverseTags();
    QList<qint64> untagged = listedIds(w);
    QCOMPARE(untagged.size(), rows - 3);
    QVERIFY(!untagged.contains(3) && !untagged.contains(9000) && untagged.contains(4));
    w->list()->view()->horizontalHeader()->sectionClicked(1);  // "Karta": the reverse order
    untagged = listedIds(w);
    QCOMPARE(untagged.size(), rows - 3);
    QCOMPARE(untagged.first(), 20000);
    QVERIFY(!untagged.contains(19999));
    w->list()->goLast();
    QCOMPARE(currentId(w), 1);
}

void TstBrowseLOG_POKOJE::deletedTaggedNumberTagsALaterRow()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addNumberedRows(dir.path(), 5);
    GLO::TiskDrzitel.set(3);
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    w->list()->goLast();
    w->toggleTag();
    QCOMPARE(markedIds(w), QList<qint64>{5});

    reporter.answer(ErrorReporter::Answer::Yes);
    QTest::mouseClick(w->deleteButton(), Qt::LeftButton);
    QVERIFY(reporter.saw(MessageId::ConfirmDelete));
    QCOMPARE(listedIds(w), (QList<qint64>{1, 2, 3, 4}));
    QVERIFY(TAGQUE_KAR().contains(5));  // the number stays

    // The next entry gets the number 5 again and shows tagged.
    QTest::mouseClick(w->insertButton(), Qt::LeftButton);
    UpdateLOG_POKOJE *form = runningForm(w);
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Přidání úlohy"));
    form->actionList()->setCurrentIndex(form->actionList()->findText(QStringLiteral("Odchod")));
    retype(form->dateEntry()->entry(), QStringLiteral("7.5.2024"));
    retype(form->timeEntry(), QStringLiteral("14:05"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(!w->hasRunningChild());
    QCOMPARE(currentId(w), 5);
    QCOMPARE(markedIds(w), QList<qint64>{5});
    const Record r = stored(dir.path(), 5);
    QCOMPARE(r.integer(LPO::DATA), 43);
    QCOMPARE(r.integer(LPO::DRZITEL), 3);  // the list has no person: GLO:TiskDrzitel
    QCOMPARE(r.integer(LPO::CAS), StdDateTime::fromHms(14, 5));
}

void TstBrowseLOG_POKOJE::changeKeepsTheDoorEventAndItsPerson()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addRows(dir.path(), {{QStringLiteral("04AA"), 41, 1, {}}, {QStringLiteral("04BB"), 66, 8, {}}});
    GLO::TiskDrzitel.set(2);
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    select(w, 2);
    QTest::keyClick(w->list()->view(), Qt::Key_Return, Qt::ControlModifier);
    UpdateLOG_POKOJE *form = runningForm(w);
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Změna úlohy"));
    QCOMPARE(form->actionList()->currentIndex(), -1);
    form->tabs()->setCurrentIndex(1);
    retype(form->noteEntry(), QStringLiteral("brana"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(!w->hasRunningChild());
    QCOMPARE(currentId(w), 2);
    QCOMPARE(w->list()->currentRecord().text(LPO::POZNAMKA), QStringLiteral("brana"));
    const Record r = stored(dir.path(), 2);
    QCOMPARE(r.integer(LPO::DATA), 66);
    QCOMPARE(r.integer(LPO::DRZITEL), 8);
}

void TstBrowseLOG_POKOJE::logWindowsShareOneTagList()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addNumberedRows(dir.path(), 6);
    Closer closer;
    BrowseLOG_POKOJE *first = closer.keep(openList(dir.path()));
    first->toggleTag();
    first->toggleTag();
    QCOMPARE(markedIds(first), (QList<qint64>{1, 2}));

    // Opening a second window empties the tags; the first shows it at its next refill.
    BrowseLOG_POKOJE *second = closer.keep(openList(dir.path()));
    QCOMPARE(markedIds(first), (QList<qint64>{1, 2}));
    first->list()->refill();
    QCOMPARE(markedIds(first), QList<qint64>{});

    // A tag set in one window marks the same number in the other when it next fills its rows.
    select(second, 4);
    second->toggleTagInPlace();
    first->list()->refill();
    QCOMPARE(markedIds(first), QList<qint64>{4});
    // The first window shows the tagged rows: the second's tags narrow it as well.
    first->stepTagMode();
    QCOMPARE(listedIds(first), QList<qint64>{4});
    select(second, 6);
    second->toggleTagInPlace();
    first->list()->refill();
    QCOMPARE(listedIds(first), (QList<qint64>{4, 6}));

    // Closing a window empties them again.
    QTest::mouseClick(second->closeButton(), Qt::LeftButton);
    QVERIFY(TAGQUE_KAR().isEmpty());
    first->list()->refill();
    QCOMPARE(listedIds(first), QList<qint64>{});
}

void TstBrowseLOG_POKOJE::emptyLog()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    QVERIFY(w && !w->isFinished());
    QVERIFY(w->list()->isEmpty());
    pressCtrlO(w);
    w->toggleTagInPlace();
    w->tagAll();
    QVERIFY(TAGQUE_KAR().isEmpty());
    w->reverseTags();
    QVERIFY(TAGQUE_KAR().isEmpty());
    w->untagAll();
    const QStringList words = {QStringLiteral("Showing Tagged"), QStringLiteral("Showing UnTagged"),
                               QStringLiteral("Show All")};
    for (const QString &expected : words) {
        QTest::mouseClick(w->showButton(), Qt::LeftButton);
        checkShowWords(w, expected);
        QVERIFY(w->list()->isEmpty());
    }
    QVERIFY(reporter.entries().isEmpty());
}

void TstBrowseLOG_POKOJE::locatorAndSortHeaders()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addNumberedRows(dir.path(), 30);
    Closer closer;
    BrowseLOG_POKOJE *w = closer.keep(openList(dir.path()));
    QTest::keyClicks(w->list()->view(), QStringLiteral("25"));
    QCOMPARE(currentId(w), 25);
    // "Karta" orders by the card code (the reverse of the entry numbers here); the highlight
    // stays on its row. The tag column orders nothing.
    w->list()->view()->horizontalHeader()->sectionClicked(1);
    QCOMPARE(currentId(w), 25);
    QCOMPARE(listedIds(w).first(), 30);
    w->list()->view()->horizontalHeader()->sectionClicked(0);
    QCOMPARE(listedIds(w).first(), 30);
    w->list()->view()->horizontalHeader()->sectionClicked(8);  // "Id"
    QCOMPARE(listedIds(w).first(), 1);
    w->list()->view()->horizontalHeader()->sectionClicked(8);  // again: the tab's order
    QCOMPARE(w->list()->sortColumn(), -1);
    QCOMPARE(listedIds(w).first(), 1);
}

QTEST_MAIN(TstBrowseLOG_POKOJE)
#include "tst_browselog_pokoje.moc"
