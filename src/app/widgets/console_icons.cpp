#include "app/widgets/console_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>
#include <vector>

namespace tessaly {
namespace {

constexpr int kTypeIconSide = 36;
constexpr int kButtonIconSide = 16;

// Cells of a layout on a 30 x 30 grid.
using Cells = std::vector<QRectF>;

// One band of `count` cells of side `side` at `offset` from the top.
void AddRow(Cells& cells, double offset, double side) {
    for (double x = 0; x + side <= 30.01; x += side) cells.emplace_back(x, offset, side, side);
}

// A square ring of cells of side `side` whose outer edge is `inset` from the border.
void AddRing(Cells& cells, double inset, double side) {
    const double far = 30 - inset - side;
    for (double p = inset; p <= far + 0.01; p += side) {
        cells.emplace_back(p, inset, side, side);
        cells.emplace_back(p, far, side, side);
        if (p > inset + 0.01 && p < far - 0.01) {
            cells.emplace_back(inset, p, side, side);
            cells.emplace_back(far, p, side, side);
        }
    }
}

Cells LayoutCells(int type) {
    Cells cells;
    switch (type) {
        case 2: case 3: case 4: case 5: {
            // Large at the starting edge, finer in the direction of travel
            // (drawn for type 3, top to bottom, and turned for the others).
            AddRow(cells, 0, 15);
            AddRow(cells, 15, 10);
            AddRow(cells, 25, 5);
            QTransform turn;
            if (type == 2) turn = QTransform(1, 0, 0, -1, 0, 30);
            if (type == 4) turn = QTransform(0, 1, -1, 0, 30, 0);
            if (type == 5) turn = QTransform(0, 1, 1, 0, 0, 0);
            for (QRectF& cell : cells) cell = turn.mapRect(cell);
            break;
        }
        case 6:  // large in the middle, fine outside
            AddRing(cells, 0, 5);
            AddRing(cells, 5, 10);
            break;
        case 7:  // large outside, fine in the middle
            AddRing(cells, 0, 10);
            AddRing(cells, 10, 5);
            break;
        default: {  // random sizes on a grid
            const QRectF large[] = {{0, 0, 10, 10}, {20, 5, 10, 10}, {5, 20, 10, 10}};
            for (const QRectF& cell : large) cells.push_back(cell);
            for (int y = 0; y < 6; ++y) {
                for (int x = 0; x < 6; ++x) {
                    const QRectF cell(x * 5, y * 5, 5, 5);
                    bool covered = false;
                    for (const QRectF& big : large) covered |= big.intersects(cell);
                    if (!covered && (x + 2 * y) % 3 != 0) cells.push_back(cell);
                }
            }
            break;
        }
    }
    return cells;
}

QPixmap NewPixmap(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap TypePixmap(int type) {
    QPixmap pixmap = NewPixmap(kTypeIconSide);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(2, 2, 32, 32), QColor(255, 255, 255));
    painter.translate(3, 3);
    static const QColor palette[] = {{231, 76, 60}, {241, 196, 15}, {46, 204, 113},
                                     {52, 152, 219}, {155, 89, 182}, {230, 126, 34},
                                     {26, 188, 156}};
    int i = 0;
    painter.setPen(QPen(QColor(60, 60, 60), 0.8));
    for (const QRectF& cell : LayoutCells(type)) {
        painter.setBrush(palette[(i++ * 3 + type) % 7]);
        painter.drawRect(cell.adjusted(0.4, 0.4, -0.4, -0.4));
    }
    painter.resetTransform();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.drawRect(QRectF(2.5, 2.5, 31, 31));
    return pixmap;
}

QPixmap ButtonPixmap(ConsoleIcon icon) {
    QPixmap pixmap = NewPixmap(kButtonIconSide);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    switch (icon) {
        case ConsoleIcon::Minus:
        case ConsoleIcon::Plus:
            painter.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
            if (icon == ConsoleIcon::Plus) painter.drawLine(QPointF(8, 3.5), QPointF(8, 12.5));
            break;
        case ConsoleIcon::Help: {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(45, 110, 200));
            painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
            QFont font = painter.font();
            font.setBold(true);
            font.setPixelSize(12);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case ConsoleIcon::Histogram: {
            painter.fillRect(QRectF(1, 1, 14, 14), QColor(255, 255, 235));
            painter.setPen(QPen(ink, 1));
            painter.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
            painter.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
            const QPointF red[] = {{2, 13}, {5, 6}, {8, 9}, {11, 3}, {15, 11}};
            const QPointF blue[] = {{2, 12}, {5, 11}, {8, 5}, {11, 10}, {15, 7}};
            painter.setPen(QPen(QColor(220, 30, 30), 1.3));
            painter.drawPolyline(red, 5);
            painter.setPen(QPen(QColor(30, 60, 220), 1.3));
            painter.drawPolyline(blue, 5);
            break;
        }
        case ConsoleIcon::ShowUnplaced: {
            painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(13.5, 13.5), QPointF(4, 4));
            QPainterPath head;
            head.moveTo(2, 2);
            head.lineTo(10, 2.5);
            head.lineTo(2.5, 10);
            head.closeSubpath();
            painter.setPen(Qt::NoPen);
            painter.setBrush(ink);
            painter.drawPath(head);
            break;
        }
        case ConsoleIcon::BackgroundOnly: {
            painter.fillRect(QRectF(0.5, 1.5, 15, 13), QColor(150, 200, 245));
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(250, 200, 40));
            painter.drawEllipse(QRectF(10, 3, 4, 4));
            QPainterPath hill;
            hill.moveTo(0.5, 14.5);
            hill.lineTo(5.5, 7);
            hill.lineTo(9, 11);
            hill.lineTo(11, 9);
            hill.lineTo(15.5, 14.5);
            hill.closeSubpath();
            painter.setBrush(QColor(60, 150, 70));
            painter.drawPath(hill);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(ink, 1));
            painter.drawRect(QRectF(0.5, 1.5, 15, 13));
            break;
        }
    }
    return pixmap;
}

}  // namespace

QIcon ConsoleIconFor(ConsoleIcon icon) {
    return QIcon(ButtonPixmap(icon));
}

QIcon MosaicTypeIcon(int type) {
    return QIcon(TypePixmap(type));
}

}  // namespace tessaly
