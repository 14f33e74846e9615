#include "sqlitestore.h"

#include "czechcollation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <sqlite3.h>

namespace {

QString quoted(const char *name)
{
    return QLatin1Char('"') + QLatin1String(name) + QLatin1Char('"');
}

bool hasDecimals(const FieldDef &f)
{
    return f.type == FieldType::Decimal && f.decimals > 0;
}

qint64 pow10(int n)
{
    qint64 v = 1;
    while (n-- > 0)
        v *= 10;
    return v;
}

// DECIMAL fields with decimals are kept as exact decimal text ("12.50"), never as binary floats.
QString decimalText(qint64 units, int decimals)
{
    const qint64 scale = pow10(decimals);
    const bool negative = units < 0;
    const qint64 a = negative ? -units : units;
    QString s = QString::number(a / scale);
    if (decimals > 0)
        s += QLatin1Char('.') + QStringLiteral("%1").arg(a % scale, decimals, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + s : s;
}

qint64 decimalUnits(const QString &text, int decimals)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool negative = t.startsWith(QLatin1Char('-'));
    if (negative || t.startsWith(QLatin1Char('+')))
        t = t.mid(1);
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    QString whole = dot < 0 ? t : t.left(dot);
    QString frac = dot < 0 ? QString() : t.mid(dot + 1);
    frac = frac.left(decimals).leftJustified(decimals, QLatin1Char('0'));
    const qint64 v = whole.toLongLong() * pow10(decimals) + frac.toLongLong();
    return negative ? -v : v;
}

QString optCondition(const TableDef &def, const std::vector<int> &fields, const QString &alias)
{
    QStringList parts;
    for (int f : fields) {
        const FieldDef &fd = def.fields[size_t(f)];
        const QString col = alias + quoted(fd.name);
        parts << (fd.isText() ? col + QStringLiteral(" = ''") : col + QStringLiteral(" = 0"));
    }
    return QStringLiteral("NOT (") + parts.join(QStringLiteral(" AND ")) + QLatin1Char(')');
}

QString orderTerm(const TableDef &def, int field, const QString &alias)
{
    const FieldDef &fd = def.fields[size_t(field)];
    QString t = alias + quoted(fd.name);
    if (fd.isText())
        t += QStringLiteral(" COLLATE ") + QLatin1String(SqliteStore::collationFor(def, field));
    return t;
}

QString indexName(const TableDef &def, const KeyDef &key)
{
    QString n = QString::fromLatin1(key.label);
    n.replace(QLatin1Char(':'), QLatin1Char('_'));
    return QString::fromLatin1(def.label) + QLatin1Char('_') + n.section(QLatin1Char('_'), 1);
}

QString indexSql(const TableDef &def, const KeyDef &key)
{
    QStringList cols;
    for (int f : key.fields)
        cols << orderTerm(def, f, QString());
    QString sql = QStringLiteral("CREATE %1INDEX IF NOT EXISTS \"%2\" ON %3 (%4)")
                      .arg(key.unique ? QStringLiteral("UNIQUE ") : QString(), indexName(def, key),
                           quoted(def.label), cols.join(QStringLiteral(", ")));
    if (key.opt)
        sql += QStringLiteral(" WHERE ") + optCondition(def, key.fields, QString());
    return sql;
}

int exec(sqlite3 *db, const QString &sql)
{
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

} // namespace

PageRequest PageRequest::forKey(const KeyDef &key)
{
    PageRequest r;
    r.order = key.fields;
    r.optKey = key.opt;
    return r;
}

PageRequest PageRequest::forKey(const TableDef &def, int key)
{
    return forKey(def.keys[size_t(key)]);
}

SqliteStore::SqliteStore(QString directory)
    : m_dir(std::move(directory))
{
}

SqliteStore::~SqliteStore()
{
    if (m_txHost)
        rollback();
    for (int i = 0; i < TableCount; ++i)
        close(TableId(i));
}

QString SqliteStore::filePath(TableId table) const
{
    return QDir(m_dir).filePath(tableDef(table).fileName());
}

const char *SqliteStore::collationFor(const TableDef &def, int field)
{
    (void)field;
    // The log is written by the communication service and the cards are read by it: their keys
    // use SQLite's own case-insensitive order (card codes are plain ASCII), so that a plain
    // connection can maintain them. The name keys of the other tables order in Czech.
    if (def.id == TableId::LOG_POKOJE || def.id == TableId::CARDS)
        return "NOCASE";
    return CzechCollation::name;
}

QStringList SqliteStore::schemaSql(const TableDef &def)
{
    QStringList cols;
    for (int i = 0; i < int(def.fields.size()); ++i) {
        const FieldDef &f = def.fields[size_t(i)];
        if (i == def.rowIdField) {
            // The row identity itself: a row inserted without it gets the next number.
            cols << quoted(f.name) + QStringLiteral(" INTEGER PRIMARY KEY");
        } else if (f.isText() || hasDecimals(f)) {
            cols << quoted(f.name) + (hasDecimals(f) ? QStringLiteral(" TEXT NOT NULL DEFAULT '0.") +
                                                            QString(f.decimals, QLatin1Char('0')) + QLatin1Char('\'')
                                                      : QStringLiteral(" TEXT NOT NULL DEFAULT ''"));
        } else {
            cols << quoted(f.name) + QStringLiteral(" INTEGER NOT NULL DEFAULT 0");
        }
    }
    QStringList sql;
    sql << QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)").arg(quoted(def.label), cols.join(QStringLiteral(", ")));
    for (const KeyDef &k : def.keys)
        if (!(k.primary && k.fields.size() == 1 && k.fields[0] == def.rowIdField))
            sql << indexSql(def, k);
    for (const KeyDef &k : def.extraKeys)
        sql << indexSql(def, k);
    return sql;
}

