#include "datacontext.h"
#include "datepicker.h"
#include "fieldcombo.h"
#include "fielddateedit.h"
#include "fieldedit.h"
#include "globals.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "stddatetime.h"
#include "updatelog_pokoje.h"

#include <QCalendarWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

qint64 addPerson(const QString &dir, const QString &name)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::ADR_DAT);
    if (!fm.primeRecord())
        return -1;
    fm.record().setText(ADR::NAZEV, name);
    return fm.insert().ok() ? fm.record().integer(ADR::KOD) : -1;
}

struct Entry {
    qint64 data = 0;
    qint32 datum = 0;
    qint32 cas = 0;
    QString karta;
    QString poznamka;
    qint64 drzitel = 0;
    qint64 ctecka = 0;
};

qint64 addEntry(const QString &dir, const Entry &e)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::LOG_POKOJE);
    Record &r = fm.record();
    r.clear();
    r.setInteger(LPO::DATA, e.data);
    r.setInteger(LPO::DATUM, e.datum);
    r.setInteger(LPO::CAS, e.cas);
    r.setText(LPO::KARTA, e.karta);
    r.setText(LPO::POZNAMKA, e.poznamka);
    r.setInteger(LPO::DRZITEL, e.drzitel);
    r.setInteger(LPO::CTECKA, e.ctecka);
    return fm.insert().ok() ? r.integer(LPO::ID) : -1;
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

std::vector<Record> allEntries(const QString &dir)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::LOG_POKOJE);
    PageRequest req = PageRequest::forKey(fm.def(), LPO::KeyId);
    req.limit = 0;
    std::vector<Record> rows;
    fm.readPage(req, &rows);
    return rows;
}

// Opens the form as a list does: for a change, a view or a deletion the entry is in the
// table's buffer first.
UpdateLOG_POKOJE *openForm(DataContext &ctx, quint8 request, qint32 person, qint64 id = 0)
{
    if (id != 0 && !ctx.file(TableId::LOG_POKOJE).fetch(LPO::KeyId, {QVariant(id)}))
        return nullptr;
    ctx.globalRequest = request;
    auto *form = new UpdateLOG_POKOJE(ctx, person);
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

void chooseAction(UpdateLOG_POKOJE *form, const QString &text)
{
    FieldCombo *list = form->actionList();
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
}

// Runs `step` on the date picker once it is shown modally.
void whenPickerShows(std::function<void(DatePicker *)> step)
{
    QTimer::singleShot(0, [step] {
        auto *picker = qobject_cast<DatePicker *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        step(picker);
    });
}

// Whether the form has ended (its window is deleted later, by the event loop).
bool closed(const QPointer<UpdateLOG_POKOJE> &form)
{
    return !form || form->isFinished();
}

// Deletes a form still open at the end of a test, before its context goes.
struct Closer {
    QPointer<UpdateLOG_POKOJE> form;
    ~Closer() { delete form.data(); }
};

const QStringList actionTexts = {
    QStringLiteral("Příchod"),    QStringLiteral("Odchod"),         QStringLiteral("Dovolená"),
    QStringLiteral("Nemoc"),      QStringLiteral("Proplaceno"),     QStringLiteral("Výchozí kladný"),
    QStringLiteral("Výchozí záporný"),
};

} // namespace

// The attendance entry form, driven through its window over real tables.
class TstUpdateLOG_POKOJE : public QObject
{
    Q_OBJECT

private slots:
    void init() { GLO::resetForTests(); }
    void cleanup() { GLO::resetForTests(); }

    void windowAsDesigned();
    void actionShownAndStored_data();
    void actionShownAndStored();
    void doorEventKeepsCodeAndPerson();
    void insertIsBookedToTheCallersPerson_data();
    void insertIsBookedToTheCallersPerson();
    void newEntryWithoutActionHasCodeZero();
    void vacationHoursStoredAsTyped_data();
    void vacationHoursStoredAsTyped();
    void viewWritesNothing();
    void datePickerCancelAndChoice();
    void historyKeyRecallsTheLastSavedEntry();
    void deleteAsksAndDeletes();
};

