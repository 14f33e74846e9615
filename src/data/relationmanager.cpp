#include "relationmanager.h"

#include "datacontext.h"
#include "fieldlimits.h"

namespace {
const QString restrictText = QStringLiteral("restricted by a related record");
}

bool isRestrictRefusal(const OpResult &result)
{
    return result.kind == OpResult::Store && result.status == StoreStatus::Error && result.text == restrictText;
}

RelationManager::RelationManager(DataContext &context, TableId table)
    : m_context(context)
    , m_table(table)
{
}

FileManager &RelationManager::file() const
{
    return m_context.file(m_table);
}

std::vector<RelationDef> RelationManager::childRelations() const
{
    std::vector<RelationDef> out;
    for (const RelationDef &r : allRelations())
        if (r.parent == m_table)
            out.push_back(r);
    return out;
}

void RelationManager::open()
{
    file().open();
    for (const RelationDef &r : allRelations()) {
        if (r.parent == m_table)
            m_context.file(r.child).open();
        else if (r.child == m_table)
            m_context.file(r.parent).open();
    }
}

void RelationManager::close()
{
    for (const RelationDef &r : allRelations()) {
        if (r.parent == m_table)
            m_context.file(r.child).close();
        else if (r.child == m_table)
            m_context.file(r.parent).close();
    }
    file().close();
}

OpResult RelationManager::update()
{
    FileManager &fm = file();
    if (!fm.use())
        return OpResult{OpResult::Store, StoreStatus::Error, QStringLiteral("table not available")};
    const int bad = FieldLimits::fitRecord(fm.record());
    if (bad >= 0)
        return OpResult{OpResult::OutOfRange, StoreStatus::Ok, QString(), bad};

    std::vector<RelationDef> cascades;
    for (const RelationDef &r : childRelations())
        if (fm.record().value(r.parentField) != fm.asRead().value(r.parentField))
            cascades.push_back(r);
    if (cascades.empty())
        return fm.update();

    std::vector<TableId> tables{m_table};
    for (const RelationDef &r : cascades) {
        if (!m_context.file(r.child).use())
            return OpResult{OpResult::Store, StoreStatus::Error,
                            QStringLiteral("table %1 not available").arg(QLatin1String(tableDef(r.child).externalName))};
        tables.push_back(r.child);
    }
    Store &store = m_context.store();
    StoreResult r = store.begin(tables, transactionWaitMs);
    if (!r.ok())
        return OpResult::fromStore(r);
    Record now = fm.record();
    now.setRowId(fm.asRead().rowId());
    r = store.update(fm.asRead(), now);
    for (size_t i = 0; r.ok() && i < cascades.size(); ++i)
        r = store.replaceValue(cascades[i].child, cascades[i].childField, fm.asRead().value(cascades[i].parentField),
                               now.value(cascades[i].parentField), nullptr);
    if (r.ok())
        r = store.commit();
    else
        store.rollback();
    if (!r.ok())
        return OpResult::fromStore(r);  // the buffer keeps the user's values; the tables are as before
    fm.record() = now;
    if (fm.def().rowIdField >= 0)
        fm.record().setRowId(now.integer(fm.def().rowIdField));
    fm.markAsRead();
    return {};
}

OpResult RelationManager::remove()
{
    FileManager &fm = file();
    if (!fm.use())
        return OpResult{OpResult::Store, StoreStatus::Error, QStringLiteral("table not available")};
    const std::vector<RelationDef> relations = childRelations();
    if (relations.empty())
        return fm.remove();
    std::vector<TableId> tables{m_table};
    for (const RelationDef &rel : relations) {
        if (!m_context.file(rel.child).use())
            return OpResult{OpResult::Store, StoreStatus::Error,
                            QStringLiteral("table %1 not available").arg(QLatin1String(tableDef(rel.child).externalName))};
        tables.push_back(rel.child);
    }
    Store &store = m_context.store();
    StoreResult r = store.begin(tables, transactionWaitMs);
    if (!r.ok())
        return OpResult::fromStore(r);
    const Record &old = fm.asRead();
    for (const RelationDef &rel : relations) {
        const QVariant value = old.value(rel.parentField);
        if (rel.onDelete == DeleteRule::Restrict) {
            qint64 n = 0;
            r = store.count(rel.child, {{rel.childField, Condition::Eq, value}}, &n);
            if (r.ok() && n > 0) {
                store.rollback();
                return OpResult{OpResult::Store, StoreStatus::Error, restrictText};
            }
        } else {
            r = store.replaceValue(rel.child, rel.childField, value, QVariant(qlonglong(0)), nullptr);
        }
        if (!r.ok())
            break;
    }
    if (r.ok())
        r = store.remove(old);
    if (r.ok())
        r = store.commit();
    else
        store.rollback();
    return OpResult::fromStore(r);
}