StoreResult SqliteStore::createSchema(sqlite3 *db, const TableDef &def)
{
    for (const QString &s : schemaSql(def)) {
        const int rc = exec(db, s);
        if (rc != SQLITE_OK)
            return failure(db, rc);
    }
    return {};
}

OpenState SqliteStore::open(TableId table, QString *errorText)
{
    Table &t = m_tables[size_t(table)];
    if (t.db)
        return t.readOnly ? OpenState::ReadOnly : OpenState::Opened;
    const TableDef &def = tableDef(table);
    const QString path = filePath(table);
    const QFileInfo info(path);
    const bool existed = info.exists();
    // A file without any write permission is opened for reading only, whoever runs the program.
    const bool noWriteBits =
        existed && !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    bool readOnly = noWriteBits || (existed && !info.isWritable());
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (!existed)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK && !existed) {
        if (errorText)
            *errorText = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        return OpenState::Failed;
    }
    if (rc != SQLITE_OK && !readOnly) {
        // Refused for writing: try once more for reading only.
        sqlite3_close(db);
        db = nullptr;
        readOnly = true;
        rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX,
                             nullptr);
    }
    if (rc != SQLITE_OK) {
        if (errorText)
            *errorText = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        sqlite3_close(db);
        return OpenState::Failed;
    }
    sqlite3_busy_timeout(db, lockWaitMs);
    sqlite3_extended_result_codes(db, 1);
    CzechCollation::install(db);
    // Reading the schema first: a file that is not a database fails here, before anything is written.
    sqlite3_stmt *st = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=?", -1, &st, nullptr);
    int found = 0;
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(st, 1, def.label, -1, SQLITE_STATIC);
        rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            found = sqlite3_column_int(st, 0);
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_OK) {
        if (errorText)
            *errorText = QString::fromUtf8(sqlite3_errmsg(db));
        const int primary = rc & 0xff;
        sqlite3_close(db);
        return (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) ? OpenState::NotADatabase : OpenState::Failed;
    }
    if (!readOnly) {
        exec(db, QStringLiteral("PRAGMA journal_mode=DELETE"));
        exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
        const StoreResult r = createSchema(db, def);
        if (!r.ok() && (!found || r.status != StoreStatus::Busy)) {
            if (errorText)
                *errorText = r.text;
            sqlite3_close(db);
            if (!existed)
                QFile::remove(path);
            return OpenState::Failed;
        }
    } else if (!found) {
        if (errorText)
            *errorText = QStringLiteral("no table %1").arg(QLatin1String(def.label));
        sqlite3_close(db);
        return OpenState::NotADatabase;
    }
    t.db = db;
    t.readOnly = readOnly;
    if (readOnly)
        return OpenState::ReadOnly;
    return existed ? OpenState::Opened : OpenState::Created;
}

