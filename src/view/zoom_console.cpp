#include "view/zoom_console.h"

#include <QPainter>

#include "canvas/math_sub.h"
#include "view/atelier_view.h"
#include "canvas/view_geometry.h"
#include "canvas/zoom_console_face.h"
#include "document/document.h"
#include "document/edited_document.h"
#include "document/status_panes.h"

namespace tessaly {

ZoomConsole::ZoomConsole(CAtelierView& view)
    : view_(view), face_(DrawConsoleFace()), digits_(DrawDigitStrip()) {
    RepaintDigits();
}

QPoint ZoomConsole::Centre() const {
    const DocState& s = view_.Doc().State();
    return {s.zoomConsoleX, s.zoomConsoleY};
}

QPoint ZoomConsole::ClampedCentre(QPoint centre) const {
    return ClampConsoleCentre(centre, view_.ClientRect());
}

void ZoomConsole::StoreCentre(QPoint centre) {
    DocState& s = view_.Doc().State();
    s.zoomConsoleX = centre.x();
    s.zoomConsoleY = centre.y();
}

IntRect ZoomConsole::Bounds() const {
    const QPoint c = Centre();
    const int reach = kDialOuterRadius + kDialDotSize;
    return {c.x() - reach, c.y() - reach, c.x() + reach + 1, c.y() + reach + 1};
}

void ZoomConsole::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (!visible_) dialShown_ = false;
    view_.FeedbackChanged(Bounds(), {});
}

void ZoomConsole::RepaintDigits() {
    work_ = ComposeConsole(face_, digits_, ZoomPercent(view_.Doc().State().zoom));
    view_.FeedbackChanged(Bounds(), {});
}

ConsoleZone ZoomConsole::HitTest(QPoint q) {
    const ConsoleZone zone = ConsoleZoneAt(q, Centre());
    if (zone != ConsoleZone::Outside && !visible_ && view_.Doc().State().zoomConsolePinned == 0) {
        SetVisible(true);
    }
    return zone;
}

bool ZoomConsole::OnDialRing(QPoint q) const {
    return visible_ && dialShown_ && InDialRing(q, Centre());
}

bool ZoomConsole::Press(QPoint q) {
    if (OnDialRing(q)) {
        dialDrag_ = true;
        dialLast_ = q;
        return true;
    }
    switch (HitTest(q)) {
        case ConsoleZone::Outside: return false;
        case ConsoleZone::Plus: view_.ZoomBy(+1); break;
        case ConsoleZone::Minus: view_.ZoomBy(-1); break;
        case ConsoleZone::Body:
            if (!dialShown_) {
                dialShown_ = true;
                view_.FeedbackChanged(Bounds(), {});
            }
            break;
    }
    consoleDrag_ = true;
    pressPoint_ = q;
    grabOffset_ = q - Centre();
    RefreshStatusPanes(view_.Doc(), true);
    return true;
}

void ZoomConsole::PressTakenElsewhere() {
    const bool pinned = view_.Doc().State().zoomConsolePinned != 0;
    if (!pinned && visible_) {
        SetVisible(false);
    } else if (pinned && dialShown_) {
        dialShown_ = false;
        view_.FeedbackChanged(Bounds(), {});
    }
}

bool ZoomConsole::Move(QPoint q) {
    if (dialDrag_) {
        const int delta = DialZoomDelta(dialLast_, q, Centre());
        dialLast_ = q;
        view_.SetCanvasCursor(InDialRing(q, Centre()) ? CanvasCursor::Blocked
                                                      : CanvasCursor::Move);
        if (delta != 0) view_.ZoomBy(delta);
        return true;
    }
    if (consoleDrag_) {
        const IntRect before = dragCentre_ ? ConsoleRect(*dragCentre_) : IntRect{};
        dragCentre_ = ClampedCentre(q - grabOffset_);
        view_.FeedbackChanged(before, ConsoleRect(*dragCentre_));
        return true;
    }
    return false;
}

bool ZoomConsole::Release(QPoint q) {
    if (dialDrag_) {
        dialDrag_ = false;
        view_.SetCanvasCursor(CanvasCursor::Arrow);
        return true;
    }
    if (!consoleDrag_) return false;
    consoleDrag_ = false;
    if (dragCentre_) view_.FeedbackChanged(ConsoleRect(*dragCentre_), {});
    dragCentre_.reset();
    if (IsConsoleClick(pressPoint_, q)) return true;
    const IntRect before = Bounds();
    StoreCentre(ClampedCentre(Centre() + (q - pressPoint_)));
    view_.FeedbackChanged(before, Bounds());
    view_.Edited().ViewSettingChanged();
    return true;
}

bool ZoomConsole::MoveByKey(int dx, int dy) {
    if (!visible_ || !dialShown_) return false;
    const IntRect before = Bounds();
    StoreCentre(ClampedCentre(Centre() + QPoint(dx, dy)));
    view_.FeedbackChanged(before, Bounds());
    view_.Edited().ViewSettingChanged();
    return true;
}

void ZoomConsole::TogglePinned() {
    DocState& s = view_.Doc().State();
    s.zoomConsolePinned = s.zoomConsolePinned ? 0 : 1;
    SetVisible(s.zoomConsolePinned != 0);
    view_.FeedbackChanged(Bounds(), {});
    view_.Edited().ViewSettingChanged();
}

void ZoomConsole::MoveToTopLeft() {
    const IntRect before = Bounds();
    SetVisible(false);
    StoreCentre({kConsoleHomeX, kConsoleHomeY});
    SetVisible(true);
    view_.FeedbackChanged(before, Bounds());
}

void ZoomConsole::HideForScrolling() {
    if (!visible_) return;
    hiddenForScrolling_ = true;
    SetVisible(false);
}

void ZoomConsole::ShowAfterScrolling() {
    if (!hiddenForScrolling_) return;
    hiddenForScrolling_ = false;
    SetVisible(true);
}

void ZoomConsole::Draw(QPainter& painter, const IntRect& client) {
    if (!visible_) return;
    // The clamped position is kept without counting as a change of the document.
    StoreCentre(ClampConsoleCentre(Centre(), client));
    const QPoint c = Centre();
    painter.drawImage(c - QPoint(kConsoleRadius, kConsoleRadius), work_);
    if (dialShown_) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        for (int j = 1; j <= kDialDotCount; ++j) {
            painter.setPen(QPen(DialDotColor(j), kDialDotSize, Qt::SolidLine, Qt::RoundCap));
            painter.drawPoint(DialDotCentre(c, j));
        }
        painter.restore();
    }
    if (dragCentre_) {
        const IntRect outline = ConsoleRect(*dragCentre_);
        painter.setPen(QColor(0, 0, 128));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline.ToQRect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace tessaly
