#pragma once

#include "store.h"

#include <QString>
#include <array>
#include <map>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The store of the program: each table in a SQLite file of its own in the data directory
// ("databze_karet.sqlite" holds the table CARDS), with a rollback journal and full syncs so that
// a transaction over several files is atomic. Another process with a plain SQLite connection
// can read every table and add log rows while the program runs.
class SqliteStore : public Store
{
public:
    explicit SqliteStore(QString directory);
    ~SqliteStore() override;

    SqliteStore(const SqliteStore &) = delete;
    SqliteStore &operator=(const SqliteStore &) = delete;

    QString directory() const { return m_dir; }
    QString filePath(TableId table) const;

    OpenState open(TableId table, QString *errorText) override;
    void close(TableId table) override;
    bool isOpen(TableId table) const override;
    bool isReadOnly(TableId table) const override;

    StoreResult readPage(TableId table, const PageRequest &request, std::vector<Record> *out) override;
    StoreResult readByRowId(TableId table, qint64 rowId, Record *out) override;
    StoreResult count(TableId table, const std::vector<Condition> &where, qint64 *out) override;
    StoreResult maxValue(TableId table, int field, qint64 *out) override;

    StoreResult insert(Record &record) override;
    StoreResult update(const Record &asRead, const Record &now) override;
    StoreResult remove(const Record &asRead) override;
    StoreResult replaceValue(TableId table, int field, const QVariant &oldValue, const QVariant &newValue,
                             qint64 *changed) override;
    StoreResult upsertField(TableId table, int keyField, const QVariant &keyValue, int setField,
                            const QVariant &value) override;

    StoreResult begin(const std::vector<TableId> &tables, int waitMs) override;
    StoreResult commit() override;
    void rollback() override;
    bool inTransaction() const override { return m_txHost != nullptr; }

    StoreResult rebuildKeys(TableId table) override;
    StoreResult verify(TableId table, QString *problems) override;

    // The wait for a lock held by another station on an ordinary read or write, in ms.
    static constexpr int lockWaitMs = 10000;
    // The SQL that creates the table and its indexes (also for tools and tests).
    static QStringList schemaSql(const TableDef &def);
    // The name of the collation a text field of the table orders by.
    static const char *collationFor(const TableDef &def, int field);

private:
    struct Table {
        sqlite3 *db = nullptr;
        bool readOnly = false;
    };
    struct Target {
        sqlite3 *db = nullptr;
        QString schema;  // "main" or the alias of an attached file
    };

    Target target(TableId table) const;
    sqlite3_stmt *prepare(sqlite3 *db, const QString &sql, StoreResult *result);
    StoreResult failure(sqlite3 *db, int rc) const;
    void readRow(sqlite3_stmt *st, const TableDef &def, Record *out) const;
    void bindValue(sqlite3_stmt *st, int index, const FieldDef &field, const QVariant &value) const;
    QString whereSql(const TableDef &def, const std::vector<Condition> &where, const QString &alias) const;
    void bindWhere(sqlite3_stmt *st, int *index, const TableDef &def, const std::vector<Condition> &where) const;
    StoreResult stepDone(sqlite3 *db, sqlite3_stmt *st);
    StoreResult createSchema(sqlite3 *db, const TableDef &def);
    void finalizeCached(sqlite3 *db);

    QString m_dir;
    std::array<Table, TableCount> m_tables{};
    std::map<std::pair<sqlite3 *, QString>, sqlite3_stmt *> m_cache;
    sqlite3 *m_txHost = nullptr;
    std::map<TableId, QString> m_txAliases;  // tables in the transaction -> schema name on the host
};