void SqliteStore::finalizeCached(sqlite3 *db)
{
    for (auto it = m_cache.begin(); it != m_cache.end();) {
        if (it->first.first == db) {
            sqlite3_finalize(it->second);
            it = m_cache.erase(it);
        } else {
            ++it;
        }
    }
}

void SqliteStore::close(TableId table)
{
    Table &t = m_tables[size_t(table)];
    if (!t.db)
        return;
    if (m_txHost == t.db)
        rollback();
    finalizeCached(t.db);
    sqlite3_close(t.db);
    t = Table{};
}

bool SqliteStore::isOpen(TableId table) const
{
    return m_tables[size_t(table)].db != nullptr;
}

bool SqliteStore::isReadOnly(TableId table) const
{
    return m_tables[size_t(table)].readOnly;
}

SqliteStore::Target SqliteStore::target(TableId table) const
{
    if (m_txHost) {
        auto it = m_txAliases.find(table);
        if (it != m_txAliases.end())
            return {m_txHost, it->second};
    }
    return {m_tables[size_t(table)].db, QStringLiteral("main")};
}

StoreResult SqliteStore::failure(sqlite3 *db, int rc) const
{
    StoreResult r;
    r.text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        r.status = StoreStatus::Busy;
        break;
    case SQLITE_CONSTRAINT:
        r.status = StoreStatus::Duplicate;
        break;
    case SQLITE_FULL:
        r.status = StoreStatus::Full;
        break;
    case SQLITE_IOERR:
        r.status = StoreStatus::IoError;
        break;
    case SQLITE_READONLY:
        r.status = StoreStatus::ReadOnly;
        break;
    case SQLITE_CORRUPT:
        r.status = StoreStatus::Corrupt;
        break;
    case SQLITE_NOTADB:
        r.status = StoreStatus::NotADatabase;
        break;
    default:
        r.status = StoreStatus::Error;
    }
    return r;
}

sqlite3_stmt *SqliteStore::prepare(sqlite3 *db, const QString &sql, StoreResult *result)
{
    if (!db) {
        *result = {StoreStatus::Error, QStringLiteral("table not open")};
        return nullptr;
    }
    const auto key = std::make_pair(db, sql);
    auto it = m_cache.find(key);
    if (it != m_cache.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt *st = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st, nullptr);
    if (rc != SQLITE_OK) {
        *result = failure(db, rc);
        result->text += QStringLiteral(" [") + sql + QLatin1Char(']');
        return nullptr;
    }
    m_cache.emplace(key, st);
    return st;
}

void SqliteStore::bindValue(sqlite3_stmt *st, int index, const FieldDef &field, const QVariant &value) const
{
    if (hasDecimals(field)) {
        const QByteArray t = decimalText(value.toLongLong(), field.decimals).toUtf8();
        sqlite3_bind_text(st, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    } else if (field.isText()) {
        const QByteArray t = value.toString().toUtf8();
        sqlite3_bind_text(st, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_int64(st, index, value.toLongLong());
    }
}

void SqliteStore::readRow(sqlite3_stmt *st, const TableDef &def, Record *out) const
{
    *out = Record(def.id);
    out->setRowId(sqlite3_column_int64(st, 0));
    for (int i = 0; i < int(def.fields.size()); ++i) {
        const FieldDef &f = def.fields[size_t(i)];
        const int col = i + 1;
        const int type = sqlite3_column_type(st, col);
        if (f.isText()) {
            const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, col));
            out->setText(i, p ? QString::fromUtf8(p, sqlite3_column_bytes(st, col)) : QString());
        } else if (hasDecimals(f)) {
            if (type == SQLITE_FLOAT)
                out->setInteger(i, qint64(std::llround(sqlite3_column_double(st, col) * double(pow10(f.decimals)))));
            else if (type == SQLITE_INTEGER)
                out->setInteger(i, sqlite3_column_int64(st, col) * pow10(f.decimals));
            else {
                const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, col));
                out->setInteger(i, p ? decimalUnits(QString::fromUtf8(p), f.decimals) : 0);
            }
        } else if (type == SQLITE_FLOAT) {
            out->setInteger(i, qint64(std::llround(sqlite3_column_double(st, col))));
        } else {
            out->setInteger(i, sqlite3_column_int64(st, col));
        }
    }
}

