#pragma once

#include "record.h"
#include "messages.h"
#include "store.h"

#include <vector>

class DataContext;

// What a write or read ended in. `field` names the field whose value did not fit, when that
// was the reason (status Ok is never combined with a field).
struct OpResult {
    enum Kind { Ok, OutOfRange, Store } kind = Ok;
    StoreStatus status = StoreStatus::Ok;
    QString text;
    int field = -1;
    bool ok() const { return kind == Ok; }
    static OpResult fromStore(const StoreResult &r);
};

enum class Operation { Insert, Change, Delete, Read };

// The file manager of one table in one window context: its record buffer, its counted opens,
// priming with automatic numbering, and the single-table reads and writes. The messages of the
// table's file rules (read-only, damaged keys, creation) are reported here; a write's failure is
// returned, and reportFailure() turns it into the message its caller's situation asks for.
class FileManager
{
public:
    FileManager(DataContext &context, TableId table);

    const TableDef &def() const { return tableDef(m_table); }
    TableId table() const { return m_table; }
    DataContext &context() const { return m_context; }

    // Counted opens: the physical file opens at the first use and closes with the last close.
    void open();
    void close();
    int openCount() const { return m_opens; }
    // Opens the file physically if it is not yet; false when the table cannot be used.
    bool use();
    bool isReadOnly();

    Record &record() { return m_record; }
    const Record &asRead() const { return m_asRead; }
    // Makes the buffer the record as read (after a read, or after the record was written).
    void markAsRead() { m_asRead = m_record; }
    bool changedSinceRead() const { return !m_record.sameValues(m_asRead); }

    // Clears the buffer, applies the defaults and reserves the next automatic number by
    // inserting the record at once (asking whether to try again after three failures).
    // False when the user gave the insert up or the table cannot be written.
    bool primeRecord();
    bool hasReservation() const { return m_reserved; }
    // Deletes the record reserved for an insert that was given up.
    void abandonReservation();

    OpResult insert();   // the buffer as a new record (over its reservation, if it has one)
    OpResult update();   // the buffer over the record as read, this table alone
    OpResult remove();   // the record as read, this table alone

    // Reads the first record whose leading key fields equal `values`, into the buffer.
    bool fetch(int key, const std::vector<QVariant> &values);
    bool fetchRow(qint64 rowId);
    OpResult readPage(const PageRequest &request, std::vector<Record> *out);
    OpResult count(const std::vector<Condition> &where, qint64 *out);

    Store &store();

private:
    friend class RelationManager;
    // Runs a store call; a damaged key is reported, rebuilt, and the call made once more.
    template<typename F> StoreResult withKeyRepair(F &&call);

    DataContext &m_context;
    TableId m_table;
    int m_opens = 0;
    bool m_unusable = false;
    bool m_reserved = false;
    Record m_record;
    Record m_asRead;
};

// Reports a failed operation with the message of the table: from a form, a record changed by
// another station gets the text that mentions Ctrl+H.
void reportFailure(const OpResult &result, Operation op, const TableDef &def, bool fromForm);
// The message a failure maps to (for callers that decide what follows it).
MessageId messageFor(const OpResult &result, Operation op, bool fromForm);
bool isUnknownFailure(const OpResult &result);
