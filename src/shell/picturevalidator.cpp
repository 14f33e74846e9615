#include "picturevalidator.h"

PictureValidator::PictureValidator(const Picture &picture, QObject *parent)
    : QValidator(parent)
    , m_picture(picture)
{
}

QValidator::State PictureValidator::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    QVariant value;
    if (m_picture.parseInput(input, &value))
        return Acceptable;
    return m_picture.acceptsPartial(input) ? Intermediate : Invalid;
}
