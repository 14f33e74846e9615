#include "filemanager.h"

#include "datacontext.h"
#include "errorreporter.h"
#include "fieldlimits.h"

OpResult OpResult::fromStore(const StoreResult &r)
{
    OpResult o;
    if (!r.ok()) {
        o.kind = Store;
        o.status = r.status;
        o.text = r.text;
    }
    return o;
}

FileManager::FileManager(DataContext &context, TableId table)
    : m_context(context)
    , m_table(table)
    , m_record(table)
    , m_asRead(table)
{
}

Store &FileManager::store()
{
    return m_context.store();
}

void FileManager::open()
{
    ++m_opens;
}

void FileManager::close()
{
    if (m_opens == 0)
        return;
    if (--m_opens == 0) {
        store().close(m_table);
        m_unusable = false;
    }
}

bool FileManager::use()
{
    if (m_unusable)
        return false;
    if (store().isOpen(m_table))
        return true;
    QString error;
    const OpenState state = store().open(m_table, &error);
    MessageArgs args;
    args.file = QString::fromLatin1(def().externalName);
    args.errorText = error;
    switch (state) {
    case OpenState::Opened:
    case OpenState::Created:
        return true;
    case OpenState::ReadOnly:
        reportMessage(MessageId::AccessDenied, args);
        return true;
    case OpenState::NotADatabase:
        // Never written over: the user is told and the program goes on without the table.
        reportMessage(MessageId::NotADatabase, args);
        m_unusable = true;
        return false;
    case OpenState::Failed:
        reportMessage(MessageId::CreateFailed, args);
        m_unusable = true;
        return false;
    }
    return false;
}

bool FileManager::isReadOnly()
{
    return use() && store().isReadOnly(m_table);
}

template<typename F> StoreResult FileManager::withKeyRepair(F &&call)
{
    StoreResult r = call();
    if (r.status != StoreStatus::Corrupt || store().inTransaction())
        return r;
    MessageArgs args;
    args.file = QString::fromLatin1(def().externalName);
    reportMessage(MessageId::BadKey, args);
    const StoreResult rebuilt = store().rebuildKeys(m_table);
    if (!rebuilt.ok()) {
        args.errorText = rebuilt.text;
        reportMessage(MessageId::KeyRebuildFailed, args);
        return rebuilt;
    }
    return call();
}

bool FileManager::primeRecord()
{
    m_reserved = false;
    m_record.clear();
    m_record.applyDefaults();
    m_asRead = m_record;
    const int key = def().autoNumberKey();
    if (key < 0)
        return true;
    if (!use())
        return false;
    const int field = def().keys[size_t(key)].fields.front();
    for (;;) {
        StoreResult last;
        for (int attempt = 0; attempt < 3; ++attempt) {
            qint64 highest = 0;
            last = withKeyRepair([&] { return store().maxValue(m_table, field, &highest); });
            if (last.ok()) {
                Record r = m_record;
                r.setInteger(field, highest + 1);
                last = withKeyRepair([&] { return store().insert(r); });
                if (last.ok()) {
                    m_record = r;
                    m_asRead = r;
                    m_reserved = true;
                    return true;
                }
            }
            if (last.status != StoreStatus::Duplicate && last.status != StoreStatus::Busy)
                break;
        }
        MessageArgs args;
        args.file = QString::fromLatin1(def().externalName);
        args.errorText = last.text;
        if (!askYes(MessageId::RetryAutoNumber, args))
            return false;
    }
}

void FileManager::abandonReservation()
{
    if (!m_reserved)
        return;
    m_reserved = false;
    Record reserved = m_asRead;
    const StoreResult r = store().remove(reserved);
    if (!r.ok() && r.status != StoreStatus::Changed) {
        MessageArgs args;
        args.file = QString::fromLatin1(def().externalName);
        args.errorText = r.text;
        reportMessage(MessageId::DeleteFailed, args);
    }
}

OpResult FileManager::insert()
{
    if (!use())
        return OpResult{OpResult::Store, StoreStatus::Error, QStringLiteral("table not available")};
    const int bad = FieldLimits::fitRecord(m_record);
    if (bad >= 0)
        return OpResult{OpResult::OutOfRange, StoreStatus::Ok, QString(), bad};
    StoreResult r;
    if (m_reserved) {
        Record now = m_record;
        now.setRowId(m_asRead.rowId());
        r = withKeyRepair([&] { return store().update(m_asRead, now); });
        if (r.ok()) {
            m_record = now;
            m_reserved = false;
        }
    } else {
        r = withKeyRepair([&] { return store().insert(m_record); });
    }
    if (r.ok())
        markAsRead();
    return OpResult::fromStore(r);
}

