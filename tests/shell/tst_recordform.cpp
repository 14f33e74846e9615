#include "datacontext.h"
#include "faultystore.h"
#include "fieldcheck.h"
#include "fieldcombo.h"
#include "fieldedit.h"
#include "procedurewindow.h"
#include "recordform.h"
#include "scratchdir.h"
#include "scriptedreporter.h"

#include <QFormLayout>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const QString procedureName = QStringLiteral("UpdateTest");

// A small form of the kind the program's forms are: two tabs, entries with pictures, a check
// box, a display-only code and a history field. Over GCU_POK (a unique key typed by the user,
// no automatic number) or ADR_DAT (an automatic number reserved on insert).
class TestForm : public RecordForm
{
public:
    TestForm(DataContext &context, TableId table, const QString &procedure = procedureName)
        : RecordForm(procedure, context, table)
    {
        setWindowTitle(QStringLiteral("Form Test"));
        tabs = new QTabWidget(this);
        for (QWidget *&page : pages) {
            page = new QWidget;
            new QFormLayout(page);
            tabs->addTab(page, QStringLiteral("tab"));
        }
        auto *save = new QPushButton(QStringLiteral("Uložit"), this);
        auto *cancel = new QPushButton(QStringLiteral("Storno"), this);
        connect(save, &QPushButton::clicked, this, &RecordForm::accept);
        connect(cancel, &QPushButton::clicked, this, &RecordForm::reject);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(tabs);
        layout->addWidget(save);
        layout->addWidget(cancel);

        if (table == TableId::GCU_POK) {
            first = edit(GCP::ID_GCU, QStringLiteral("@n3"), 0);
            name = edit(GCP::NAZEV, QStringLiteral("@s30"), 0);
            second = edit(GCP::VERZE_GCU, QStringLiteral("@n3"), 1);
            check = new FieldCheck(QStringLiteral(" Použití"), pages[1]);
            pages[1]->layout()->addWidget(check);
            bind(check, GCP::POUZITI);
        } else {
            code = edit(ADR::KOD, QStringLiteral("@N4"), 0);
            code->setDisplayOnly(true);
            first = name = edit(ADR::NAZEV, QStringLiteral("@s52"), 0);
            second = edit(ADR::GSM, QStringLiteral("@n3"), 0);
            other = edit(ADR::STAT, QStringLiteral("@s30"), 1);
        }
        setHistoryField(name);
    }

    FieldEdit *edit(int field, const QString &picture, int page)
    {
        auto *e = new FieldEdit(picture, pages[page]);
        pages[page]->layout()->addWidget(e);
        bind(e, field);
        return e;
    }

    bool validate() override
    {
        if (refuseName && name->text() == QStringLiteral("zakázáno"))
            return refuseValue(tableDef(table()).fieldIndex(QStringLiteral("NAZEV")));
        return true;
    }
    void beforeSave() override { ++beforeSaveCalls; }

    QTabWidget *tabs = nullptr;
    QWidget *pages[2] = {};
    FieldEdit *first = nullptr;   // the form's first field
    FieldEdit *name = nullptr;    // the history field
    FieldEdit *second = nullptr;  // a number field (on the second tab for GCU_POK)
    FieldEdit *other = nullptr;
    FieldEdit *code = nullptr;    // display-only
    FieldCheck *check = nullptr;
    bool refuseName = false;
    int beforeSaveCalls = 0;
};

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

TestForm *openForm(Windows &windows, DataContext &ctx, TableId table, quint8 request,
                   const QString &procedure = procedureName)
{
    ctx.globalRequest = request;
    auto *form = windows.keep(new TestForm(ctx, table, procedure));
    form->openWindow();
    return form;
}

void addUnit(const QString &dir, int id, const QString &name, int usage = 0)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::GCU_POK);
    fm.primeRecord();
    fm.record().setInteger(GCP::ID_GCU, id);
    fm.record().setText(GCP::NAZEV, name);
    fm.record().setInteger(GCP::POUZITI, usage);
    QVERIFY(fm.insert().ok());
}

qint64 addPerson(const QString &dir, const QString &name)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::ADR_DAT);
    fm.primeRecord();
    fm.record().setText(ADR::NAZEV, name);
    return fm.insert().ok() ? fm.record().integer(ADR::KOD) : -1;
}

// The record as the table holds it now (a blank record when there is none).
Record stored(const QString &dir, TableId table, int key, qint64 value, bool *found = nullptr)
{
    DataContext c(dir);
    FileManager &fm = c.file(table);
    const bool ok = fm.fetch(key, {QVariant(value)});
    if (found)
        *found = ok;
    return ok ? fm.record() : Record(table);
}