void TstUpdateLOG_POKOJE::windowAsDesigned()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Closer closer{openForm(ctx, DataContext::InsertRecord, 0)};
    UpdateLOG_POKOJE *form = closer.form;
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Přidání úlohy"));
    QCOMPARE(form->procedure(), QStringLiteral("UpdateLOG_POKOJE"));
    QCOMPARE(form->tabs()->count(), 2);
    QCOMPARE(form->tabs()->tabText(0), QStringLiteral("Obecné"));
    QCOMPARE(form->tabs()->tabText(1), QStringLiteral("Rozšířené"));
    QStringList items;
    for (int i = 0; i < form->actionList()->count(); ++i)
        items << form->actionList()->itemText(i);
    QCOMPARE(items, actionTexts);
    QCOMPARE(form->actionList()->currentIndex(), -1);
    QCOMPARE(form->dateEntry()->calendarButton()->text(), QStringLiteral("Kalendář"));
    QCOMPARE(form->saveButton()->text(), QStringLiteral("Uložit"));
    QCOMPARE(form->saveButton()->toolTip(), QStringLiteral("Accept data and close the window"));
    QCOMPARE(form->cancelButton()->text(), QStringLiteral("Storno"));
    QCOMPARE(form->cancelButton()->toolTip(), QStringLiteral("Cancel operation"));
    QCOMPARE(form->size(), form->designedSizePx());
    // Nothing typed: cancelling asks nothing and leaves no reserved entry behind.
    QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));
    QVERIFY(reporter.entries().isEmpty());
    QVERIFY(allEntries(dir.path()).empty());
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCancelled));
}

void TstUpdateLOG_POKOJE::actionShownAndStored_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("storedCode");
    QTest::newRow("arrival to departure") << 41 << QStringLiteral("Příchod") << QStringLiteral("Odchod") << 43;
    QTest::newRow("departure to vacation") << 43 << QStringLiteral("Odchod") << QStringLiteral("Dovolená") << 15;
    QTest::newRow("vacation to sickness") << 15 << QStringLiteral("Dovolená") << QStringLiteral("Nemoc") << 13;
    QTest::newRow("sickness to paid out") << 13 << QStringLiteral("Nemoc") << QStringLiteral("Proplaceno") << 10;
    QTest::newRow("paid out to positive balance") << 10 << QStringLiteral("Proplaceno") << QStringLiteral("Výchozí kladný")
                                                  << 11;
    QTest::newRow("positive to negative balance") << 11 << QStringLiteral("Výchozí kladný")
                                                  << QStringLiteral("Výchozí záporný") << 12;
    QTest::newRow("negative balance to arrival") << 12 << QStringLiteral("Výchozí záporný") << QStringLiteral("Příchod")
                                                 << 41;
    QTest::newRow("code 14 shows nothing") << 14 << QString() << QStringLiteral("Nemoc") << 13;
}

void TstUpdateLOG_POKOJE::actionShownAndStored()
{
    QFETCH(int, code);
    QFETCH(QString, shown);
    QFETCH(QString, chosen);
    QFETCH(int, storedCode);
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 id = addEntry(dir.path(), {code, StdDateTime::fromYmd(2024, 3, 4), StdDateTime::fromHms(7, 30), {}, {}, 1});
    DataContext ctx(dir.path());
    Closer closer{openForm(ctx, DataContext::ChangeRecord, 1, id)};
    QVERIFY(closer.form);
    QCOMPARE(closer.form->windowTitle(), QStringLiteral("Změna úlohy"));
    QCOMPARE(closer.form->actionList()->currentText(), shown);
    chooseAction(closer.form, chosen);
    QTest::mouseClick(closer.form->saveButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));
    QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    QCOMPARE(stored(dir.path(), id).integer(LPO::DATA), qint64(storedCode));
}

