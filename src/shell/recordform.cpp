#include "recordform.h"

#include "boundcontrol.h"
#include "datacontext.h"
#include "errorreporter.h"
#include "filemanager.h"
#include "relationmanager.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

bool isHistoryKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    return key->key() == Qt::Key_H && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

// Clears a flag when the scope ends, however it ends.
struct Busy {
    explicit Busy(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~Busy() { m_flag = false; }
    bool &m_flag;
};

} // namespace

RecordForm::RecordForm(const QString &procedure, DataContext &context, TableId table, QWidget *parent)
    : ProcedureWindow(procedure, context, parent)
    , m_table(table)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &RecordForm::reject);
}

RecordForm::~RecordForm() = default;

FileManager &RecordForm::file() const
{
    return context().file(m_table);
}

RelationManager &RecordForm::relation() const
{
    return context().relation(m_table);
}

Record &RecordForm::record() const
{
    return file().record();
}

bool RecordForm::isViewOnly() const
{
    return request() == DataContext::ViewRecord;
}

QString RecordForm::titleFor(quint8 request)
{
    switch (request) {
    case DataContext::ViewRecord:
        return QStringLiteral("Zobrazení úlohy");
    case DataContext::InsertRecord:
        return QStringLiteral("Přidání úlohy");
    case DataContext::ChangeRecord:
        return QStringLiteral("Změna úlohy");
    default:
        return QString();
    }
}

void RecordForm::bind(BoundControl *control, int field)
{
    Q_ASSERT(control && field >= 0 && field < int(tableDef(m_table).fields.size()));
    m_bindings.push_back({control, field});
}

void RecordForm::setHistoryField(BoundControl *control)
{
    for (Binding &b : m_bindings) {
        if (b.control == control) {
            b.history = true;
            control->focusTarget()->installEventFilter(this);
            return;
        }
    }
    Q_ASSERT_X(false, "RecordForm::setHistoryField", "the control is not bound");
}

BoundControl *RecordForm::firstField() const
{
    if (m_firstField)
        return m_firstField;
    for (const Binding &b : m_bindings)
        if (!b.control->isDisplayOnly())
            return b.control;
    return nullptr;
}

BoundControl *RecordForm::controlFor(int field) const
{
    for (const Binding &b : m_bindings)
        if (b.field == field)
            return b.control;
    return nullptr;
}

void RecordForm::openTables()
{
    relation().open();
}

void RecordForm::closeTables()
{
    relation().close();
}

bool RecordForm::prepareWindow()
{
    const QString title = titleFor(request());
    if (!title.isEmpty())
        setWindowTitle(title);
    if (request() == DataContext::DeleteRecord) {
        runDeletion();
        return false;
    }
    if (request() == DataContext::InsertRecord && !file().primeRecord())
        return false;  // the user gave the numbering up: the form ends cancelled
    toScreen();
    if (isViewOnly())
        for (const Binding &b : m_bindings)
            b.control->setViewOnly(true);
    formOpened();
    focusFirstField();
    return true;
}

void RecordForm::toScreen()
{
    const Record &r = file().record();
    for (const Binding &b : m_bindings)
        b.control->setFieldValue(r.value(b.field));
}

bool RecordForm::screenInto(Record *record, const Binding **refused) const
{
    for (const Binding &b : m_bindings) {
        if (b.control->isDisplayOnly())
            continue;
        QVariant v;
        if (!b.control->fieldValue(&v)) {
            if (refused)
                *refused = &b;
            return false;
        }
        record->setValue(b.field, v);
    }
    return true;
}

bool RecordForm::toRecord()
{
    const Binding *refused = nullptr;
    if (screenInto(&file().record(), &refused))
        return true;
    return refuseValue(refused->field);
}

bool RecordForm::screenDiffersFromRead()
{
    Record onScreen = file().record();
    if (!screenInto(&onScreen, nullptr))
        return true;  // an unfinished input is a change too
    return !onScreen.sameValues(file().asRead());
}

void RecordForm::focusField(QWidget *control)
{
    if (!control)
        return;
    // A field on a tab that is not in front: bring its tab forward first.
    QWidget *child = control;
    for (QWidget *p = control->parentWidget(); p && child != this; child = p, p = p->parentWidget()) {
        if (auto *stack = qobject_cast<QStackedWidget *>(p)) {
            if (auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget()))
                tabs->setCurrentWidget(child);
            else
                stack->setCurrentWidget(child);
        }
    }
    control->setFocus(Qt::OtherFocusReason);
}

void RecordForm::focusFirstField()
{
    if (BoundControl *first = firstField())
        focusField(first->focusTarget());
}