QString SqliteStore::whereSql(const TableDef &def, const std::vector<Condition> &where, const QString &alias) const
{
    static const char *ops[] = {" = ", " <> ", " < ", " <= ", " > ", " >= "};
    QStringList parts;
    for (const Condition &c : where) {
        if (c.op == Condition::In) {
            const qsizetype n = c.value.toList().size();
            parts << (n == 0 ? QStringLiteral("0")
                             : orderTerm(def, c.field, alias) + QStringLiteral(" IN (") +
                                   QStringList(n, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')'));
            continue;
        }
        parts << orderTerm(def, c.field, alias) + QLatin1String(ops[c.op]) + QLatin1Char('?');
    }
    return parts.join(QStringLiteral(" AND "));
}

void SqliteStore::bindWhere(sqlite3_stmt *st, int *index, const TableDef &def, const std::vector<Condition> &where) const
{
    for (const Condition &c : where) {
        if (c.op == Condition::In) {
            for (const QVariant &v : c.value.toList())
                bindValue(st, (*index)++, def.fields[size_t(c.field)], v);
            continue;
        }
        bindValue(st, (*index)++, def.fields[size_t(c.field)], c.value);
    }
}

namespace {
QString selectList(const TableDef &def)
{
    QStringList cols{QStringLiteral("rowid")};
    for (const FieldDef &f : def.fields)
        cols << quoted(f.name);
    return cols.join(QStringLiteral(", "));
}
} // namespace

StoreResult SqliteStore::readPage(TableId table, const PageRequest &req, std::vector<Record> *out)
{
    out->clear();
    const TableDef &def = tableDef(table);
    const Target tg = target(table);
    QStringList conds;
    if (req.optKey && !req.order.empty())
        conds << optCondition(def, req.order, QString());
    if (!req.where.empty())
        conds << whereSql(def, req.where, QString());
    if (!req.from.empty() || req.hasRowId) {
        QStringList lhs, rhs;
        for (size_t i = 0; i < req.from.size() && i < req.order.size(); ++i) {
            lhs << orderTerm(def, req.order[i], QString());
            rhs << QStringLiteral("?");
        }
        if (req.hasRowId && req.from.size() >= req.order.size()) {
            lhs << QStringLiteral("rowid");
            rhs << QStringLiteral("?");
        }
        const QString op = req.backwards ? (req.inclusive ? QStringLiteral(" <= ") : QStringLiteral(" < "))
                                         : (req.inclusive ? QStringLiteral(" >= ") : QStringLiteral(" > "));
        if (lhs.size() == 1)
            conds << lhs.first() + op + rhs.first();
        else if (!lhs.isEmpty())
            conds << QLatin1Char('(') + lhs.join(QStringLiteral(", ")) + QLatin1Char(')') + op + QLatin1Char('(') +
                         rhs.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    QStringList order;
    const QString dir = req.backwards ? QStringLiteral(" DESC") : QString();
    for (int f : req.order)
        order << orderTerm(def, f, QString()) + dir;
    order << QStringLiteral("rowid") + dir;
    QString sql = QStringLiteral("SELECT %1 FROM %2.%3").arg(selectList(def), tg.schema, quoted(def.label));
    if (!conds.isEmpty())
        sql += QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    if (req.limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(req.limit);
    StoreResult result;
    sqlite3_stmt *st = prepare(tg.db, sql, &result);
    if (!st)
        return result;
    int idx = 1;
    bindWhere(st, &idx, def, req.where);
    for (size_t i = 0; i < req.from.size() && i < req.order.size(); ++i)
        bindValue(st, idx++, def.fields[size_t(req.order[i])], req.from[i]);
    if (req.hasRowId && req.from.size() >= req.order.size())
        sqlite3_bind_int64(st, idx++, req.fromRowId);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        Record r;
        readRow(st, def, &r);
        out->push_back(std::move(r));
    }
    sqlite3_reset(st);
    if (rc != SQLITE_DONE)
        return failure(tg.db, rc);
    return {};
}

StoreResult SqliteStore::readByRowId(TableId table, qint64 rowId, Record *out)
{
    const TableDef &def = tableDef(table);
    const Target tg = target(table);
    StoreResult result;
    sqlite3_stmt *st = prepare(
        tg.db, QStringLiteral("SELECT %1 FROM %2.%3 WHERE rowid = ?").arg(selectList(def), tg.schema, quoted(def.label)),
        &result);
    if (!st)
        return result;
    sqlite3_bind_int64(st, 1, rowId);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        readRow(st, def, out);
        sqlite3_reset(st);
        return {};
    }
    sqlite3_reset(st);
    if (rc == SQLITE_DONE)
        return {StoreStatus::NotFound, QStringLiteral("record not found")};
    return failure(tg.db, rc);
}