void TstUpdateLOG_POKOJE::doorEventKeepsCodeAndPerson()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 owner = addPerson(dir.path(), QStringLiteral("Jana Nováková"));
    const qint64 other = addPerson(dir.path(), QStringLiteral("Petr Svoboda"));
    const qint64 id = addEntry(dir.path(), {51, StdDateTime::fromYmd(2024, 5, 6), StdDateTime::fromHms(9, 15),
                                            QStringLiteral("04A1B2C3D4"), {}, owner, 7});
    // The person highlighted last in a people window is somebody else.
    GLO::TiskDrzitel.set(other);
    DataContext ctx(dir.path());
    Closer closer{openForm(ctx, DataContext::ChangeRecord, qint32(other), id)};
    UpdateLOG_POKOJE *form = closer.form;
    QVERIFY(form);
    QCOMPARE(form->actionList()->currentIndex(), -1);
    QCOMPARE(form->bookedPerson(), qint32(owner));
    QCOMPARE(form->userName()->text(), QStringLiteral("Jana Nováková"));

    retype(form->dateEntry()->entry(), QStringLiteral("7.5.2024"));
    retype(form->timeEntry(), QStringLiteral("10:20"));
    form->tabs()->setCurrentIndex(1);
    retype(form->cardEntry(), QStringLiteral("04FFFF"));
    retype(form->noteEntry(), QStringLiteral("opraveno"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));

    const Record r = stored(dir.path(), id);
    QCOMPARE(r.integer(LPO::DATA), 51);
    QCOMPARE(r.integer(LPO::DRZITEL), owner);
    QCOMPARE(r.integer(LPO::DATUM), StdDateTime::fromYmd(2024, 5, 7));
    QCOMPARE(r.integer(LPO::CAS), StdDateTime::fromHms(10, 20));
    QCOMPARE(r.text(LPO::KARTA), QStringLiteral("04FFFF"));
    QCOMPARE(r.text(LPO::POZNAMKA), QStringLiteral("opraveno"));
    QCOMPARE(r.integer(LPO::CTECKA), 7);
    QCOMPARE(allEntries(dir.path()).size(), size_t(1));
}

void TstUpdateLOG_POKOJE::insertIsBookedToTheCallersPerson_data()
{
    QTest::addColumn<bool>("fromPeopleWindow");
    // A people window passes its own highlighted person; the room access log list passes
    // GLO:TiskDrzitel.
    QTest::newRow("people window, another person in GLO:TiskDrzitel") << true;
    QTest::newRow("log list, GLO:TiskDrzitel") << false;
}

void TstUpdateLOG_POKOJE::insertIsBookedToTheCallersPerson()
{
    QFETCH(bool, fromPeopleWindow);
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 highlighted = addPerson(dir.path(), QStringLiteral("Jana Nováková"));
    const qint64 last = addPerson(dir.path(), QStringLiteral("Petr Svoboda"));
    GLO::TiskDrzitel.set(last);
    const qint64 person = fromPeopleWindow ? highlighted : GLO::TiskDrzitel.get();
    DataContext ctx(dir.path());
    Closer closer{openForm(ctx, DataContext::InsertRecord, qint32(person))};
    UpdateLOG_POKOJE *form = closer.form;
    QVERIFY(form);
    QCOMPARE(form->userName()->text(), fromPeopleWindow ? QStringLiteral("Jana Nováková") : QStringLiteral("Petr Svoboda"));
    chooseAction(form, QStringLiteral("Příchod"));
    retype(form->dateEntry()->entry(), QStringLiteral("1.2.2024"));
    retype(form->timeEntry(), QStringLiteral("6:55"));
    // Another window highlights a third person while the form is open: the entry stays booked.
    GLO::TiskDrzitel.set(99);
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));

    const std::vector<Record> rows = allEntries(dir.path());
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].integer(LPO::DRZITEL), person);
    QCOMPARE(rows[0].integer(LPO::DATA), 41);
    QCOMPARE(rows[0].integer(LPO::DATUM), StdDateTime::fromYmd(2024, 2, 1));
    QCOMPARE(rows[0].integer(LPO::CAS), StdDateTime::fromHms(6, 55));
    QCOMPARE(rows[0].integer(LPO::ID), 1);
}

