#include "view/clipboard_exchange.h"

#include <QGuiApplication>
#include <QTimer>

#include "view/atelier_view.h"
#include "canvas/view_geometry.h"
#include "document/document.h"
#include "services/clipboard.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

// How long the wait cursor tells that a copy went to the clipboard.
constexpr int kCopiedCursorMs = 400;

}  // namespace

ClipboardExchange::ClipboardExchange(CAtelierView& view)
    : view_(view), clipboard_(&SystemClipboard()) {}

void ClipboardExchange::SetClipboardForTesting(Clipboard* clipboard) {
    clipboard_ = clipboard != nullptr ? clipboard : &SystemClipboard();
}

void ClipboardExchange::Copy() {
    const CopyRequest request{view_.InsertPoint(), view_.IsBackgroundOnly()};
    if (!CopyNodes(view_.Doc(), request, store_, *clipboard_)) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(kCopiedCursorMs, &view_, [] { QGuiApplication::restoreOverrideCursor(); });
}

void ClipboardExchange::PasteCommand() {
    const QPoint pending = view_.InsertPoint();
    PastePlace place;
    place.offset = PasteCommandOffset(pending, store_.origin, view_.Doc().State().zoom);
    place.imageCentre = ImageCentre(pending);
    view_.SetInsertPoint({});
    Paste(place);
}

void ClipboardExchange::PasteByKey() {
    view_.StopHoverAnimation();
    PastePlace place;
    place.imageCentre = ImageCentre(view_.InsertPoint());
    if (Paste(place) == PastedKind::Image) view_.SetInsertPoint({});
}

QPoint ClipboardExchange::ImageCentre(QPoint pending) const {
    if (pending.isNull()) return view_.VisibleCentreOnCanvas();
    const float zoom = view_.Doc().State().zoom;
    return {ViewToCanvas(zoom, pending.x()), ViewToCanvas(zoom, pending.y())};
}

PastedKind ClipboardExchange::Paste(const PastePlace& place) {
    WaitCursor wait;
    return PasteFromClipboard(view_.Edited(), store_, *clipboard_, place);
}

}  // namespace tessaly
