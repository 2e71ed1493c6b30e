#include "app/widgets/section_swatches.h"

#include <QPainter>

#include "edits/node_properties.h"

namespace tessaly {
namespace {

constexpr int kCells = 5;
constexpr int kCellSide = 18;
constexpr int kCellGap = 2;

}  // namespace

SectionSwatches::SectionSwatches(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SectionSwatches::SetNode(const NodeRecord* node, int sectionCount) {
    node_ = node;
    sectionCount_ = sectionCount;
    update();
}

QSize SectionSwatches::sizeHint() const {
    const int side = kCells * kCellSide + (kCells - 1) * kCellGap + 1;
    return {side, side};
}

void SectionSwatches::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    for (int row = 0; row < kCells; ++row) {
        for (int column = 0; column < kCells; ++column) {
            const QRect cell(column * (kCellSide + kCellGap), row * (kCellSide + kCellGap),
                             kCellSide, kCellSide);
            if (node_) {
                if (const auto colour = SwatchColour(*node_, sectionCount_, row, column))
                    painter.fillRect(cell, QColor::fromRgb(*colour));
            }
            painter.drawRect(cell);
        }
    }
}

}  // namespace tessaly