qint64 rowsOf(const QString &dir, TableId table)
{
    DataContext c(dir);
    qint64 n = -1;
    c.file(table).count({}, &n);
    return n;
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

} // namespace

// The behaviour every record form shares, through a small form over real tables.
class TstRecordForm : public QObject
{
    Q_OBJECT

private slots:
    void titleByRequest_data();
    void titleByRequest();
    void insertGivenUpLeavesNoReservation_data();
    void insertGivenUpLeavesNoReservation();
    void cancelQuestionNoReturnsToTheForm();
    void insertWritesOverTheReservation();
    void viewChangesNothingAndWritesNothing();
    void unchangedChangeWritesNothing();
    void duplicateKeepsTheFormOpen();
    void changedByAnotherStation();
    void outOfRangeValueKeepsTheFormOpen_data();
    void outOfRangeValueKeepsTheFormOpen();
    void validationOfTheFormRefuses();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void deleteRefusedByRestrictRule();
    void historyKeyPutsTheLastSavedValue();
    void unknownSaveFailureAsksToRetry_data();
    void unknownSaveFailureAsksToRetry();
    void unknownDeleteFailureAsksToRetry_data();
    void unknownDeleteFailureAsksToRetry();
    void formBlocksOnlyItsList_data();
    void formBlocksOnlyItsList();

    void entryRefusesWhatItsPictureDoesNot_data();
    void entryRefusesWhatItsPictureDoesNot();
    void entryGivesBackWhatItShowedUntilTyped();
    void checkBoxValues();
    void dropDownListFromTable();
};

void TstRecordForm::titleByRequest_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("shown");
    QTest::newRow("insert") << 1 << QStringLiteral("Přidání úlohy") << true;
    QTest::newRow("change") << 2 << QStringLiteral("Změna úlohy") << true;
    QTest::newRow("view") << 6 << QStringLiteral("Zobrazení úlohy") << true;
    QTest::newRow("delete keeps the designed title, shows no window") << 3 << QStringLiteral("Form Test") << false;
}

void TstRecordForm::titleByRequest()
{
    QFETCH(int, request);
    QFETCH(QString, title);
    QFETCH(bool, shown);
    ScratchDir dir;
    ScriptedReporter reporter;  // the deletion's question is answered No
    addUnit(dir.path(), 4, QStringLiteral("Čtečka"));
    DataContext ctx(dir.path());
    Windows windows;
    QVERIFY(ctx.file(TableId::GCU_POK).fetch(GCP::PRIMARY, {4}));
    QPointer<TestForm> form = openForm(windows, ctx, TableId::GCU_POK, quint8(request));
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(form->isVisible(), shown);
    QCOMPARE(form->request(), quint8(request));
    QCOMPARE(ctx.globalRequest, quint8(0));  // the form took the request
    if (shown && request != 1)
        QCOMPARE(form->name->text(), QStringLiteral("Čtečka"));
}

void TstRecordForm::insertGivenUpLeavesNoReservation_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("typed");
    QTest::newRow("untouched, Storno: no question") << "button" << false;
    QTest::newRow("typed, Storno, Yes") << "button" << true;
    QTest::newRow("typed, close box, Yes") << "close" << true;
    QTest::newRow("typed, Esc, Yes") << "escape" << true;
}

void TstRecordForm::insertGivenUpLeavesNoReservation()
{
    QFETCH(QString, how);
    QFETCH(bool, typed);
    ScratchDir dir;
    ScriptedReporter reporter;
    addPerson(dir.path(), QStringLiteral("První"));
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<TestForm> form = openForm(windows, ctx, TableId::ADR_DAT, DataContext::InsertRecord);
    // The next number is reserved at once and shown.
    QCOMPARE(form->code->text(), QStringLiteral("2"));
    QCOMPARE(rowsOf(dir.path(), TableId::ADR_DAT), 2);
    if (typed)
        type(form->name, QStringLiteral("Nový"));
    reporter.answer(ErrorReporter::Answer::Yes);
    if (how == QLatin1String("button")) {
        form->reject();
    } else if (how == QLatin1String("close")) {
        form->close();
    } else {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::keyClick(form->name, Qt::Key_Escape);
    }
    QCOMPARE(reporter.saw(MessageId::CancelChanges), typed);
    QVERIFY(!form || form->isFinished());
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCancelled));
    QCOMPARE(rowsOf(dir.path(), TableId::ADR_DAT), 1);
    QCOMPARE(form->savedRowId(), 0);
}

