#pragma once

#include <QStringView>

struct sqlite3;

// Czech alphabetical order without regard to letter case: "Černý" and "černý" sort together,
// after "Cibulka"; "Ch" sorts after "H"; a letter with an acute, a ring or a caron that is not a
// letter of its own (á, ď, é, ě, í, ň, ó, ť, ú, ů, ý) sorts with its base letter and only breaks
// ties. The step locators of the lists compare the same way.
namespace CzechCollation {

// <0, 0 or >0, like strcmp.
int compare(QStringView a, QStringView b);

// Whether `text` starts at or after `prefix` in this order, comparing only as many
// letters as the prefix has (for the step locator).
bool atOrAfter(QStringView text, QStringView prefix);

// Registers the collation "CZ" on a connection. A plain connection without it can still read
// the tables; only the order of the name keys needs it.
bool install(sqlite3 *db);

constexpr const char *name = "CZ";

} // namespace CzechCollation