OpResult FileManager::update()
{
    if (!use())
        return OpResult{OpResult::Store, StoreStatus::Error, QStringLiteral("table not available")};
    const int bad = FieldLimits::fitRecord(m_record);
    if (bad >= 0)
        return OpResult{OpResult::OutOfRange, StoreStatus::Ok, QString(), bad};
    Record now = m_record;
    now.setRowId(m_asRead.rowId());
    const StoreResult r = withKeyRepair([&] { return store().update(m_asRead, now); });
    if (r.ok()) {
        m_record = now;
        if (def().rowIdField >= 0)
            m_record.setRowId(m_record.integer(def().rowIdField));
        markAsRead();
    }
    return OpResult::fromStore(r);
}

OpResult FileManager::remove()
{
    if (!use())
        return OpResult{OpResult::Store, StoreStatus::Error, QStringLiteral("table not available")};
    const StoreResult r = withKeyRepair([&] { return store().remove(m_asRead); });
    return OpResult::fromStore(r);
}

bool FileManager::fetch(int key, const std::vector<QVariant> &values)
{
    if (!use())
        return false;
    PageRequest req = PageRequest::forKey(def(), key);
    for (size_t i = 0; i < values.size() && i < req.order.size(); ++i)
        req.where.push_back({req.order[i], Condition::Eq, values[i]});
    req.limit = 1;
    std::vector<Record> rows;
    const StoreResult r = withKeyRepair([&] { return store().readPage(m_table, req, &rows); });
    if (!r.ok() || rows.empty())
        return false;
    m_record = rows.front();
    markAsRead();
    return true;
}

bool FileManager::fetchRow(qint64 rowId)
{
    if (!use())
        return false;
    Record rec;
    const StoreResult r = withKeyRepair([&] { return store().readByRowId(m_table, rowId, &rec); });
    if (!r.ok())
        return false;
    m_record = rec;
    markAsRead();
    return true;
}

OpResult FileManager::readPage(const PageRequest &request, std::vector<Record> *out)
{
    if (!use()) {
        out->clear();
        return OpResult{OpResult::Store, StoreStatus::Error, QStringLiteral("table not available")};
    }
    return OpResult::fromStore(withKeyRepair([&] { return store().readPage(m_table, request, out); }));
}

OpResult FileManager::count(const std::vector<Condition> &where, qint64 *out)
{
    *out = 0;
    if (!use())
        return OpResult{OpResult::Store, StoreStatus::Error, QStringLiteral("table not available")};
    return OpResult::fromStore(withKeyRepair([&] { return store().count(m_table, where, out); }));
}

bool isUnknownFailure(const OpResult &result)
{
    if (result.kind != OpResult::Store)
        return false;
    switch (result.status) {
    case StoreStatus::Duplicate:
    case StoreStatus::Changed:
    case StoreStatus::Busy:
    case StoreStatus::NotFound:
        return false;
    default:
        return true;
    }
}

MessageId messageFor(const OpResult &result, Operation op, bool fromForm)
{
    if (result.kind == OpResult::OutOfRange)
        return MessageId::ValueOutOfRange;
    switch (result.status) {
    case StoreStatus::Duplicate:
        return MessageId::DuplicateKey;
    case StoreStatus::Changed:
    case StoreStatus::NotFound:
        return fromForm ? MessageId::ChangedByOtherForm : MessageId::ChangedByOther;
    case StoreStatus::Busy:
        return op == Operation::Read ? MessageId::RecordLocked : MessageId::TransactionFailed;
    default:
        break;
    }
    switch (op) {
    case Operation::Insert:
        return MessageId::InsertFailed;
    case Operation::Change:
        return MessageId::UpdateFailed;
    case Operation::Delete:
        return MessageId::DeleteFailed;
    case Operation::Read:
        return MessageId::ReadFailed;
    }
    return MessageId::UpdateFailed;
}

void reportFailure(const OpResult &result, Operation op, const TableDef &def, bool fromForm)
{
    MessageArgs args;
    args.file = QString::fromLatin1(def.externalName);
    args.errorText = result.text;
    if (result.field >= 0)
        args.field = def.qualifiedName(result.field);
    reportMessage(messageFor(result, op, fromForm), args);
}