void TstRecordForm::cancelQuestionNoReturnsToTheForm()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 3, QStringLiteral("Recepce"));
    DataContext ctx(dir.path());
    Windows windows;
    QVERIFY(ctx.file(TableId::GCU_POK).fetch(GCP::PRIMARY, {3}));
    QPointer<TestForm> form = openForm(windows, ctx, TableId::GCU_POK, DataContext::ChangeRecord);
    retype(form->name, QStringLiteral("Bar"));

    reporter.answer(ErrorReporter::Answer::No);
    form->reject();
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::CancelChanges});
    QVERIFY(form && !form->isFinished() && form->isVisible());
    QCOMPARE(form->name->text(), QStringLiteral("Bar"));

    reporter.answer(ErrorReporter::Answer::Yes);
    form->reject();
    QVERIFY(!form || form->isFinished());
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCancelled));
    QCOMPARE(stored(dir.path(), TableId::GCU_POK, GCP::PRIMARY, 3).text(GCP::NAZEV), QStringLiteral("Recepce"));
}

void TstRecordForm::insertWritesOverTheReservation()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<TestForm> form = openForm(windows, ctx, TableId::ADR_DAT, DataContext::InsertRecord);
    QCOMPARE(form->code->text(), QStringLiteral("1"));
    type(form->name, QStringLiteral("Jana Nováková"));
    retype(form->second, QStringLiteral("12"));  // over the "0" it shows
    type(form->other, QStringLiteral("Česká republika"));
    form->accept();
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    QCOMPARE(form->beforeSaveCalls, 1);
    QCOMPARE(rowsOf(dir.path(), TableId::ADR_DAT), 1);
    bool found = false;
    const Record r = stored(dir.path(), TableId::ADR_DAT, ADR::KeyKod, 1, &found);
    QVERIFY(found);
    QCOMPARE(r.text(ADR::NAZEV), QStringLiteral("Jana Nováková"));
    QCOMPARE(r.integer(ADR::GSM), 12);
    QCOMPARE(r.text(ADR::STAT), QStringLiteral("Česká republika"));  // 15 characters: all kept
    QCOMPARE(form->savedRowId(), r.rowId());
    QVERIFY(ctx.history(procedureName));
    QCOMPARE(ctx.history(procedureName)->text(ADR::NAZEV), QStringLiteral("Jana Nováková"));
}

void TstRecordForm::viewChangesNothingAndWritesNothing()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 5, QStringLiteral("Sauna"), 1);
    FaultyContexts faulty;
    DataContext ctx(dir.path());
    FaultyStore *store = faulty.last;
    Windows windows;
    QVERIFY(ctx.file(TableId::GCU_POK).fetch(GCP::PRIMARY, {5}));
    QPointer<TestForm> form = openForm(windows, ctx, TableId::GCU_POK, DataContext::ViewRecord);
    QVERIFY(form->first->isReadOnly());
    QVERIFY(form->name->isReadOnly());
    QVERIFY(form->second->isReadOnly());
    QVERIFY(!form->check->isEnabled());
    type(form->name, QStringLiteral("xyz"));
    type(form->first, QStringLiteral("9"));
    QCOMPARE(form->name->text(), QStringLiteral("Sauna"));
    QCOMPARE(form->first->text(), QStringLiteral("5"));
    form->accept();
    QVERIFY(!form || form->isFinished());
    QCOMPARE(store->writes, 0);
    QCOMPARE(form->beforeSaveCalls, 1);  // the card and person forms raise their signal in a view too
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCancelled));
    QVERIFY(reporter.entries().isEmpty());
    QVERIFY(!ctx.history(procedureName));
}

void TstRecordForm::unchangedChangeWritesNothing()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    // A usage value the check box has no state for: shown unchecked, and still unchanged.
    addUnit(dir.path(), 6, QStringLiteral("Bazén"), 2);
    FaultyContexts faulty;
    DataContext ctx(dir.path());
    FaultyStore *store = faulty.last;
    Windows windows;
    QVERIFY(ctx.file(TableId::GCU_POK).fetch(GCP::PRIMARY, {6}));
    const qint64 row = ctx.file(TableId::GCU_POK).record().rowId();
    QPointer<TestForm> form = openForm(windows, ctx, TableId::GCU_POK, DataContext::ChangeRecord);
    QVERIFY(!form->check->isChecked());
    form->accept();
    QVERIFY(!form || form->isFinished());
    QCOMPARE(store->writes, 0);
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    QCOMPARE(form->savedRowId(), row);
    QVERIFY(reporter.entries().isEmpty());
    QCOMPARE(stored(dir.path(), TableId::GCU_POK, GCP::PRIMARY, 6).integer(GCP::POUZITI), 2);
}