StoreResult SqliteStore::count(TableId table, const std::vector<Condition> &where, qint64 *out)
{
    const TableDef &def = tableDef(table);
    const Target tg = target(table);
    QString sql = QStringLiteral("SELECT count(*) FROM %1.%2").arg(tg.schema, quoted(def.label));
    if (!where.empty())
        sql += QStringLiteral(" WHERE ") + whereSql(def, where, QString());
    StoreResult result;
    sqlite3_stmt *st = prepare(tg.db, sql, &result);
    if (!st)
        return result;
    int idx = 1;
    bindWhere(st, &idx, def, where);
    const int rc = sqlite3_step(st);
    *out = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
    sqlite3_reset(st);
    return rc == SQLITE_ROW ? StoreResult{} : failure(tg.db, rc);
}

StoreResult SqliteStore::maxValue(TableId table, int field, qint64 *out)
{
    const TableDef &def = tableDef(table);
    const Target tg = target(table);
    StoreResult result;
    sqlite3_stmt *st = prepare(tg.db,
                               QStringLiteral("SELECT max(%1) FROM %2.%3")
                                   .arg(quoted(def.fields[size_t(field)].name), tg.schema, quoted(def.label)),
                               &result);
    if (!st)
        return result;
    const int rc = sqlite3_step(st);
    *out = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
    sqlite3_reset(st);
    return rc == SQLITE_ROW ? StoreResult{} : failure(tg.db, rc);
}

StoreResult SqliteStore::stepDone(sqlite3 *db, sqlite3_stmt *st)
{
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE)
        return failure(db, rc);
    return {};
}

StoreResult SqliteStore::insert(Record &record)
{
    const TableDef &def = record.def();
    const Target tg = target(def.id);
    if (isReadOnly(def.id))
        return {StoreStatus::ReadOnly, QStringLiteral("attempt to write a readonly database")};
    QStringList cols, marks;
    for (const FieldDef &f : def.fields) {
        cols << quoted(f.name);
        marks << QStringLiteral("?");
    }
    StoreResult result;
    sqlite3_stmt *st = prepare(tg.db,
                               QStringLiteral("INSERT INTO %1.%2 (%3) VALUES (%4)")
                                   .arg(tg.schema, quoted(def.label), cols.join(QStringLiteral(", ")),
                                        marks.join(QStringLiteral(", "))),
                               &result);
    if (!st)
        return result;
    for (int i = 0; i < int(def.fields.size()); ++i) {
        if (i == def.rowIdField && (def.storeAssignsId || record.integer(i) == 0))
            sqlite3_bind_null(st, i + 1);
        else
            bindValue(st, i + 1, def.fields[size_t(i)], record.value(i));
    }
    result = stepDone(tg.db, st);
    if (!result.ok())
        return result;
    record.setRowId(sqlite3_last_insert_rowid(tg.db));
    if (def.rowIdField >= 0)
        record.setInteger(def.rowIdField, record.rowId());
    return {};
}

namespace {
// Every field as it was read must still be there: otherwise another station changed the row.
QString sameAsReadSql(const TableDef &def)
{
    QStringList parts{QStringLiteral("rowid = ?")};
    for (const FieldDef &f : def.fields) {
        if (f.type == FieldType::String)
            parts << QStringLiteral("rtrim(%1) = ?").arg(quoted(f.name));
        else
            parts << quoted(f.name) + QStringLiteral(" = ?");
    }
    return parts.join(QStringLiteral(" AND "));
}
} // namespace

