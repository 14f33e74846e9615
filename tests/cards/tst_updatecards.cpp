#include "cardholdercombo.h"
#include "datacontext.h"
#include "faultystore.h"
#include "fieldcheck.h"
#include "fieldedit.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "updatecards.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

// Deletes the windows a test made (those still alive) before the contexts they use go.
class Windows
{
public:
    ~Windows()
    {
        for (const QPointer<QWidget> &w : m_list)
            delete w.data();
    }
    template<typename W> W *keep(W *w)
    {
        m_list.append(w);
        return w;
    }

private:
    QList<QPointer<QWidget>> m_list;
};

// Makes every new context use a FaultyStore, until the scope ends.
class FaultyContexts
{
public:
    FaultyContexts()
    {
        DataContext::setStoreFactory([this](const QString &dir) {
            auto s = std::make_unique<FaultyStore>(dir);
            last = s.get();
            return std::unique_ptr<Store>(std::move(s));
        });
    }
    ~FaultyContexts() { DataContext::setStoreFactory({}); }
    FaultyStore *last = nullptr;
};

// The fields the form edits or shows; the other 36 of the card it never touches.
const QList<int> formFields = {CAR::ID,         CAR::KOD_RFID,        CAR::DRZITEL, CAR::CISLO_POKOJE,
                               CAR::POZNAMKA,   CAR::STAV_KARTY,      CAR::VSECHNY_POKOJE,
                               CAR::KATEGORIE,  CAR::CASOVA_PLATNOST, CAR::DRUH, CAR::DATUM_PLATNOSTI,
                               CAR::CAS_PLATNOSTI};

QList<int> hiddenFields()
{
    QList<int> out;
    for (int f = 0; f < int(tableDef(TableId::CARDS).fields.size()); ++f)
        if (!formFields.contains(f))
            out << f;
    return out;
}

qint64 addPerson(const QString &dir, qint64 kod, const QString &name)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::ADR_DAT);
    fm.record().clear();
    fm.record().setInteger(ADR::KOD, kod);
    fm.record().setText(ADR::NAZEV, name);
    return fm.insert().ok() ? fm.record().rowId() : -1;
}

void removePerson(const QString &dir, qint64 kod)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::ADR_DAT);
    QVERIFY(fm.fetch(ADR::KeyKod, {QVariant(kod)}));
    QVERIFY(fm.remove().ok());
}

// A card whose every field has a value of its own: numbers by their place, texts named so.
Record fullCard()
{
    Record r(TableId::CARDS);
    const TableDef &def = tableDef(TableId::CARDS);
    for (int f = 1; f < int(def.fields.size()); ++f) {
        if (def.fields[size_t(f)].isText())
            r.setText(f, QStringLiteral("T%1").arg(f));
        else
            r.setInteger(f, 200 + f);  // a BYTE holds them all (the last field is 47)
    }
    r.setInteger(CAR::STAV_KARTY, 1);
    r.setInteger(CAR::VSECHNY_POKOJE, 0);
    r.setInteger(CAR::CASOVA_PLATNOST, 17);
    r.setInteger(CAR::CAS_PLATNOSTI, 2880001);  // 8:00:00
    return r;
}

qint64 addCard(const QString &dir, const Record &card)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::CARDS);
    fm.record() = card;
    return fm.insert().ok() ? fm.record().integer(CAR::ID) : -1;
}

qint64 addCard(const QString &dir, const QString &rfid, qint64 holder)
{
    Record r(TableId::CARDS);
    r.setText(CAR::KOD_RFID, rfid);
    r.setInteger(CAR::DRZITEL, holder);
    return addCard(dir, r);
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

qint64 rowsOf(const QString &dir, TableId table)
{
    DataContext c(dir);
    qint64 n = -1;
    c.file(table).count({}, &n);
    return n;
}

// {READY2UPDATE, UPDATETIMESTAMP, UPDATEDATESTAMP} of STATE record 1, or {-1} when there is none.
QList<qint64> signalState(const QString &dir)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::STATE);
    if (!fm.fetch(STA::PRIMARY, {QVariant(qint64(1))}))
        return {-1};
    return {fm.record().integer(STA::READY2UPDATE), fm.record().integer(STA::UPDATETIMESTAMP),
            fm.record().integer(STA::UPDATEDATESTAMP)};
}