void TstRecordForm::duplicateKeepsTheFormOpen()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    // A first unit saved without typing a number is unit 0; a second one is a duplicate.
    QPointer<TestForm> first = openForm(windows, ctx, TableId::GCU_POK, DataContext::InsertRecord);
    QCOMPARE(first->second->text(), QStringLiteral("2"));  // the table's default version
    first->accept();
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    QCOMPARE(rowsOf(dir.path(), TableId::GCU_POK), 1);

    QPointer<TestForm> form = openForm(windows, ctx, TableId::GCU_POK, DataContext::InsertRecord);
    form->tabs->setCurrentIndex(1);
    form->second->setFocus();
    form->accept();
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::DuplicateKey});
    QCOMPARE(reporter.entries().first().title, QStringLiteral("Duplicitní klíč"));
    QVERIFY(form && !form->isFinished() && form->isVisible());
    QCOMPARE(form->tabs->currentIndex(), 0);
    QCOMPARE(form->focusWidget(), form->first);
    QCOMPARE(rowsOf(dir.path(), TableId::GCU_POK), 1);

    retype(form->first, QStringLiteral("8"));
    form->accept();
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    QCOMPARE(rowsOf(dir.path(), TableId::GCU_POK), 2);
}

void TstRecordForm::changedByAnotherStation()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 3, QStringLiteral("Vchod"));
    DataContext ctx(dir.path());
    Windows windows;
    QVERIFY(ctx.file(TableId::GCU_POK).fetch(GCP::PRIMARY, {3}));
    QPointer<TestForm> form = openForm(windows, ctx, TableId::GCU_POK, DataContext::ChangeRecord);
    {
        DataContext station(dir.path());
        QVERIFY(station.file(TableId::GCU_POK).fetch(GCP::PRIMARY, {3}));
        station.file(TableId::GCU_POK).record().setInteger(GCP::SMYCKA, 9);
        QVERIFY(station.relation(TableId::GCU_POK).update().ok());
    }
    retype(form->second, QStringLiteral("1"));
    form->accept();
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::ChangedByOtherForm});
    QCOMPARE(reporter.entries().first().title, QStringLiteral("Změna nebyla provedena"));
    QCOMPARE(reporter.entries().first().text,
             QStringLiteral("Tento záznam byl již změněn jinou stanicí v síti. Použijte Ctrl+H pro vrácení změn."));
    QVERIFY(form && !form->isFinished());
    QCOMPARE(form->focusWidget(), form->first);
    QCOMPARE(form->second->text(), QStringLiteral("1"));  // what the user typed stays
    QCOMPARE(stored(dir.path(), TableId::GCU_POK, GCP::PRIMARY, 3).integer(GCP::VERZE_GCU), 2);

    // The record was read again: saving once more writes the user's values over it, and keeps
    // the other station's change of a field the form does not show.
    form->accept();
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    const Record r = stored(dir.path(), TableId::GCU_POK, GCP::PRIMARY, 3);
    QCOMPARE(r.integer(GCP::VERZE_GCU), 1);
    QCOMPARE(r.integer(GCP::SMYCKA), 9);
}

void TstRecordForm::outOfRangeValueKeepsTheFormOpen_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");
    QTest::newRow("300 in a BYTE, on the second tab")
        << int(TableId::GCU_POK) << "second" << "300" << "GCP:VERZE_GCU";
    QTest::newRow("300 in a BYTE of a reserved insert")
        << int(TableId::ADR_DAT) << "second" << "300" << "ADR:GSM";
    QTest::newRow("characters outside the code page")
        << int(TableId::ADR_DAT) << "other" << QStringLiteral("日本") << "ADR:STAT";
}