StoreResult SqliteStore::update(const Record &asRead, const Record &now)
{
    const TableDef &def = now.def();
    const Target tg = target(def.id);
    if (isReadOnly(def.id))
        return {StoreStatus::ReadOnly, QStringLiteral("attempt to write a readonly database")};
    QStringList sets;
    for (const FieldDef &f : def.fields)
        sets << quoted(f.name) + QStringLiteral(" = ?");
    StoreResult result;
    sqlite3_stmt *st = prepare(tg.db,
                               QStringLiteral("UPDATE %1.%2 SET %3 WHERE %4")
                                   .arg(tg.schema, quoted(def.label), sets.join(QStringLiteral(", ")), sameAsReadSql(def)),
                               &result);
    if (!st)
        return result;
    int idx = 1;
    for (int i = 0; i < int(def.fields.size()); ++i)
        bindValue(st, idx++, def.fields[size_t(i)], now.value(i));
    sqlite3_bind_int64(st, idx++, asRead.rowId());
    for (int i = 0; i < int(def.fields.size()); ++i)
        bindValue(st, idx++, def.fields[size_t(i)], asRead.value(i));
    result = stepDone(tg.db, st);
    if (!result.ok())
        return result;
    if (sqlite3_changes(tg.db) == 0)
        return {StoreStatus::Changed, QStringLiteral("record changed by another station")};
    return {};
}

StoreResult SqliteStore::remove(const Record &asRead)
{
    const TableDef &def = asRead.def();
    const Target tg = target(def.id);
    if (isReadOnly(def.id))
        return {StoreStatus::ReadOnly, QStringLiteral("attempt to write a readonly database")};
    StoreResult result;
    sqlite3_stmt *st = prepare(
        tg.db, QStringLiteral("DELETE FROM %1.%2 WHERE %3").arg(tg.schema, quoted(def.label), sameAsReadSql(def)), &result);
    if (!st)
        return result;
    int idx = 1;
    sqlite3_bind_int64(st, idx++, asRead.rowId());
    for (int i = 0; i < int(def.fields.size()); ++i)
        bindValue(st, idx++, def.fields[size_t(i)], asRead.value(i));
    result = stepDone(tg.db, st);
    if (!result.ok())
        return result;
    if (sqlite3_changes(tg.db) == 0)
        return {StoreStatus::Changed, QStringLiteral("record changed or deleted by another station")};
    return {};
}

StoreResult SqliteStore::replaceValue(TableId table, int field, const QVariant &oldValue, const QVariant &newValue,
                                      qint64 *changed)
{
    const TableDef &def = tableDef(table);
    const Target tg = target(table);
    if (isReadOnly(table))
        return {StoreStatus::ReadOnly, QStringLiteral("attempt to write a readonly database")};
    const FieldDef &f = def.fields[size_t(field)];
    StoreResult result;
    sqlite3_stmt *st = prepare(tg.db,
                               QStringLiteral("UPDATE %1.%2 SET %3 = ? WHERE %3 = ?")
                                   .arg(tg.schema, quoted(def.label), quoted(f.name)),
                               &result);
    if (!st)
        return result;
    bindValue(st, 1, f, newValue);
    bindValue(st, 2, f, oldValue);
    result = stepDone(tg.db, st);
    if (changed)
        *changed = result.ok() ? sqlite3_changes(tg.db) : 0;
    return result;
}

StoreResult SqliteStore::upsertField(TableId table, int keyField, const QVariant &keyValue, int setField,
                                     const QVariant &value)
{
    const TableDef &def = tableDef(table);
    const Target tg = target(table);
    if (isReadOnly(table))
        return {StoreStatus::ReadOnly, QStringLiteral("attempt to write a readonly database")};
    const QString k = quoted(def.fields[size_t(keyField)].name);
    const QString s = quoted(def.fields[size_t(setField)].name);
    StoreResult result;
    sqlite3_stmt *st = prepare(tg.db,
                               QStringLiteral("INSERT INTO %1.%2 (%3, %4) VALUES (?, ?) ON CONFLICT (%3) DO UPDATE SET %4 = excluded.%4")
                                   .arg(tg.schema, quoted(def.label), k, s),
                               &result);
    if (!st)
        return result;
    bindValue(st, 1, def.fields[size_t(keyField)], keyValue);
    bindValue(st, 2, def.fields[size_t(setField)], value);
    return stepDone(tg.db, st);
}