void TstUpdateLOG_POKOJE::newEntryWithoutActionHasCodeZero()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Closer closer{openForm(ctx, DataContext::InsertRecord, 4)};
    QVERIFY(closer.form);
    QVERIFY(closer.form->userName()->text().isEmpty());  // nobody has the code 4
    retype(closer.form->dateEntry()->entry(), QStringLiteral("3.3.2024"));
    QTest::mouseClick(closer.form->saveButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));
    const std::vector<Record> rows = allEntries(dir.path());
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].integer(LPO::DATA), 0);
    QCOMPARE(rows[0].integer(LPO::DRZITEL), 4);
    QCOMPARE(rows[0].integer(LPO::CAS), 0);
}

void TstUpdateLOG_POKOJE::vacationHoursStoredAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("cas");
    QTest::newRow("no time: a whole day") << QString() << 0;
    QTest::newRow("04:00") << QStringLiteral("04:00") << int(StdDateTime::fromHms(4, 0));
    QTest::newRow("4:30") << QStringLiteral("4:30") << int(StdDateTime::fromHms(4, 30));
}

void TstUpdateLOG_POKOJE::vacationHoursStoredAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(int, cas);
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    Closer closer{openForm(ctx, DataContext::InsertRecord, 2)};
    QVERIFY(closer.form);
    chooseAction(closer.form, QStringLiteral("Dovolená"));
    retype(closer.form->dateEntry()->entry(), QStringLiteral("12.8.2024"));
    retype(closer.form->timeEntry(), typed);
    QTest::mouseClick(closer.form->saveButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));
    const std::vector<Record> rows = allEntries(dir.path());
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].integer(LPO::DATA), 15);
    QCOMPARE(rows[0].integer(LPO::CAS), qint64(cas));
    QCOMPARE(rows[0].integer(LPO::DATUM), StdDateTime::fromYmd(2024, 8, 12));
}

void TstUpdateLOG_POKOJE::viewWritesNothing()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 person = addPerson(dir.path(), QStringLiteral("Jana Nováková"));
    const qint64 id = addEntry(dir.path(), {43, StdDateTime::fromYmd(2024, 1, 9), StdDateTime::fromHms(15, 0),
                                            QStringLiteral("04AA"), QStringLiteral("pozn"), person});
    const Record before = stored(dir.path(), id);
    DataContext ctx(dir.path());
    Closer closer{openForm(ctx, DataContext::ViewRecord, 77, id)};
    UpdateLOG_POKOJE *form = closer.form;
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Zobrazení úlohy"));
    QCOMPARE(form->userName()->text(), QStringLiteral("Jana Nováková"));
    QCOMPARE(form->actionList()->currentText(), QStringLiteral("Odchod"));
    QVERIFY(!form->actionList()->isEnabled());
    QVERIFY(!form->dateEntry()->calendarButton()->isEnabled());
    for (QLineEdit *e : {static_cast<QLineEdit *>(form->dateEntry()->entry()), static_cast<QLineEdit *>(form->timeEntry()),
                         static_cast<QLineEdit *>(form->cardEntry()), static_cast<QLineEdit *>(form->noteEntry())})
        QVERIFY(e->isReadOnly());
    QTest::keyClicks(form->timeEntry(), QStringLiteral("9"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));
    QVERIFY(stored(dir.path(), id) == before);
    QCOMPARE(allEntries(dir.path()).size(), size_t(1));
    QVERIFY(reporter.entries().isEmpty());
}

void TstUpdateLOG_POKOJE::datePickerCancelAndChoice()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 id = addEntry(dir.path(), {41, StdDateTime::fromYmd(2024, 6, 14), StdDateTime::fromHms(8, 0), {}, {}, 1});
    DataContext ctx(dir.path());
    Closer closer{openForm(ctx, DataContext::ChangeRecord, 1, id)};
    UpdateLOG_POKOJE *form = closer.form;
    QVERIFY(form);
    QPushButton *calendar = form->dateEntry()->calendarButton();

    QDate opened;
    whenPickerShows([&opened](DatePicker *p) {
        opened = p->calendar()->selectedDate();
        p->calendar()->setSelectedDate(QDate(2024, 6, 1));
        p->reject();
    });
    QTest::mouseClick(calendar, Qt::LeftButton);
    QCOMPARE(opened, QDate(2024, 6, 14));
    QCOMPARE(form->dateEntry()->entry()->text(), QStringLiteral("14.6.2024"));

    // A date typed but not accepted yet counts; the day chosen shows at once.
    retype(form->dateEntry()->entry(), QStringLiteral("2.7.2024"));
    whenPickerShows([&opened](DatePicker *p) {
        opened = p->calendar()->selectedDate();
        p->calendar()->setSelectedDate(QDate(2024, 7, 20));
        p->accept();
    });
    QTest::mouseClick(calendar, Qt::LeftButton);
    QCOMPARE(opened, QDate(2024, 7, 2));
    QCOMPARE(form->dateEntry()->entry()->text(), QStringLiteral("20.7.2024"));

    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));
    QCOMPARE(stored(dir.path(), id).integer(LPO::DATUM), StdDateTime::fromYmd(2024, 7, 20));
}