void putSignal(const QString &dir, qint64 ready)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::STATE);
    fm.record().clear();
    fm.record().setInteger(STA::ID, 1);
    fm.record().setInteger(STA::READY2UPDATE, ready);
    fm.record().setInteger(STA::UPDATETIMESTAMP, 4321);
    fm.record().setInteger(STA::UPDATEDATESTAMP, 80123);
    QVERIFY(fm.insert().ok());
}

// Opens the card form with `request`; for a card, the card is first read into the buffer, as
// the list does.
UpdateCARDS *openForm(Windows &windows, DataContext &ctx, quint8 request, qint64 cardId = 0)
{
    if (cardId) {
        if (!ctx.file(TableId::CARDS).fetch(CAR::Primary, {QVariant(cardId)}))
            return nullptr;
    }
    ctx.globalRequest = request;
    auto *form = windows.keep(new UpdateCARDS(ctx));
    form->openWindow();
    return form;
}

// Types `text` key by key, Czech letters included (QTest::keyClicks takes ASCII only).
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    type(edit, text);
}

} // namespace

// The card form, driven through its controls over real tables.
class TstUpdateCARDS : public QObject
{
    Q_OBJECT

private slots:
    void windowTextsAndTabOrder();
    void changeKeepsEveryHiddenField();
    void insertStartsFromZeroAndBlank();
    void holderListInNameOrder();
    void holderReachingTheCard_data();
    void holderReachingTheCard();
    void everySaveRaisesTheSignal_data();
    void everySaveRaisesTheSignal();
    void refusedInsertStillLeavesTheSignal();
    void deleteLeavesTheSignalAsItWas_data();
    void deleteLeavesTheSignalAsItWas();
    void cancelLeavesCardsAndState();
    void historyKeyOnTheTenFields();
};

void TstUpdateCARDS::windowTextsAndTabOrder()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    ctx.globalRequest = DataContext::InsertRecord;
    QPointer<UpdateCARDS> form = windows.keep(new UpdateCARDS(ctx));
    QCOMPARE(form->windowTitle(), QStringLiteral("Form CARDS"));
    form->openWindow();
    QCOMPARE(form->windowTitle(), QStringLiteral("Přidání úlohy"));
    QCOMPARE(form->size(), QSize(form->duX(358), form->duY(175)));
    QCOMPARE(form->tabs()->count(), 2);
    QCOMPARE(form->tabs()->tabText(0), QStringLiteral(" Základní  "));
    QCOMPARE(form->tabs()->tabText(1), QStringLiteral(" Rozšížené  "));
    QCOMPARE(form->active()->text(), QStringLiteral(" Karta aktivní"));
    QCOMPARE(form->allEntrances()->text(), QStringLiteral(" Všechny vchody"));
    QCOMPARE(form->saveButton()->text(), QStringLiteral("Uložit"));
    QCOMPARE(form->saveButton()->toolTip(), QStringLiteral("Accept data and close the window"));
    QCOMPARE(form->cancelButton()->text(), QStringLiteral("Storno"));
    QCOMPARE(form->cancelButton()->toolTip(), QStringLiteral("Cancel operation"));
    QStringList labels;
    for (const QLabel *l : form->findChildren<QLabel *>())
        labels << l->text();
    for (const char *text : {"Držitel:", "Kod RFID:", "Cislo pokoje:", "Poznamka:", "Casova platnost:",
                             "Datum platnosti:", "Cas platnosti:", "Kategorie:", "Druh:"})
        QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    // The card number is shown, never edited; the first field is the RFID code.
    QVERIFY(form->cardNumber()->isDisplayOnly());
    QCOMPARE(form->cardNumber()->focusPolicy(), Qt::NoFocus);
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget() : form->focusWidget(),
             static_cast<QWidget *>(form->rfid()));

    const QList<QWidget *> expected = {form->rfid(),         form->holder(),       form->roomNumber(),
                                       form->note(),         form->active(),       form->allEntrances(),
                                       form->category(),     form->timeValidity(), form->kind(),
                                       form->validityDate(), form->validityTime(), form->saveButton(),
                                       form->cancelButton()};
    QList<QWidget *> chain;
    QWidget *w = form->rfid();
    for (int steps = 0; steps < 500 && chain.size() < expected.size(); ++steps, w = w->nextInFocusChain())
        if (expected.contains(w) && !chain.contains(w))
            chain << w;
    QCOMPARE(chain, expected);
}

