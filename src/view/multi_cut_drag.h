#pragma once

#include <QPoint>
#include <optional>

#include "canvas/int_rect.h"
#include "canvas/multi_cut_geometry.h"

class QPainter;

namespace tessaly {

class CAtelierView;
class MultiCutSession;

// The mouse on the cut rectangle while multi-cut mode is on: the cursors
// over its corners, edges and inside, and the drag that moves it or one or
// two of its edges. While the pointer moves only an outline of the proposed
// rectangle is drawn over the view's cached frame; the rectangle changes at
// the release.
class MultiCutDrag {
public:
    MultiCutDrag(CAtelierView& view, MultiCutSession& session);

    bool IsActive() const { return part_ != CutPart::None; }

    // The part of the cut rectangle under a client point; None when the mode
    // is off.
    CutPart PartAt(QPoint client) const;

    // A left press: true when it lands on the rectangle and starts a drag.
    bool Press(QPoint client);
    // Pointer moves and the release; false when no drag is running.
    bool Move(QPoint client);
    bool Release(QPoint client);
    void Cancel();

    // The cursor over the rectangle; false when the pointer is not on it.
    bool Hover(QPoint client);

    void DrawFeedback(QPainter& painter) const;

private:
    QPoint ToView(QPoint client) const;
    // The proposed rectangle in client pixels, as much as its outline covers.
    IntRect FeedbackRect() const;
    void SetProposed(std::optional<IntRect> rect);

    CAtelierView& view_;
    MultiCutSession& session_;
    CutPart part_ = CutPart::None;
    QPoint originView_;
    std::optional<IntRect> proposed_;  // canvas pixels
};

}  // namespace tessaly
