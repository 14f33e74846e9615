#pragma once

#include "schema.h"

#include <QString>
#include <vector>

// What `halvane check` does: opens every table as the program does (creating missing files),
// verifies each file and its keys, rebuilds damaged keys, and says how each table stands.
struct TableCheckLine {
    TableId table;
    qint64 records = 0;
    enum State { Sound, Created, Repaired, Damaged, NotADatabase, Unreadable } state = Sound;
    QString detail;

    QString text() const;  // "databze_karet  12  v pořádku"
};

struct TableCheckReport {
    std::vector<TableCheckLine> lines;
    bool sound() const;    // nothing had to be repaired and nothing is left damaged
};

TableCheckReport checkTables(const QString &directory);