void TstUpdateCARDS::changeKeepsEveryHiddenField()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    QCOMPARE(hiddenFields().size(), 36);
    const Record original = fullCard();
    const qint64 id = addCard(dir.path(), original);
    QVERIFY(id > 0);
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<UpdateCARDS> form = openForm(windows, ctx, DataContext::ChangeRecord, id);
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("Změna úlohy"));
    QCOMPARE(form->cardNumber()->text(), QString::number(id));
    QCOMPARE(form->validityTime()->text(), QStringLiteral("8:00:00"));
    retype(form->rfid(), QStringLiteral("NOVY01"));
    retype(form->note(), QStringLiteral("Vyměněná karta"));
    QTest::mouseClick(form->active(), Qt::LeftButton);      // active -> inactive
    QTest::mouseClick(form->allEntrances(), Qt::LeftButton);  // -> all entrances
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(form.isNull() || !form->isVisible());
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));

    const Record now = storedCard(dir.path(), id);
    for (int f : hiddenFields())
        QVERIFY2(now.value(f) == original.value(f), qPrintable(tableDef(TableId::CARDS).qualifiedName(f)));
    QCOMPARE(now.text(CAR::KOD_RFID), QStringLiteral("NOVY01"));
    QCOMPARE(now.text(CAR::POZNAMKA), QStringLiteral("Vyměněná karta"));
    QCOMPARE(now.integer(CAR::STAV_KARTY), 0);
    QCOMPARE(now.integer(CAR::VSECHNY_POKOJE), 1);
    // Fields shown but not touched keep their values too (the holder code belongs to nobody).
    for (int f : {int(CAR::DRZITEL), int(CAR::CISLO_POKOJE), int(CAR::KATEGORIE), int(CAR::CASOVA_PLATNOST),
                  int(CAR::DRUH), int(CAR::DATUM_PLATNOSTI), int(CAR::CAS_PLATNOSTI)})
        QVERIFY2(now.value(f) == original.value(f), qPrintable(tableDef(TableId::CARDS).qualifiedName(f)));
}

void TstUpdateCARDS::insertStartsFromZeroAndBlank()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addCard(dir.path(), QStringLiteral("PRVNI"), 0);
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<UpdateCARDS> form = openForm(windows, ctx, DataContext::InsertRecord);
    QVERIFY(form && form->isVisible());
    QVERIFY(!form->active()->isChecked());
    QVERIFY(!form->allEntrances()->isChecked());
    QCOMPARE(form->holder()->currentIndex(), -1);
    type(form->rfid(), QStringLiteral("ab12"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    QCOMPARE(rowsOf(dir.path(), TableId::CARDS), 2);
    QVERIFY(form->savedRowId() > 0);
    bool found = false;
    const Record card = storedCard(dir.path(), 2, &found);
    QVERIFY(found);
    QCOMPARE(card.text(CAR::KOD_RFID), QStringLiteral("ab12"));
    // Everything else is zero or blank: inactive, not all entrances, no holder, no entitlement.
    const TableDef &def = tableDef(TableId::CARDS);
    for (int f = 0; f < int(def.fields.size()); ++f) {
        if (f == CAR::ID || f == CAR::KOD_RFID)
            continue;
        QVERIFY2(card.isBlank(f), qPrintable(def.qualifiedName(f)));
    }
}

void TstUpdateCARDS::holderListInNameOrder()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addPerson(dir.path(), 1, QStringLiteral("Novák Jan"));
    addPerson(dir.path(), 2, QStringLiteral("adamová Eva"));
    addPerson(dir.path(), 3, QStringLiteral("Černý Petr"));
    addPerson(dir.path(), 4, QStringLiteral("Adamová Eva"));
    const qint64 id = addCard(dir.path(), QStringLiteral("K1"), 3);
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<UpdateCARDS> form = openForm(windows, ctx, DataContext::ChangeRecord, id);
    CardHolderCombo *holder = form->holder();
    QAbstractItemModel *model = holder->model();
    QCOMPARE(model->columnCount(), 2);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nazev"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Kod"));
    QStringList names, codes;
    for (int row = 0; row < model->rowCount(); ++row) {
        names << model->index(row, 0).data().toString();
        codes << model->index(row, 1).data().toString();
    }
    // Name order without letter case, then the code; Č after C in Czech.
    QCOMPARE(names, (QStringList{QStringLiteral("adamová Eva"), QStringLiteral("Adamová Eva"),
                                 QStringLiteral("Černý Petr"), QStringLiteral("Novák Jan")}));
    QCOMPARE(codes, (QStringList{QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("1")}));
    QCOMPARE(model->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
    // The holder's row is selected.
    QCOMPARE(holder->currentText(), QStringLiteral("Černý Petr"));
    // The person buffer is left alone (a people window may have its person there).
    QCOMPARE(ctx.file(TableId::ADR_DAT).record().rowId(), 0);
}

