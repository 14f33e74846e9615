#pragma once

#include "picture.h"
#include "record.h"

#include <QColor>
#include <QIcon>
#include <QString>
#include <QVariant>
#include <functional>

// One column of a list: its header, its width and alignment in dialog units of the list's font,
// the picture its values are shown with, and where the value comes from (a field of the row's
// record, or a function of the record for computed columns). Colours and an icon may be given
// per cell by functions of the row's record.
struct BrowseColumn {
    // The colours of one cell; an invalid colour leaves the list's own.
    struct Colours {
        QColor foreground;
        QColor background;
        QColor selectedForeground;
        QColor selectedBackground;
    };

    QString header;
    int widthDu = 40;
    Qt::Alignment alignment = Qt::AlignLeft;        // of the values
    Qt::Alignment headerAlignment = Qt::AlignLeft;
    int indentDu = 2;                               // from the aligned edge (none when centred)
    Picture picture;
    bool resizable = true;
    // The field shown (and the field a sort header orders by); -1 for a computed column.
    int field = -1;
    // The value shown; default: the field's value.
    std::function<QVariant(const Record &)> value;
    std::function<Colours(const Record &)> colours;
    std::function<QIcon(const Record &)> icon;

    // A column showing a field: BrowseColumn::ofField(CAR::ID, "ID", 64, Qt::AlignRight,
    // Qt::AlignHCenter, "n-14").
    static BrowseColumn ofField(int field, const QString &header, int widthDu, Qt::Alignment alignment,
                                Qt::Alignment headerAlignment, const QString &picture, int indentDu = 2)
    {
        BrowseColumn c;
        c.field = field;
        c.header = header;
        c.widthDu = widthDu;
        c.alignment = alignment;
        c.headerAlignment = headerAlignment;
        c.picture = Picture::parse(picture);
        c.indentDu = indentDu;
        return c;
    }

    QVariant valueOf(const Record &record) const
    {
        if (value)
            return value(record);
        return field >= 0 ? record.value(field) : QVariant();
    }
};