void TstRecordForm::outOfRangeValueKeepsTheFormOpen()
{
    QFETCH(int, table);
    QFETCH(QString, entry);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    const TableId t = TableId(table);
    QPointer<TestForm> form = openForm(windows, ctx, t, DataContext::InsertRecord);
    FieldEdit *edit = entry == QLatin1String("second") ? form->second : form->other;
    retype(edit, typed);
    QCOMPARE(edit->text(), typed);
    type(form->name, QStringLiteral("Ok"));
    form->tabs->setCurrentIndex(0);
    form->name->setFocus();
    form->accept();
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::ValueOutOfRange});
    QCOMPARE(reporter.entries().first().title, QStringLiteral("Chybná hodnota"));
    QCOMPARE(reporter.entries().first().text, QStringLiteral("Hodnota pole %1 je mimo povolený rozsah.").arg(field));
    QVERIFY(form && !form->isFinished());
    QCOMPARE(form->focusWidget(), edit);
    QCOMPARE(form->tabs->currentWidget(), edit->parentWidget());
    if (t == TableId::GCU_POK) {
        QCOMPARE(rowsOf(dir.path(), t), 0);
    } else {
        // Only the reservation is there, as it was primed.
        QCOMPARE(rowsOf(dir.path(), t), 1);
        const Record r = stored(dir.path(), t, ADR::KeyKod, 1);
        QCOMPARE(r.text(ADR::NAZEV), QString());
        QCOMPARE(r.integer(ADR::GSM), 0);
    }
}

void TstRecordForm::validationOfTheFormRefuses()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<TestForm> form = openForm(windows, ctx, TableId::ADR_DAT, DataContext::InsertRecord);
    form->refuseName = true;
    type(form->name, QStringLiteral("zakázáno"));
    form->second->setFocus();
    form->accept();
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::ValueOutOfRange});
    QCOMPARE(reporter.entries().first().args.field, QStringLiteral("ADR:NAZEV"));
    QVERIFY(form && !form->isFinished());
    QCOMPARE(form->focusWidget(), form->name);
    QCOMPARE(form->beforeSaveCalls, 0);
    QCOMPARE(stored(dir.path(), TableId::ADR_DAT, ADR::KeyKod, 1).text(ADR::NAZEV), QString());
}

void TstRecordForm::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes deletes") << true;
    QTest::newRow("No keeps") << false;
}

void TstRecordForm::deleteAsksFirst()
{
    QFETCH(bool, yes);
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 2, QStringLiteral("Sklad"));
    DataContext ctx(dir.path());
    Windows windows;
    QVERIFY(ctx.file(TableId::GCU_POK).fetch(GCP::PRIMARY, {2}));
    reporter.answer(yes ? ErrorReporter::Answer::Yes : ErrorReporter::Answer::No);
    QPointer<TestForm> form = openForm(windows, ctx, TableId::GCU_POK, DataContext::DeleteRecord);
    QCOMPARE(reporter.ids(), QList<MessageId>{MessageId::ConfirmDelete});
    QCOMPARE(reporter.entries().first().title, QStringLiteral("Potvrzení vymazání"));
    QVERIFY(!form || (form->isFinished() && !form->isVisible()));
    QCOMPARE(ctx.globalResponse, quint8(yes ? DataContext::RequestCompleted : DataContext::RequestCancelled));
    QCOMPARE(rowsOf(dir.path(), TableId::GCU_POK), yes ? 0 : 1);
}

void TstRecordForm::deleteRefusedByRestrictRule()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 person = addPerson(dir.path(), QStringLiteral("Držitel"));
    {
        DataContext c(dir.path());
        FileManager &cards = c.file(TableId::CARDS);
        cards.primeRecord();
        cards.record().setInteger(CAR::DRZITEL, person);
        QVERIFY(cards.insert().ok());
    }
    DataContext ctx(dir.path());
    Windows windows;
    QVERIFY(ctx.file(TableId::ADR_DAT).fetch(ADR::KeyKod, {person}));
    reporter.answer(ErrorReporter::Answer::Yes);
    QPointer<TestForm> form = openForm(windows, ctx, TableId::ADR_DAT, DataContext::DeleteRecord);
    QCOMPARE(reporter.ids(), (QList<MessageId>{MessageId::ConfirmDelete, MessageId::RestrictDelete}));
    QCOMPARE(reporter.entries().last().title, QStringLiteral("Smazání záznamu"));
    QVERIFY(!form || form->isFinished());
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCancelled));
    QCOMPARE(rowsOf(dir.path(), TableId::ADR_DAT), 1);
}