void TstUpdateLOG_POKOJE::historyKeyRecallsTheLastSavedEntry()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    {
        Closer closer{openForm(ctx, DataContext::InsertRecord, 3)};
        QVERIFY(closer.form);
        chooseAction(closer.form, QStringLiteral("Nemoc"));
        retype(closer.form->dateEntry()->entry(), QStringLiteral("5.9.2024"));
        retype(closer.form->timeEntry(), QStringLiteral("3:00"));
        retype(closer.form->cardEntry(), QStringLiteral("04BEEF"));
        retype(closer.form->noteEntry(), QStringLiteral("lékař"));
        QTest::mouseClick(closer.form->saveButton(), Qt::LeftButton);
        QVERIFY(closed(closer.form));
    }
    Closer closer{openForm(ctx, DataContext::InsertRecord, 3)};
    UpdateLOG_POKOJE *form = closer.form;
    QVERIFY(form);
    QVERIFY(form->cardEntry()->text().isEmpty());
    for (QLineEdit *e : {static_cast<QLineEdit *>(form->dateEntry()->entry()), static_cast<QLineEdit *>(form->timeEntry()),
                         static_cast<QLineEdit *>(form->cardEntry()), static_cast<QLineEdit *>(form->noteEntry())})
        QTest::keyClick(e, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(form->dateEntry()->entry()->text(), QStringLiteral("5.9.2024"));
    QCOMPARE(form->timeEntry()->text(), QStringLiteral("3:00"));
    QCOMPARE(form->cardEntry()->text(), QStringLiteral("04BEEF"));
    QCOMPARE(form->noteEntry()->text(), QStringLiteral("lékař"));
    chooseAction(form, QStringLiteral("Nemoc"));
    QTest::mouseClick(form->saveButton(), Qt::LeftButton);
    QVERIFY(closed(closer.form));
    const std::vector<Record> rows = allEntries(dir.path());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[1].integer(LPO::ID), 2);
    QCOMPARE(rows[1].text(LPO::POZNAMKA), QStringLiteral("lékař"));
    QCOMPARE(rows[1].integer(LPO::CAS), StdDateTime::fromHms(3, 0));
}

void TstUpdateLOG_POKOJE::deleteAsksAndDeletes()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    const qint64 id = addEntry(dir.path(), {41, StdDateTime::fromYmd(2024, 6, 14), StdDateTime::fromHms(8, 0), {}, {}, 1});
    DataContext ctx(dir.path());
    {
        // No: nothing is deleted.
        Closer closer{openForm(ctx, DataContext::DeleteRecord, 1, id)};
        QVERIFY(closed(closer.form));
        QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCancelled));
    }
    QCOMPARE(allEntries(dir.path()).size(), size_t(1));
    reporter.answer(ErrorReporter::Answer::Yes);
    {
        Closer closer{openForm(ctx, DataContext::DeleteRecord, 1, id)};
        QCOMPARE(ctx.globalResponse, quint8(DataContext::RequestCompleted));
    }
    QVERIFY(allEntries(dir.path()).empty());
    QCOMPARE(reporter.ids(), (QList<MessageId>{MessageId::ConfirmDelete, MessageId::ConfirmDelete}));
}

QTEST_MAIN(TstUpdateLOG_POKOJE)
#include "tst_updatelog_pokoje.moc"
