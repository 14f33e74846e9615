#pragma once

#include "sqlitestore.h"

#include <functional>

// A store that passes every call to a real one until a chosen write call, which fails as a
// full disk or a device error would. Counts the write calls so a test can fail each in turn.
class FaultyStore : public SqliteStore
{
public:
    explicit FaultyStore(QString directory)
        : SqliteStore(std::move(directory))
    {
    }

    int writes = 0;         // write calls seen so far
    int failAt = -1;        // the write call (0-based) that fails; -1 never
    StoreStatus failWith = StoreStatus::IoError;

    StoreResult insert(Record &r) override { return fault() ? injected() : SqliteStore::insert(r); }
    StoreResult update(const Record &a, const Record &b) override { return fault() ? injected() : SqliteStore::update(a, b); }
    StoreResult remove(const Record &a) override { return fault() ? injected() : SqliteStore::remove(a); }
    StoreResult replaceValue(TableId t, int f, const QVariant &o, const QVariant &n, qint64 *c) override
    {
        return fault() ? injected() : SqliteStore::replaceValue(t, f, o, n, c);
    }
    StoreResult commit() override
    {
        if (fault()) {
            rollback();
            return injected();
        }
        return SqliteStore::commit();
    }

private:
    bool fault() { return writes++ == failAt; }
    StoreResult injected() const { return {failWith, QStringLiteral("disk I/O error (injected)")}; }
};
