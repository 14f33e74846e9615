#pragma once

#include <QStyledItemDelegate>

// Paints the cells of a list: the cell's own colours (and its colours while selected), the
// value indented from its aligned edge by the column's indent in dialog units, the icon in
// front of it, and the right border of every column.
class BrowseDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit BrowseDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
