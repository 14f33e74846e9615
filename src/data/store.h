#pragma once

#include "record.h"
#include "schema.h"

#include <QString>
#include <QVariant>
#include <vector>

// The record store behind the file and relation managers. One Store instance belongs to one
// window context; the tables it opens are its own. The SQLite implementation keeps every table
// in a file of its own; a server backend would be one more implementation of this interface.

enum class StoreStatus {
    Ok,
    NotFound,      // no such record
    Busy,          // a lock held by another station outlasted the wait
    Duplicate,     // a unique key would be duplicated
    Changed,       // the record was changed or deleted by another station since it was read
    ReadOnly,      // the table is open for reading only
    Full,          // the disk is full
    IoError,       // the device failed
    Corrupt,       // the file or one of its keys is damaged
    NotADatabase,  // the file is not one of our tables
    Error,         // anything else
};

struct StoreResult {
    StoreStatus status = StoreStatus::Ok;
    QString text;  // the store's description of the failure
    bool ok() const { return status == StoreStatus::Ok; }
    static StoreResult success() { return {}; }
};

enum class OpenState { Opened, Created, ReadOnly, NotADatabase, Failed };

// A condition on one field; the conditions of a request are all required (AND). `In` holds
// when the field equals one of the values of the QVariantList in `value` (an empty list: no row).
struct Condition {
    enum Op { Eq, Ne, Lt, Le, Gt, Ge, In };
    int field;
    Op op;
    QVariant value;
};

// One page of a table in an order: the order's fields, then the row identity as the last
// tie-break, so every row has one place. `from` positions the page: with fromRowId set it is
// an exact row position; without it, the leading key values (a locator or a range start).
struct PageRequest {
    std::vector<int> order;          // field indexes
    bool optKey = false;             // leave out rows whose order fields are all zero or blank
    std::vector<QVariant> from;      // values for the first from.size() order fields
    bool hasRowId = false;
    qint64 fromRowId = 0;
    bool backwards = false;          // read towards the start of the order
    bool inclusive = true;           // include the row at `from`
    int limit = 100;
    std::vector<Condition> where;

    static PageRequest forKey(const TableDef &def, int key);
    static PageRequest forKey(const KeyDef &key);
};

class Store
{
public:
    virtual ~Store() = default;

    // Opens the table's file, creating it empty when it is missing. Never writes over a file
    // that is not a table of ours.
    virtual OpenState open(TableId table, QString *errorText) = 0;
    virtual void close(TableId table) = 0;
    virtual bool isOpen(TableId table) const = 0;
    virtual bool isReadOnly(TableId table) const = 0;

    virtual StoreResult readPage(TableId table, const PageRequest &request, std::vector<Record> *out) = 0;
    virtual StoreResult readByRowId(TableId table, qint64 rowId, Record *out) = 0;
    virtual StoreResult count(TableId table, const std::vector<Condition> &where, qint64 *out) = 0;
    virtual StoreResult maxValue(TableId table, int field, qint64 *out) = 0;

    // Writes. Outside a transaction each is atomic on its own.
    virtual StoreResult insert(Record &record) = 0;                          // sets rowId (and CAR:ID)
    virtual StoreResult update(const Record &asRead, const Record &now) = 0; // Changed if the row moved on
    virtual StoreResult remove(const Record &asRead) = 0;
    // Sets `field` to `newValue` in every row where it is `oldValue` (relation rules).
    virtual StoreResult replaceValue(TableId table, int field, const QVariant &oldValue,
                                     const QVariant &newValue, qint64 *changed) = 0;
    // Inserts the row or, when a row with the same value of the unique `keyField` exists, sets
    // `setField` there: one statement, committed on its own.
    virtual StoreResult upsertField(TableId table, int keyField, const QVariant &keyValue, int setField,
                                    const QVariant &value) = 0;

    // A transaction over the given tables, waiting at most waitMs for their locks.
    virtual StoreResult begin(const std::vector<TableId> &tables, int waitMs) = 0;
    virtual StoreResult commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    virtual StoreResult rebuildKeys(TableId table) = 0;
    // Verifies the file and its keys; fills `problems` with what was found.
    virtual StoreResult verify(TableId table, QString *problems) = 0;
};
