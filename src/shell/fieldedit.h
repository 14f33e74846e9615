#pragma once

#include "boundcontrol.h"
#include "picture.h"

#include <QLineEdit>

class PictureValidator;

// An entry with a picture: shows its value formatted by the picture and accepts, while the
// user types, only what the picture allows (numbers, texts, dates, times, patterns). A text
// entry takes at most as many characters as its picture has; the table cuts what its field
// cannot keep when the record is written. A display-only entry shows its value without a frame
// and takes neither the focus nor typing.
class FieldEdit : public QLineEdit, public BoundControl
{
    Q_OBJECT

public:
    // `picture` as the windows write it, "@s30", "@n-7.0", "@D17", "@T8"...
    explicit FieldEdit(const QString &picture, QWidget *parent = nullptr);

    const Picture &picture() const { return m_picture; }

    void setDisplayOnly(bool displayOnly);
    bool isDisplayOnly() const override { return m_displayOnly; }

    QWidget *widget() override { return this; }
    void setFieldValue(const QVariant &value) override;
    bool fieldValue(QVariant *value) const override;
    void setViewOnly(bool viewOnly) override;

    // The value the entry stands for now: what the user typed, or the value last shown while
    // the input is not a value yet.
    QVariant value() const;

private:
    Picture m_picture;
    PictureValidator *m_validator = nullptr;
    QVariant m_value;      // the value last shown
    QString m_shownText;   // its text as shown
    bool m_displayOnly = false;
};