void TstRecordForm::historyKeyPutsTheLastSavedValue()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Windows windows;
    QPointer<TestForm> form = openForm(windows, ctx, TableId::ADR_DAT, DataContext::InsertRecord);
    // Nothing saved yet: Ctrl+H does nothing.
    QTest::keyClick(form->name, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(form->name->text(), QString());
    type(form->name, QStringLiteral("Alfa"));
    type(form->other, QStringLiteral("Slovensko"));
    form->accept();
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));

    QPointer<TestForm> next = openForm(windows, ctx, TableId::ADR_DAT, DataContext::InsertRecord);
    type(next->name, QStringLiteral("Be"));
    QTest::keyClick(next->name, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(next->name->text(), QStringLiteral("Alfa"));
    QTest::keyClick(next->other, Qt::Key_H, Qt::ControlModifier);  // not a history field
    QCOMPARE(next->other->text(), QString());
    next->accept();
    QCOMPARE(stored(dir.path(), TableId::ADR_DAT, ADR::KeyKod, 2).text(ADR::NAZEV), QStringLiteral("Alfa"));

    // The history copy belongs to the form procedure and the context.
    QPointer<TestForm> otherProcedure =
        openForm(windows, ctx, TableId::ADR_DAT, DataContext::InsertRecord, QStringLiteral("UpdateOther"));
    QTest::keyClick(otherProcedure->name, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(otherProcedure->name->text(), QString());
    DataContext otherContext(dir.path());
    QPointer<TestForm> otherWindow = openForm(windows, otherContext, TableId::ADR_DAT, DataContext::InsertRecord);
    QTest::keyClick(otherWindow->name, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(otherWindow->name->text(), QString());
    delete otherWindow.data();
}

void TstRecordForm::unknownSaveFailureAsksToRetry_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<bool>("retry");
    QTest::addColumn<int>("notice");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("insert, Yes writes again") << 1 << true << int(MessageId::InsertFailed) << true << true;
    QTest::newRow("insert, No leaves the form open") << 1 << false << int(MessageId::InsertFailed) << false << false;
    QTest::newRow("change, Yes writes again") << 2 << true << int(MessageId::UpdateFailed) << true << true;
    QTest::newRow("change, No closes the form") << 2 << false << int(MessageId::UpdateFailed) << true << false;
}

void TstRecordForm::unknownSaveFailureAsksToRetry()
{
    QFETCH(int, request);
    QFETCH(bool, retry);
    QFETCH(int, notice);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 person = addPerson(dir.path(), QStringLiteral("Stará"));
    FaultyContexts faulty;
    DataContext ctx(dir.path());
    FaultyStore *store = faulty.last;
    Windows windows;
    if (request == DataContext::ChangeRecord)
        QVERIFY(ctx.file(TableId::ADR_DAT).fetch(ADR::KeyKod, {person}));
    QPointer<TestForm> form = openForm(windows, ctx, TableId::ADR_DAT, quint8(request));
    const qint64 code = form->code->text().toLongLong();
    retype(form->name, QStringLiteral("Nová"));
    store->failAt = store->writes;  // the next write fails
    reporter.answer(retry ? ErrorReporter::Answer::Yes : ErrorReporter::Answer::No);
    form->accept();
    QCOMPARE(reporter.ids(), (QList<MessageId>{MessageId(notice), MessageId::RetrySave}));
    QCOMPARE(reporter.entries().last().title, QStringLiteral("Chyba při ukládání"));
    QVERIFY(reporter.entries().last().text.contains(QStringLiteral("disk I/O error (injected)")));
    QCOMPARE(!form || form->isFinished(), closes);
    if (closes)
        QCOMPARE(ctx.globalResponse, quint8(saved ? DataContext::RequestCompleted : DataContext::RequestCancelled));
    else
        QCOMPARE(form->focusWidget(), form->first);
    QCOMPARE(stored(dir.path(), TableId::ADR_DAT, ADR::KeyKod, code).text(ADR::NAZEV),
             saved ? QStringLiteral("Nová") : (request == 2 ? QStringLiteral("Stará") : QString()));
}

void TstRecordForm::unknownDeleteFailureAsksToRetry_data()
{
    QTest::addColumn<bool>("retry");
    QTest::newRow("Yes deletes again") << true;
    QTest::newRow("No closes the form") << false;
}

void TstRecordForm::unknownDeleteFailureAsksToRetry()
{
    QFETCH(bool, retry);
    ScratchDir dir;
    ScriptedReporter reporter;
    addUnit(dir.path(), 7, QStringLiteral("Výtah"));
    FaultyContexts faulty;
    DataContext ctx(dir.path());
    FaultyStore *store = faulty.last;
    Windows windows;
    QVERIFY(ctx.file(TableId::GCU_POK).fetch(GCP::PRIMARY, {7}));
    store->failAt = store->writes;
    reporter.answer(ErrorReporter::Answer::Yes);  // the confirmation
    reporter.answer(retry ? ErrorReporter::Answer::Yes : ErrorReporter::Answer::No);
    QPointer<TestForm> form = openForm(windows, ctx, TableId::GCU_POK, DataContext::DeleteRecord);
    QCOMPARE(reporter.ids(),
             (QList<MessageId>{MessageId::ConfirmDelete, MessageId::DeleteFailed, MessageId::RetryDelete}));
    QCOMPARE(reporter.entries().last().title, QStringLiteral("Chyba při mazání"));
    QVERIFY(!form || form->isFinished());
    QCOMPARE(ctx.globalResponse, quint8(retry ? DataContext::RequestCompleted : DataContext::RequestCancelled));
    QCOMPARE(rowsOf(dir.path(), TableId::GCU_POK), retry ? 0 : 1);
}

void TstRecordForm::formBlocksOnlyItsList_data()
{
    QTest::addColumn<bool>("firstClosesFirst");
    QTest::newRow("first form closes first") << true;
    QTest::newRow("second form closes first") << false;
}

void TstRecordForm::formBlocksOnlyItsList()
{
    QFETCH(bool, firstClosesFirst);
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctxA(dir.path());
    DataContext ctxB(dir.path());
    Windows windows;
    auto *listA = windows.keep(new ProcedureWindow(QStringLiteral("ListA"), ctxA));
    auto *listB = windows.keep(new ProcedureWindow(QStringLiteral("ListB"), ctxB));
    listA->openWindow();
    listB->openWindow();

    QList<quint8> responses;
    ctxA.globalRequest = DataContext::InsertRecord;
    QPointer<TestForm> formA = windows.keep(new TestForm(ctxA, TableId::GCU_POK));
    listA->runChild(formA, [&](quint8 r) { responses.append(r); });
    QVERIFY(formA->isVisible());
    QVERIFY(!listA->isEnabled());
    QVERIFY(listB->isEnabled());
    QVERIFY(formA->isEnabled());

    ctxB.globalRequest = DataContext::InsertRecord;
    QPointer<TestForm> formB = windows.keep(new TestForm(ctxB, TableId::GCU_POK));
    listB->runChild(formB, [&](quint8 r) { responses.append(r); });
    QVERIFY(!listA->isEnabled());
    QVERIFY(!listB->isEnabled());
    QVERIFY(formA->isEnabled() && formB->isEnabled());

    // A list waits for its form: its close box does nothing while the form is open.
    listA->close();
    QVERIFY(!listA->isFinished());

    TestForm *closing = firstClosesFirst ? formA.data() : formB.data();
    closing->reject();
    QCOMPARE(listA->isEnabled(), firstClosesFirst);
    QCOMPARE(listB->isEnabled(), !firstClosesFirst);
    (firstClosesFirst ? formB : formA)->accept();
    QVERIFY(listA->isEnabled());
    QVERIFY(listB->isEnabled());
    QCOMPARE(responses,
             (QList<quint8>{DataContext::RequestCancelled, DataContext::RequestCompleted}));
}

void TstRecordForm::entryRefusesWhatItsPictureDoesNot_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("n3: letters and a fourth digit") << "@n3" << "12a45" << "124";
    QTest::newRow("n3: no minus") << "@n3" << "-5" << "5";
    QTest::newRow("n-7.0: minus, no letters") << "@n-7.0" << "-12x" << "-12";
    QTest::newRow("s5: five characters") << "@s5" << "abcdefg" << "abcde";
    QTest::newRow("D17: a day, no letters") << "@D17" << "1.2.2020x" << "1.2.2020";
    QTest::newRow("D17: no month 13") << "@D17" << "1.13" << "1.1";
    QTest::newRow("T7: no hour 25") << "@T7" << "25" << "2";
}

