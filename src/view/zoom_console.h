#pragma once

#include <QImage>
#include <QPoint>
#include <optional>

#include "canvas/int_rect.h"
#include "canvas/zoom_console_geometry.h"

class QPainter;

namespace tessaly {

class CAtelierView;

// The round zoom console floating over the canvas view: its pictures, whether
// it and its dial ring show, and its drags. Position and pin state belong to
// the document; the view owns the console and is told what to change.
class ZoomConsole {
public:
    explicit ZoomConsole(CAtelierView& view);

    bool IsVisible() const { return visible_; }
    bool IsDialShown() const { return dialShown_; }
    QPoint Centre() const;

    void SetVisible(bool visible);
    // Prints the current zoom on the face again.
    void RepaintDigits();

    // What a client point hits; shows an unpinned console the pointer comes near.
    ConsoleZone HitTest(QPoint q);
    // Whether q is on the dial ring while it shows.
    bool OnDialRing(QPoint q) const;

    // The left press, asked before anything else on the canvas; true when the
    // console took it.
    bool Press(QPoint q);
    // After a press the console did not take: an unpinned console hides, a
    // pinned one folds its dial ring.
    void PressTakenElsewhere();
    // Pointer moves and the release during a console or dial drag; false when
    // no such drag is running.
    bool Move(QPoint q);
    bool Release(QPoint q);

    // Arrow keys move a shown console with its dial ring: 10 pixels, 1 with Ctrl.
    bool MoveByKey(int dx, int dy);

    void TogglePinned();
    void MoveToTopLeft();

    // Hidden while a scroll bar is operated, shown again afterwards.
    void HideForScrolling();
    void ShowAfterScrolling();

    void Draw(QPainter& painter, const IntRect& client);
    // The client area the console and its ring may cover.
    IntRect Bounds() const;

private:
    QPoint ClampedCentre(QPoint centre) const;
    void StoreCentre(QPoint centre);

    CAtelierView& view_;
    QImage face_;
    QImage digits_;
    QImage work_;
    bool visible_ = true;
    bool dialShown_ = false;
    bool consoleDrag_ = false;
    QPoint pressPoint_;
    QPoint grabOffset_;
    std::optional<QPoint> dragCentre_;  // where the outline of a console drag stands
    bool dialDrag_ = false;
    QPoint dialLast_;
    bool hiddenForScrolling_ = false;
};

}  // namespace tessaly