bool RecordForm::refuseValue(int field)
{
    MessageArgs args;
    args.file = QString::fromLatin1(tableDef(m_table).externalName);
    args.field = tableDef(m_table).qualifiedName(field);
    reportMessage(MessageId::ValueOutOfRange, args);
    if (BoundControl *c = controlFor(field))
        focusField(c->focusTarget());
    else
        focusFirstField();
    return false;
}

void RecordForm::accept()
{
    if (isFinished() || m_saving)
        return;
    Busy busy(m_saving);
    if (request() == DataContext::DeleteRecord) {
        runDeletion();
        return;
    }
    if (isViewOnly()) {
        // A view writes nothing: the save button only closes it.
        toRecord();
        beforeSave();
        finish(DataContext::RequestCancelled);
        return;
    }
    if (!toRecord() || !validate())
        return;
    beforeSave();
    writeRecord();
}

bool RecordForm::writeRecord()
{
    FileManager &fm = file();
    const bool inserting = request() == DataContext::InsertRecord;
    const Operation op = inserting ? Operation::Insert : Operation::Change;
    for (;;) {
        OpResult r;
        if (inserting)
            r = fm.insert();
        else if (fm.changedSinceRead())
            r = relation().update();
        // else: nothing differs from the record as read, and nothing is written.
        if (r.ok()) {
            complete();
            return true;
        }
        if (r.kind == OpResult::OutOfRange) {
            reportFailure(r, op, fm.def(), true);
            if (BoundControl *c = controlFor(r.field))
                focusField(c->focusTarget());
            else
                focusFirstField();
            return false;
        }
        reportFailure(r, op, fm.def(), true);
        if (!isUnknownFailure(r)) {
            // A notice: the form stays open with what the user typed. A record another station
            // changed is read again, so that saving once more writes over the current one.
            if (!inserting && (r.status == StoreStatus::Changed || r.status == StoreStatus::NotFound))
                fm.fetchRow(fm.asRead().rowId());
            focusFirstField();
            return false;
        }
        MessageArgs args;
        args.file = QString::fromLatin1(fm.def().externalName);
        args.errorText = r.text;
        if (askYes(MessageId::RetrySave, args))
            continue;
        if (inserting)
            focusFirstField();  // an insert form stays open
        else
            finish(DataContext::RequestCancelled);
        return false;
    }
}

void RecordForm::complete()
{
    const Record &saved = file().record();
    m_savedRowId = saved.rowId();
    context().setHistory(procedure(), saved);
    finish(DataContext::RequestCompleted);
}

void RecordForm::runDeletion()
{
    if (isFinished())
        return;
    if (!askYes(MessageId::ConfirmDelete)) {
        finish(DataContext::RequestCancelled);
        return;
    }
    FileManager &fm = file();
    MessageArgs args;
    args.file = QString::fromLatin1(fm.def().externalName);
    for (;;) {
        const OpResult r = relation().remove();
        if (r.ok()) {
            finish(DataContext::RequestCompleted);
            return;
        }
        if (isRestrictRefusal(r)) {
            reportMessage(MessageId::RestrictDelete, args);
            break;
        }
        reportFailure(r, Operation::Delete, fm.def(), false);
        if (!isUnknownFailure(r))
            break;
        args.errorText = r.text;
        if (!askYes(MessageId::RetryDelete, args))
            break;
    }
    finish(DataContext::RequestCancelled);
}

void RecordForm::reject()
{
    if (isFinished() || m_saving)
        return;
    placedWindow()->close();
}

bool RecordForm::canClose()
{
    if (isFinished())
        return true;
    const quint8 req = request();
    if (req != DataContext::ViewRecord && req != DataContext::DeleteRecord && screenDiffersFromRead()
        && !askYes(MessageId::CancelChanges))
        return false;
    if (req == DataContext::InsertRecord)
        file().abandonReservation();
    return true;
}

void RecordForm::recallHistory(const Binding &binding)
{
    if (isViewOnly() || binding.control->isDisplayOnly())
        return;
    const Record *history = context().history(procedure());
    if (!history || history->table() != m_table)
        return;
    binding.control->setFieldValue(history->value(binding.field));
}

bool RecordForm::eventFilter(QObject *watched, QEvent *event)
{
    if (isHistoryKey(event)) {
        for (const Binding &b : m_bindings) {
            if (b.history && b.control->focusTarget() == watched) {
                event->accept();
                if (event->type() == QEvent::KeyPress)
                    recallHistory(b);
                return true;
            }
        }
    }
    return ProcedureWindow::eventFilter(watched, event);
}