void TstRecordForm::entryRefusesWhatItsPictureDoesNot()
{
    QFETCH(QString, picture);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    FieldEdit edit(picture);
    type(&edit, typed);
    QCOMPARE(edit.text(), shown);
}

void TstRecordForm::entryGivesBackWhatItShowedUntilTyped()
{
    // T7 shows no seconds: an untouched entry still gives the exact value back.
    FieldEdit time(QStringLiteral("@T7"));
    const qlonglong eightAndSeconds = 2880001 + 1234;
    time.setFieldValue(eightAndSeconds);
    QCOMPARE(time.text(), QStringLiteral("8:00"));
    QVariant v;
    QVERIFY(time.fieldValue(&v));
    QCOMPARE(v.toLongLong(), eightAndSeconds);
    retype(&time, QStringLiteral("9:15"));
    QVERIFY(time.fieldValue(&v));
    QCOMPARE(v.toLongLong(), qlonglong(2880001 + 75 * 6000));
    // An unfinished input is not a value.
    retype(&time, QStringLiteral("9:"));
    QVERIFY(!time.fieldValue(&v));

    FieldEdit display(QStringLiteral("@N-_14"));
    display.setDisplayOnly(true);
    display.setFieldValue(qlonglong(123456));
    QCOMPARE(display.text(), QStringLiteral("123456"));
    QVERIFY(display.isReadOnly());
    QCOMPARE(display.focusPolicy(), Qt::NoFocus);
    display.setViewOnly(false);
    QVERIFY(display.isReadOnly());
}

