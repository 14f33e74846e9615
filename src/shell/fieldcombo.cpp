#include "fieldcombo.h"

#include "filemanager.h"
#include "picture.h"

FieldCombo::FieldCombo(QWidget *parent)
    : QComboBox(parent)
{
}

void FieldCombo::addEntry(const QString &text, const QVariant &value)
{
    addItem(text, value);
    // Adding the first entry of an empty list selects it; the list shows the field's value.
    selectShownValue();
}

bool FieldCombo::fillFrom(FileManager &source, int key, int displayField, int valueField,
                          const QString &displayPicture)
{
    clear();
    PageRequest request = PageRequest::forKey(source.def(), key);
    request.limit = 0;
    std::vector<Record> rows;
    const OpResult r = source.readPage(request, &rows);
    if (!r.ok()) {
        reportFailure(r, Operation::Read, source.def(), false);
        selectShownValue();
        return false;
    }
    const Picture picture = displayPicture.isEmpty() ? Picture() : Picture::parse(displayPicture);
    for (const Record &row : rows) {
        const QString text = picture.isValid() ? picture.format(row.value(displayField)) : row.text(displayField);
        addItem(text, row.value(valueField));
    }
    selectShownValue();
    return true;
}

int FieldCombo::findValue(const QVariant &value) const
{
    for (int i = 0; i < count(); ++i) {
        const QVariant entry = itemData(i);
        if (entry.isValid() && BoundControl::sameValue(entry, value))
            return i;
    }
    return -1;
}

void FieldCombo::selectShownValue()
{
    m_shownIndex = m_hasValue ? findValue(m_value) : -1;
    setCurrentIndex(m_shownIndex);
}

void FieldCombo::setFieldValue(const QVariant &value)
{
    m_value = value;
    m_hasValue = true;
    selectShownValue();
}

bool FieldCombo::fieldValue(QVariant *value) const
{
    const int index = currentIndex();
    if (index == m_shownIndex && m_hasValue)
        *value = m_value;
    else if (index >= 0)
        *value = itemData(index);
    else
        *value = QVariant();
    return true;
}

void FieldCombo::setViewOnly(bool viewOnly)
{
    setEnabled(!viewOnly);
}