void TstUpdateCARDS::holderReachingTheCard_data()
{
    QTest::addColumn<qint64>("holderBefore");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("shownBefore");
    QTest::addColumn<qint64>("stored");
    // People in name order: Adamová (2), Černý (3), Novák (1).
    QTest::newRow("known holder, nothing chosen") << qint64(2) << QString() << QStringLiteral("Adamová Eva") << qint64(2);
    QTest::newRow("holder of nobody, nothing chosen") << qint64(77) << QString() << QString() << qint64(77);
    QTest::newRow("another person chosen") << qint64(1) << QStringLiteral("up") << QStringLiteral("Novák Jan") << qint64(3);
    QTest::newRow("selection emptied") << qint64(2) << QStringLiteral("empty") << QStringLiteral("Adamová Eva") << qint64(0);
    QTest::newRow("holder of nobody emptied") << qint64(77) << QStringLiteral("empty") << QString() << qint64(0);
    QTest::newRow("chosen person deleted meanwhile")
        << qint64(3) << QStringLiteral("up after delete") << QStringLiteral("Černý Petr") << qint64(0);
}

void TstUpdateCARDS::holderReachingTheCard()
{
    QFETCH(qint64, holderBefore);
    QFETCH(QString, action);
    QFETCH(QString, shownBefore);
    QFETCH(qint64, stored);
    ScratchDir dir;
    ScriptedReporter reporter;
    addPerson(dir.path(), 1, QStringLiteral("Novák Jan"));
    addPerson(dir.path(), 2, QStringLiteral("Adamová Eva"));
    addPerson(dir.path(), 3, QStringLiteral("Černý Petr"));
    const qint64 id = addCard(dir.path(), QStringLiteral("K1"), holderBefore);
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<UpdateCARDS> form = openForm(windows, ctx, DataContext::ChangeRecord, id);
    CardHolderCombo *holder = form->holder();
    QCOMPARE(holder->currentText(), shownBefore);
    QCOMPARE(holder->currentIndex() < 0, shownBefore.isEmpty());
    if (action == QStringLiteral("up after delete"))
        removePerson(dir.path(), 2);  // Adamová, still in the list
    if (action.startsWith(QStringLiteral("up")))
        QTest::keyClick(holder, Qt::Key_Up);
    else if (action == QStringLiteral("empty"))
        QTest::keyClick(holder, Qt::Key_Delete);
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    QCOMPARE(storedCard(dir.path(), id).integer(CAR::DRZITEL), stored);
}

void TstUpdateCARDS::everySaveRaisesTheSignal_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("rfidAfter");
    QTest::addColumn<int>("response");
    QTest::newRow("insert") << int(DataContext::InsertRecord) << true << QStringLiteral("NOVA") << int(DataContext::RequestCompleted);
    QTest::newRow("change") << int(DataContext::ChangeRecord) << true << QStringLiteral("NOVA") << int(DataContext::RequestCompleted);
    QTest::newRow("change with nothing changed")
        << int(DataContext::ChangeRecord) << false << QStringLiteral("STARA") << int(DataContext::RequestCompleted);
    QTest::newRow("view writes no card") << int(DataContext::ViewRecord) << true << QStringLiteral("STARA")
                                         << int(DataContext::RequestCancelled);
}