void TstRecordForm::checkBoxValues()
{
    FieldCheck box(QStringLiteral(" Karta aktivní"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVariant v;
    box.setFieldValue(qlonglong(1));
    QVERIFY(box.isChecked());
    QTest::mouseClick(&box, Qt::LeftButton);
    QVERIFY(box.fieldValue(&v));
    QCOMPARE(v.toLongLong(), 0);

    box.setValues(QStringLiteral("A"), QStringLiteral("N"));
    box.setFieldValue(QStringLiteral("A"));
    QVERIFY(box.isChecked());
    QTest::mouseClick(&box, Qt::LeftButton);
    QVERIFY(box.fieldValue(&v));
    QCOMPARE(v.toString(), QStringLiteral("N"));

    // A value that is neither shows unchecked and is kept until the box is clicked.
    box.setValues(qlonglong(1), qlonglong(0));
    box.setFieldValue(qlonglong(2));
    QVERIFY(!box.isChecked());
    QVERIFY(box.fieldValue(&v));
    QCOMPARE(v.toLongLong(), 2);
    QTest::mouseClick(&box, Qt::LeftButton);
    QVERIFY(box.fieldValue(&v));
    QCOMPARE(v.toLongLong(), 1);
    QTest::mouseClick(&box, Qt::LeftButton);
    QVERIFY(box.fieldValue(&v));
    QCOMPARE(v.toLongLong(), 0);
}

void TstRecordForm::dropDownListFromTable()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 zdena = addPerson(dir.path(), QStringLiteral("Zdena"));
    const qint64 adam = addPerson(dir.path(), QStringLiteral("adam"));
    DataContext ctx(dir.path());
    FileManager &people = ctx.file(TableId::ADR_DAT);
    QVERIFY(people.fetch(ADR::KeyKod, {zdena}));

    FieldCombo holder;
    holder.setFieldValue(qlonglong(999));  // a holder code that belongs to nobody
    QVERIFY(holder.fillFrom(people, ADR::KeyNazev, ADR::NAZEV, ADR::KOD));
    QCOMPARE(holder.count(), 2);
    QCOMPARE(holder.itemText(0), QStringLiteral("adam"));  // name order, letter case ignored
    QCOMPARE(holder.itemText(1), QStringLiteral("Zdena"));
    QCOMPARE(people.record().text(ADR::NAZEV), QStringLiteral("Zdena"));  // the buffer is untouched
    QCOMPARE(holder.currentIndex(), -1);  // no fall-back to the first entry
    QVariant v;
    QVERIFY(holder.fieldValue(&v));
    QCOMPARE(v.toLongLong(), 999);

    holder.setFieldValue(zdena);
    QCOMPARE(holder.currentText(), QStringLiteral("Zdena"));
    holder.setCurrentIndex(0);
    QVERIFY(holder.fieldValue(&v));
    QCOMPARE(v.toLongLong(), adam);
    // An empty choice gives the empty value (0 in a number field).
    holder.setCurrentIndex(-1);
    QVERIFY(holder.fieldValue(&v));
    Record card(TableId::CARDS);
    card.setInteger(CAR::DRZITEL, 5);
    card.setValue(CAR::DRZITEL, v);
    QCOMPARE(card.integer(CAR::DRZITEL), 0);

    // Fixed entries: an unknown code shows no entry and stays as it was.
    FieldCombo action;
    action.addEntry(QStringLiteral("Příchod"), qlonglong(41));
    action.addEntry(QStringLiteral("Odchod"), qlonglong(43));
    action.setFieldValue(qlonglong(51));
    QCOMPARE(action.currentIndex(), -1);
    QVERIFY(action.fieldValue(&v));
    QCOMPARE(v.toLongLong(), 51);
    action.setCurrentIndex(1);
    QVERIFY(action.fieldValue(&v));
    QCOMPARE(v.toLongLong(), 43);
    action.setViewOnly(true);
    QVERIFY(!action.isEnabled());
}

QTEST_MAIN(TstRecordForm)
#include "tst_recordform.moc"
