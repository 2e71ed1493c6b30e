#pragma once

#include <QStyledItemDelegate>

namespace tessaly {

// Draws list cells as usual, then the grid line along their right and bottom
// edges, so a report-style list shows its rows and columns ruled.
class GridLinesDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace tessaly
