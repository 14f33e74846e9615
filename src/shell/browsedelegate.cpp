#include "browsedelegate.h"

#include "browsemodel.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <algorithm>

BrowseDelegate::BrowseDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void BrowseDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    auto colourOf = [&](int role, QPalette::ColorRole fallback) {
        const QVariant v = index.data(role);
        return v.isValid() ? v.value<QColor>() : option.palette.color(group, fallback);
    };
    painter->save();
    const QRect r = option.rect;
    if (selected) {
        painter->fillRect(r, colourOf(BrowseModel::SelectedBackgroundRole, QPalette::Highlight));
    } else {
        const QVariant bg = index.data(Qt::BackgroundRole);
        if (bg.isValid())
            painter->fillRect(r, bg.value<QColor>());
    }
    const QColor text = selected ? colourOf(BrowseModel::SelectedForegroundRole, QPalette::HighlightedText)
                                 : colourOf(Qt::ForegroundRole, QPalette::Text);

    const Qt::Alignment align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    // Dialog units of the list's font, as the windows measure them.
    const int indent = (index.data(BrowseModel::IndentRole).toInt() * option.fontMetrics.averageCharWidth() + 2) / 4;
    QRect content = r.adjusted(1, 0, -2, 0);
    if (align & Qt::AlignRight)
        content.adjust(0, 0, -indent, 0);
    else if (!(align & Qt::AlignHCenter))
        content.adjust(indent, 0, 0, 0);
    painter->setClipRect(r);
    const QVariant deco = index.data(Qt::DecorationRole);
    if (deco.isValid()) {
        const QIcon icon = deco.value<QIcon>();
        const int side = std::min(r.height() - 2, option.decorationSize.height());
        const QRect iconRect(content.left(), r.top() + (r.height() - side) / 2, side, side);
        icon.paint(painter, iconRect, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);
        content.setLeft(iconRect.right() + 3);
    }
    painter->setFont(option.font);
    painter->setPen(text);
    painter->drawText(content, int(align | Qt::AlignVCenter) | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    // Every column has a right border.
    painter->setPen(option.palette.color(group, QPalette::Mid));
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
}
