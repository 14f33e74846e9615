#include "fieldedit.h"

#include "picturevalidator.h"

FieldEdit::FieldEdit(const QString &picture, QWidget *parent)
    : QLineEdit(parent)
    , m_picture(Picture::parse(picture))
{
    m_validator = new PictureValidator(m_picture, this);
    setValidator(m_validator);
    if (m_picture.kind() == Picture::Kind::Text && m_picture.width() > 0)
        setMaxLength(m_picture.width());
    m_value = m_picture.kind() == Picture::Kind::Text ? QVariant(QString()) : QVariant(qlonglong(0));
    m_shownText = text();
}

void FieldEdit::setDisplayOnly(bool displayOnly)
{
    m_displayOnly = displayOnly;
    setReadOnly(displayOnly);
    setFrame(!displayOnly);
    setFocusPolicy(displayOnly ? Qt::NoFocus : Qt::StrongFocus);
}

void FieldEdit::setFieldValue(const QVariant &value)
{
    m_value = value;
    m_shownText = m_picture.format(value);
    setText(m_shownText);
    setCursorPosition(0);
}

bool FieldEdit::fieldValue(QVariant *value) const
{
    if (text() == m_shownText) {
        *value = m_value;
        return true;
    }
    return m_picture.parseInput(text(), value);
}

QVariant FieldEdit::value() const
{
    QVariant v;
    return fieldValue(&v) ? v : m_value;
}

void FieldEdit::setViewOnly(bool viewOnly)
{
    if (!m_displayOnly)
        setReadOnly(viewOnly);
}
