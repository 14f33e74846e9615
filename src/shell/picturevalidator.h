#pragma once

#include "picture.h"

#include <QValidator>

// Keeps an entry to what its picture allows while the user types: a keystroke that no further
// typing could turn into a value of the picture is refused (Invalid), an input that can still
// become one is Intermediate, and one that Picture::parseInput() takes is Acceptable.
class PictureValidator : public QValidator
{
    Q_OBJECT

public:
    explicit PictureValidator(const Picture &picture, QObject *parent = nullptr);

    const Picture &picture() const { return m_picture; }

    State validate(QString &input, int &pos) const override;

private:
    Picture m_picture;
};