void TstUpdateCARDS::everySaveRaisesTheSignal()
{
    QFETCH(int, request);
    QFETCH(bool, edit);
    QFETCH(QString, rfidAfter);
    QFETCH(int, response);
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 id = addCard(dir.path(), QStringLiteral("STARA"), 0);
    // A new installation: STATE is empty.
    QCOMPARE(rowsOf(dir.path(), TableId::STATE), 0);
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<UpdateCARDS> form =
        openForm(windows, ctx, quint8(request), request == DataContext::InsertRecord ? 0 : id);
    QVERIFY(form && form->isVisible());
    if (request == DataContext::ViewRecord) {
        QVERIFY(form->rfid()->isReadOnly());
        QVERIFY(!form->holder()->isEnabled());
        QVERIFY(!form->active()->isEnabled());
        // Typing into a view changes nothing.
        type(form->rfid(), QStringLiteral("X"));
        QCOMPARE(form->rfid()->text(), QStringLiteral("STARA"));
    } else if (edit) {
        retype(form->rfid(), QStringLiteral("NOVA"));
    }
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(form.isNull() || !form->isVisible());
    QCOMPARE(int(ctx.globalResponse), response);
    // The very first save creates STATE record 1 with the flag and blank stamps.
    QCOMPARE(signalState(dir.path()), (QList<qint64>{1, 0, 0}));
    QCOMPARE(rowsOf(dir.path(), TableId::STATE), 1);
    const qint64 cards = request == DataContext::InsertRecord ? 2 : 1;
    QCOMPARE(rowsOf(dir.path(), TableId::CARDS), cards);
    QCOMPARE(storedCard(dir.path(), request == DataContext::InsertRecord ? 2 : id).text(CAR::KOD_RFID), rfidAfter);
    QVERIFY(reporter.entries().isEmpty());
}

void TstUpdateCARDS::refusedInsertStillLeavesTheSignal()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    putSignal(dir.path(), 0);
    FaultyContexts faulty;
    DataContext ctx(dir.path());
    faulty.last->failAt = 0;  // the card's insert
    Windows windows;
    QPointer<UpdateCARDS> form = openForm(windows, ctx, DataContext::InsertRecord);
    type(form->rfid(), QStringLiteral("ODMITNUTA"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);  // "Chyba při ukládání": No
    QVERIFY(reporter.saw(MessageId::RetrySave));
    // The insert form stays open with what was typed; the signal is set all the same and the
    // stamps are as they were.
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->rfid()->text(), QStringLiteral("ODMITNUTA"));
    QCOMPARE(rowsOf(dir.path(), TableId::CARDS), 0);
    QCOMPARE(signalState(dir.path()), (QList<qint64>{1, 4321, 80123}));
}

void TstUpdateCARDS::deleteLeavesTheSignalAsItWas_data()
{
    QTest::addColumn<bool>("stateRecord");
    QTest::newRow("no STATE record") << false;
    QTest::newRow("flag cleared") << true;
}

void TstUpdateCARDS::deleteLeavesTheSignalAsItWas()
{
    QFETCH(bool, stateRecord);
    ScratchDir dir;
    ScriptedReporter reporter;
    if (stateRecord)
        putSignal(dir.path(), 0);
    const QList<qint64> before = signalState(dir.path());
    const qint64 id = addCard(dir.path(), QStringLiteral("PRYC"), 0);
    DataContext ctx(dir.path());
    Windows windows;
    reporter.answer(ErrorReporter::Answer::Yes);  // "Potvrzení vymazání"
    QPointer<UpdateCARDS> form = openForm(windows, ctx, DataContext::DeleteRecord, id);
    QVERIFY(form.isNull() || !form->isVisible());
    QCOMPARE(reporter.ids(), (QList<MessageId>{MessageId::ConfirmDelete}));
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    QCOMPARE(rowsOf(dir.path(), TableId::CARDS), 0);
    QCOMPARE(signalState(dir.path()), before);
}

