#include "tablecheck.h"

#include "datacontext.h"
#include "store.h"

QString TableCheckLine::text() const
{
    static const char *states[] = {"v pořádku", "vytvořena prázdná", "klíče obnoveny", "poškozena", "není databáze",
                                   "nelze číst"};
    QString s = QStringLiteral("%1\t%2\t%3").arg(QLatin1String(tableDef(table).externalName)).arg(records)
                    .arg(QString::fromUtf8(states[state]));
    if (!detail.isEmpty())
        s += QStringLiteral("\t") + QString(detail).replace(QLatin1Char('\n'), QStringLiteral("; "));
    return s;
}

bool TableCheckReport::sound() const
{
    for (const TableCheckLine &l : lines)
        if (l.state != TableCheckLine::Sound && l.state != TableCheckLine::Created)
            return false;
    return true;
}

TableCheckReport checkTables(const QString &directory)
{
    TableCheckReport report;
    for (const TableDef *def : allTables()) {
        TableCheckLine line;
        line.table = def->id;
        DataContext ctx(directory);
        Store &store = ctx.store();
        QString error;
        const OpenState state = store.open(def->id, &error);
        if (state == OpenState::NotADatabase || state == OpenState::Failed) {
            line.state = state == OpenState::NotADatabase ? TableCheckLine::NotADatabase : TableCheckLine::Unreadable;
            line.detail = error;
            report.lines.push_back(line);
            continue;
        }
        if (state == OpenState::Created)
            line.state = TableCheckLine::Created;
        QString problems;
        StoreResult r = store.verify(def->id, &problems);
        if (r.ok() && !problems.isEmpty()) {
            line.detail = problems;
            r = store.rebuildKeys(def->id);
            QString after;
            if (r.ok())
                r = store.verify(def->id, &after);
            line.state = r.ok() && after.isEmpty() ? TableCheckLine::Repaired : TableCheckLine::Damaged;
            if (!after.isEmpty())
                line.detail = after;
        }
        if (!r.ok()) {
            line.state = TableCheckLine::Damaged;
            line.detail = r.text;
        }
        store.count(def->id, {}, &line.records);
        report.lines.push_back(line);
    }
    return report;
}
