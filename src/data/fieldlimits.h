#pragma once

#include "record.h"

#include <QByteArray>
#include <QString>

// The limits of the record layout, in one place: what a field can hold and how a value is made
// to fit before it is written.

namespace FieldLimits {

// Code page 1250, the character set of every text field and of the settings file.
bool isCp1250(QChar c);
QByteArray toCp1250(const QString &text, char replacement = '?');
QString fromCp1250(const QByteArray &bytes);

// Cuts texts to their field (STRING(n) to n characters, CSTRING(n) to n-1) and checks every
// other limit. Returns the index of the first field whose value cannot be stored (a character
// outside code page 1250, a BYTE outside 0..255, a LONG outside 32 bits, a DECIMAL with more
// digits than its bytes hold), or -1 when the record fits. Nothing is changed but the cuts.
int fitRecord(Record &record);

// Whether a single value fits the field (texts: after cutting).
bool fits(const FieldDef &field, const QVariant &value);
qint64 maxMagnitude(const FieldDef &field);  // largest absolute value of a number field

} // namespace FieldLimits