void TstUpdateCARDS::cancelLeavesCardsAndState()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 id = addCard(dir.path(), fullCard());
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<UpdateCARDS> form = openForm(windows, ctx, DataContext::ChangeRecord, id);
    retype(form->rfid(), QStringLiteral("ZRUSENO"));
    reporter.answer(ErrorReporter::Answer::Yes);  // "Změny nebudou uloženy!"
    QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    QCOMPARE(reporter.ids(), (QList<MessageId>{MessageId::CancelChanges}));
    QVERIFY(form.isNull() || !form->isVisible());
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCancelled));
    Record expected = fullCard();
    expected.setInteger(CAR::ID, id);
    QVERIFY(storedCard(dir.path(), id).sameValues(expected));
    QCOMPARE(rowsOf(dir.path(), TableId::STATE), 0);
}

void TstUpdateCARDS::historyKeyOnTheTenFields()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addPerson(dir.path(), 1, QStringLiteral("Novák Jan"));
    addPerson(dir.path(), 2, QStringLiteral("Adamová Eva"));
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<UpdateCARDS> first = openForm(windows, ctx, DataContext::InsertRecord);
    type(first->rfid(), QStringLiteral("HIST"));
    QTest::keyClick(first->holder(), Qt::Key_Down);  // Adamová Eva, 2
    retype(first->roomNumber(), QStringLiteral("104"));
    type(first->note(), QStringLiteral("Poznámka"));
    QTest::mouseClick(first->active(), Qt::LeftButton);
    QTest::mouseClick(first->allEntrances(), Qt::LeftButton);
    retype(first->category(), QStringLiteral("5"));
    retype(first->timeValidity(), QStringLiteral("12"));
    retype(first->kind(), QStringLiteral("7"));
    retype(first->validityDate(), QStringLiteral("80000"));
    type(first->validityTime(), QStringLiteral("7:30:15"));
    QTest::mouseClick(first->saveButton(), Qt::LeftButton);
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    const Record saved = storedCard(dir.path(), 1);
    QCOMPARE(saved.integer(CAR::DRZITEL), 2);
    QCOMPARE(saved.integer(CAR::CISLO_POKOJE), 104);
    QCOMPARE(saved.integer(CAR::KATEGORIE), 5);
    QCOMPARE(saved.integer(CAR::CASOVA_PLATNOST), 12);
    QCOMPARE(saved.integer(CAR::DRUH), 7);
    QCOMPARE(saved.integer(CAR::DATUM_PLATNOSTI), 80000);
    QCOMPARE(saved.integer(CAR::STAV_KARTY), 1);
    QCOMPARE(saved.integer(CAR::VSECHNY_POKOJE), 1);
    QCOMPARE(saved.integer(CAR::CAS_PLATNOSTI), 7 * 360000 + 30 * 6000 + 15 * 100 + 1);

    QPointer<UpdateCARDS> next = openForm(windows, ctx, DataContext::InsertRecord);
    const QList<QPair<QWidget *, int>> fields = {
        {next->rfid(), CAR::KOD_RFID},         {next->roomNumber(), CAR::CISLO_POKOJE},
        {next->note(), CAR::POZNAMKA},         {next->active(), CAR::STAV_KARTY},
        {next->allEntrances(), CAR::VSECHNY_POKOJE}, {next->category(), CAR::KATEGORIE},
        {next->timeValidity(), CAR::CASOVA_PLATNOST}, {next->kind(), CAR::DRUH},
        {next->validityDate(), CAR::DATUM_PLATNOSTI}, {next->validityTime(), CAR::CAS_PLATNOSTI}};
    for (const auto &[widget, field] : fields)
        QTest::keyClick(widget, Qt::Key_H, Qt::ControlModifier);
    // The holder has no history link.
    QTest::keyClick(next->holder(), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(next->holder()->currentIndex(), -1);
    QTest::mouseClick(next->saveButton(), Qt::LeftButton);
    const Record copy = storedCard(dir.path(), 2);
    for (const auto &[widget, field] : fields)
        QVERIFY2(copy.value(field) == saved.value(field), qPrintable(tableDef(TableId::CARDS).qualifiedName(field)));
    QCOMPARE(copy.integer(CAR::DRZITEL), 0);
}

QTEST_MAIN(TstUpdateCARDS)
#include "tst_updatecards.moc"