StoreResult SqliteStore::begin(const std::vector<TableId> &tables, int waitMs)
{
    if (m_txHost || tables.empty())
        return {StoreStatus::Error, QStringLiteral("transaction already running")};
    for (TableId t : tables) {
        if (!m_tables[size_t(t)].db)
            return {StoreStatus::Error, QStringLiteral("table %1 not open").arg(QLatin1String(tableDef(t).label))};
        if (m_tables[size_t(t)].readOnly)
            return {StoreStatus::ReadOnly, QStringLiteral("attempt to write a readonly database")};
    }
    sqlite3 *host = m_tables[size_t(tables.front())].db;
    m_txAliases.clear();
    m_txAliases[tables.front()] = QStringLiteral("main");
    int n = 0;
    for (size_t i = 1; i < tables.size(); ++i) {
        if (m_txAliases.count(tables[i]))
            continue;
        const QString alias = QStringLiteral("t%1").arg(++n);
        StoreResult result;
        sqlite3_stmt *st = prepare(host, QStringLiteral("ATTACH DATABASE ? AS ") + alias, &result);
        if (!st) {
            m_txAliases.clear();
            return result;
        }
        const QByteArray path = filePath(tables[i]).toUtf8();
        sqlite3_bind_text(st, 1, path.constData(), int(path.size()), SQLITE_TRANSIENT);
        result = stepDone(host, st);
        if (!result.ok()) {
            m_txHost = host;
            rollback();
            return result;
        }
        m_txAliases[tables[i]] = alias;
    }
    m_txHost = host;
    sqlite3_busy_timeout(host, waitMs);
    const int rc = exec(host, QStringLiteral("BEGIN IMMEDIATE"));
    sqlite3_busy_timeout(host, lockWaitMs);
    if (rc != SQLITE_OK) {
        const StoreResult r = failure(host, rc);
        rollback();
        return r;
    }
    return {};
}

StoreResult SqliteStore::commit()
{
    if (!m_txHost)
        return {StoreStatus::Error, QStringLiteral("no transaction")};
    const int rc = exec(m_txHost, QStringLiteral("COMMIT"));
    if (rc != SQLITE_OK) {
        const StoreResult r = failure(m_txHost, rc);
        rollback();
        return r;
    }
    sqlite3 *host = m_txHost;
    m_txHost = nullptr;
    finalizeCached(host);
    for (const auto &[table, alias] : m_txAliases)
        if (alias != QStringLiteral("main"))
            exec(host, QStringLiteral("DETACH DATABASE ") + alias);
    m_txAliases.clear();
    return {};
}

void SqliteStore::rollback()
{
    if (!m_txHost)
        return;
    sqlite3 *host = m_txHost;
    m_txHost = nullptr;
    if (!sqlite3_get_autocommit(host))
        exec(host, QStringLiteral("ROLLBACK"));
    finalizeCached(host);
    for (const auto &[table, alias] : m_txAliases)
        if (alias != QStringLiteral("main"))
            exec(host, QStringLiteral("DETACH DATABASE ") + alias);
    m_txAliases.clear();
}

StoreResult SqliteStore::rebuildKeys(TableId table)
{
    sqlite3 *db = m_tables[size_t(table)].db;
    if (!db)
        return {StoreStatus::Error, QStringLiteral("table not open")};
    finalizeCached(db);
    const TableDef &def = tableDef(table);
    StoreResult r = createSchema(db, def);
    if (!r.ok())
        return r;
    const int rc = exec(db, QStringLiteral("REINDEX ") + quoted(def.label));
    return rc == SQLITE_OK ? StoreResult{} : failure(db, rc);
}

StoreResult SqliteStore::verify(TableId table, QString *problems)
{
    sqlite3 *db = m_tables[size_t(table)].db;
    problems->clear();
    if (!db)
        return {StoreStatus::Error, QStringLiteral("table not open")};
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
    if (rc != SQLITE_OK)
        return failure(db, rc);
    QStringList lines;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const QString line = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        if (line != QStringLiteral("ok"))
            lines << line;
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        return failure(db, rc);
    // Keys the table should have but does not (dropped or never made) count as damaged too.
    const TableDef &def = tableDef(table);
    for (const KeyDef &k : def.keys) {
        if (k.primary && k.fields.size() == 1 && k.fields[0] == def.rowIdField)
            continue;
        sqlite3_stmt *q = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master WHERE type='index' AND name=?", -1, &q, nullptr);
        const QByteArray n = indexName(def, k).toUtf8();
        sqlite3_bind_text(q, 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(q) == SQLITE_ROW && sqlite3_column_int(q, 0) == 0)
            lines << QStringLiteral("missing key %1").arg(QLatin1String(k.label));
        sqlite3_finalize(q);
    }
    *problems = lines.join(QLatin1Char('\n'));
    return {};
}
