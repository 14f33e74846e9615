#include "record.h"

Record::Record(TableId table)
    : m_def(&tableDef(table))
{
    m_values.resize(m_def->fields.size());
    clear();
}

qint64 Record::integer(int field) const
{
    return m_values[size_t(field)].toLongLong();
}

QString Record::text(int field) const
{
    return m_values[size_t(field)].toString();
}

void Record::setInteger(int field, qint64 v)
{
    if (m_def->fields[size_t(field)].isText())
        m_values[size_t(field)] = QString::number(v);
    else
        m_values[size_t(field)] = QVariant(qlonglong(v));
}

void Record::setText(int field, const QString &v)
{
    const FieldDef &f = m_def->fields[size_t(field)];
    if (!f.isText()) {
        m_values[size_t(field)] = QVariant(qlonglong(v.trimmed().toLongLong()));
        return;
    }
    // A STRING keeps no trailing blanks: they are padding, not content.
    QString t = v;
    if (f.type == FieldType::String) {
        int n = int(t.size());
        while (n > 0 && t.at(n - 1) == QLatin1Char(' '))
            --n;
        t.truncate(n);
    }
    m_values[size_t(field)] = t;
}

void Record::setValue(int field, const QVariant &v)
{
    if (m_def->fields[size_t(field)].isText())
        setText(field, v.toString());
    else
        setInteger(field, v.toLongLong());
}

void Record::clear()
{
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (m_def->fields[i].isText())
            m_values[i] = QString();
        else
            m_values[i] = QVariant(qlonglong(0));
    }
    m_rowId = 0;
}

void Record::applyDefaults()
{
    for (const FieldDefault &d : m_def->defaults)
        setInteger(d.field, d.value);
}

bool Record::isBlank(int field) const
{
    if (m_def->fields[size_t(field)].isText())
        return text(field).isEmpty();
    return integer(field) == 0;
}
