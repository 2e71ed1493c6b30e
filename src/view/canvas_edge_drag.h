#pragma once

#include <QPoint>
#include <QString>
#include <Qt>
#include <optional>

#include "canvas/int_rect.h"

class QPainter;

namespace tessaly {

class CAtelierView;

// Changing the canvas size by dragging its right or bottom edge.
class CanvasEdgeDrag {
public:
    explicit CanvasEdgeDrag(CAtelierView& view);

    // The edge under a view point, if any: the width edge is tested first.
    std::optional<Qt::Orientation> EdgeAt(QPoint viewPoint) const;
    // The tooltip for hovering an edge.
    QString ToolTip(Qt::Orientation edge) const;

    bool IsActive() const { return active_; }
    bool Press(QPoint viewPoint);
    // Moves the feedback bar; false when no drag is running.
    bool Move(QPoint viewPoint);
    // Ends the drag: asks whether to move the nodes along and applies the new
    // size. False when no drag was running.
    bool Release(QPoint viewPoint);

    // The feedback of the running drag, in client pixels.
    IntRect FeedbackRect() const;
    void DrawFeedback(QPainter& painter) const;

private:
    int BoundedPosition(int coordinate) const;

    CAtelierView& view_;
    bool active_ = false;
    Qt::Orientation edge_ = Qt::Horizontal;
    QPoint press_;
    QPoint pointer_;  // view pixels
};

}  // namespace tessaly
