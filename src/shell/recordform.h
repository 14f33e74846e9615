#pragma once

#include "procedurewindow.h"
#include "schema.h"

#include <vector>

class BoundControl;
class FileManager;
class Record;
class RelationManager;

// The base of the program's record forms (UpdateGCU_POK, UpdateLOG_POKOJE, UpdateCARDS,
// UpdateADR_DAT, UpdateKalendar, UpdateSETINGS, Updategcu_alarm): one record of one table,
// added, changed, viewed or deleted by the request the list left in the context.
//
// A form builds its controls in its constructor and binds them to fields; the base does the
// rest when the window opens: the title by the request ("Přidání úlohy", "Změna úlohy",
// "Zobrazení úlohy"; a delete keeps the designed title), priming a new record through the
// table's file manager (a given-up priming ends the form cancelled), the record to the screen
// (on change, view and delete the record the list left in the file manager's buffer), every
// control read-only for a view. A delete shows no window: it asks "Potvrzení vymazání" and
// deletes through the relation manager.
//
// accept() (the save button) takes the screen into the record and completes the request;
// reject() (the cancel button, Esc, the close box) asks "Změny nebudou uloženy!" when the
// screen differs from the record as read, and deletes the record reserved for an insert that
// is given up. Failures follow the program's rules: a notice (duplicate key, changed by
// another station, a value out of range) keeps the form open with the focus on its first
// field (on the refused field for a value out of range); an unknown failure asks whether to
// try again. A completed insert or change leaves its record in the form's history copy, from
// which Ctrl+H fills a history field, and gives savedRowId().
class RecordForm : public ProcedureWindow
{
    Q_OBJECT

public:
    RecordForm(const QString &procedure, DataContext &context, TableId table, QWidget *parent = nullptr);
    ~RecordForm() override;

    TableId table() const { return m_table; }
    FileManager &file() const;
    RelationManager &relation() const;
    // The table's record buffer in this context: the record the form works on.
    Record &record() const;

    bool isViewOnly() const;

    // Binds `control` (owned by its widget parent, as usual) to `field` of the form's table.
    // The first editable control bound is the form's first field unless setFirstField() says
    // otherwise.
    void bind(BoundControl *control, int field);
    // Ctrl+H in `control` puts the field's value of the history copy into it.
    void setHistoryField(BoundControl *control);
    void setFirstField(BoundControl *control) { m_firstField = control; }
    BoundControl *firstField() const;
    // The control bound to `field`, or nullptr.
    BoundControl *controlFor(int field) const;

    // The row id of the record saved last (0 until an insert or change completed): the list
    // selects it.
    qint64 savedRowId() const { return m_savedRowId; }

    // The window title for a request; empty for a deletion, which keeps the designed title.
    static QString titleFor(quint8 request);

public slots:
    void accept();
    void reject();

protected:
    // Checks of the form's own, after the screen went into the record and before it is
    // written (not in a view). To refuse, report the message, set the focus (focusField(), or
    // refuseValue()) and return false: the form stays open.
    virtual bool validate() { return true; }
    // Work of the form before the record is written, after the screen went into the record
    // (the card and person forms raise the change signal here). Runs on every save press, in
    // a view too, even when the write that follows fails.
    virtual void beforeSave() {}
    // The record is on the screen and the window is about to show (not for a deletion).
    virtual void formOpened() {}

    // Record -> every bound control, and the screen -> the record buffer. toRecord() stops at a
    // control whose input is not a value, reports it as out of range, puts the focus there and
    // returns false.
    void toScreen();
    bool toRecord();

    // Puts the focus on `control`, bringing its tab forward.
    void focusField(QWidget *control);
    void focusFirstField();
    // Reports "Chybná hodnota" for `field`, puts the focus on its control; returns false.
    bool refuseValue(int field);

    void openTables() override;
    void closeTables() override;
    bool prepareWindow() override;
    bool canClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Binding {
        BoundControl *control;
        int field;
        bool history = false;
    };

    void runDeletion();
    bool writeRecord();
    bool screenDiffersFromRead();
    bool screenInto(Record *record, const Binding **refused) const;
    void recallHistory(const Binding &binding);
    void complete();

    TableId m_table;
    std::vector<Binding> m_bindings;
    BoundControl *m_firstField = nullptr;
    qint64 m_savedRowId = 0;
    bool m_saving = false;
};
