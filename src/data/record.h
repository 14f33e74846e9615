#pragma once

#include "schema.h"

#include <QString>
#include <QVariant>
#include <vector>

// A record buffer of one table: every field in declaration order. Numbers (BYTE, LONG,
// DECIMAL) are held as qint64 in units of their last decimal (DAT:CENA in hundredths), texts
// as QString without the trailing blanks of a STRING field.
class Record
{
public:
    Record() = default;
    explicit Record(TableId table);

    const TableDef &def() const { return *m_def; }
    TableId table() const { return m_def->id; }
    int fieldCount() const { return int(m_values.size()); }

    qint64 integer(int field) const;
    QString text(int field) const;
    const QVariant &value(int field) const { return m_values[size_t(field)]; }

    void setInteger(int field, qint64 v);
    void setText(int field, const QString &v);
    void setValue(int field, const QVariant &v);  // converts to the field's kind

    // Clears every field to zero or blank; applyDefaults() then gives a new record the
    // table's defaults (priming does both).
    void clear();
    void applyDefaults();
    bool isBlank(int field) const;

    // The store's identity of the row this buffer was read from (0 when not read).
    qint64 rowId() const { return m_rowId; }
    void setRowId(qint64 id) { m_rowId = id; }

    bool sameValues(const Record &other) const { return m_values == other.m_values; }
    bool operator==(const Record &other) const { return m_def == other.m_def && m_values == other.m_values; }

private:
    const TableDef *m_def = nullptr;
    std::vector<QVariant> m_values;
    qint64 m_rowId = 0;
};
