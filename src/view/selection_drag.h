#pragma once

#include <QPoint>
#include <Qt>
#include <optional>

#include "canvas/int_rect.h"
#include "canvas/selection.h"

class QPainter;

namespace tessaly {

class CAtelierView;

// The drags that select and edit nodes: the rubber band, moving the selected
// nodes and resizing them by a handle of the main selection. While the
// pointer moves only an outline changes, drawn over the view's cached frame;
// the document changes once, at the release.
//
// Resizing by a corner keeps the picture's proportions, the opposite corner
// staying where it is; with Ctrl held the width and height follow the
// pointer independently, as the guide shown during the drag says. The side
// handles always change their own axis only.
class SelectionDrag {
public:
    explicit SelectionDrag(CAtelierView& view);

    bool IsActive() const { return kind_ != Kind::None; }

    // A press on an empty part of the canvas; the caller has cleared the
    // selection.
    void BeginRubberBand(QPoint client);
    // A press on node `node` that the click rules let move the selection.
    void BeginMove(int node, QPoint client);
    // A press on a handle of a selected node; it becomes the main selection.
    void BeginResize(const HandleHit& hit, QPoint client);

    // Pointer moves and the release; false when no drag is running.
    bool Move(QPoint client, Qt::KeyboardModifiers keys);
    bool Release(QPoint client);
    // Forgets a running drag without changing the document.
    void Cancel();

    void DrawFeedback(QPainter& painter) const;
    // What the outline covers, in client pixels.
    IntRect FeedbackRect() const;

private:
    enum class Kind { None, RubberBand, Move, Resize };

    QPoint ToView(QPoint client) const;
    IntRect MainNodeViewRect() const;
    void MoveRubberBand(QPoint client);
    void MoveOutline(QPoint client);
    void MoveResize(QPoint client, Qt::KeyboardModifiers keys);
    bool AutoScroll(QPoint client);
    void ReleaseRubberBand(QPoint client);
    void ReleaseMove(QPoint client);
    void ReleaseResize();
    // Repaints what the outline covered before and covers now.
    void SetOutline(std::optional<IntRect> outlineView);

    CAtelierView& view_;
    Kind kind_ = Kind::None;
    QPoint pressView_;
    QPoint grabOffset_;  // pointer minus the main node's centre, client pixels
    Handle handle_ = Handle::TopLeft;
    IntRect startRect_;               // the main node at the press, view pixels
    std::optional<IntRect> pending_;  // the resize result so far, view pixels
    std::optional<IntRect> outline_;  // the rectangle drawn, view pixels
};

}  // namespace tessaly
