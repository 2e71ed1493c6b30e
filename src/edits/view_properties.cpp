#include "edits/view_properties.h"

#include <QSize>

#include "edits/canvas_resize.h"
#include "document/edited_document.h"
#include "mosaic/colour_features.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {

ViewProperties ReadViewProperties(const DocState& s) {
    return {s.canvasWidth,     s.canvasHeight,    s.backColor,
            s.canvasLineColor, s.canvasLineWidth, s.canvasLineStyle};
}

namespace {

// The canvas size a requested one gives (CanvasSizeForRequest); a side the
// user left as it is stays so. When only the margin changes and the nodes
// keep the canvas larger than asked, the user is told the size each such
// side stops at.
QSize CanvasSizeFor(const Document& doc, QSize requested, CanvasResizeMode mode,
                    QObject* owner) {
    const DocState& s = doc.State();
    const auto side = [&](Qt::Orientation axis, int asked, int now) {
        return asked == now ? asked : CanvasSizeForRequest(doc, axis, asked, mode);
    };
    const QSize size(side(Qt::Horizontal, requested.width(), s.canvasWidth),
                     side(Qt::Vertical, requested.height(), s.canvasHeight));
    QString limited;
    if (size.width() > requested.width())
        limited += ui_text::kWidthLine.toString().arg(size.width());
    if (size.height() > requested.height())
        limited += ui_text::kHeightLine.toString().arg(size.height());
    if (!limited.isEmpty())
        ShowMessage(owner, limited, kMsgCanvasKeptAroundImages, kStyleInformation);
    return size;
}

}  // namespace

AppliedViewProperties ApplyViewProperties(EditedDocument& edited, ViewPropertiesResult result,
                                          QObject* owner) {
    const ViewProperties& v = result.values;
    const DocState& now = edited.Doc().State();
    const bool resized = v.canvasWidth != now.canvasWidth || v.canvasHeight != now.canvasHeight;
    // Asked before the snapshot, so that the question never stands between it
    // and the change.
    const std::optional<CanvasResizeMode> asked =
        resized ? AskCanvasResizeMode(owner) : std::nullopt;
    const bool resize = asked.has_value();
    const CanvasResizeMode mode = asked.value_or(CanvasResizeMode::MarginOnly);
    const QSize canvas = resize ? CanvasSizeFor(edited.Doc(), {v.canvasWidth, v.canvasHeight},
                                                mode, owner)
                                : QSize();

    ViewProperties unsized = v;
    unsized.canvasWidth = now.canvasWidth;
    unsized.canvasHeight = now.canvasHeight;
    const bool restyled = unsized != ReadViewProperties(now);
    const bool cleared = now.backPicture && !result.currentPictureKept;
    const bool anything = resize || restyled || cleared || result.newPicture;
    // Spares writing a snapshot of a large document for nothing.
    if (!anything) return {};

    AppliedViewProperties applied;
    EditScope edit(edited, SnapshotRule::Always);
    Document& doc = edit.Doc();
    DocState& s = doc.State();
    bool changed = restyled || cleared;
    if (resize) {
        changed |= ResizeCanvas(edited, Qt::Horizontal, canvas.width(), mode);
        changed |= ResizeCanvas(edited, Qt::Vertical, canvas.height(), mode);
    }
    s.backColor = v.backColor;
    s.canvasLineColor = v.canvasLineColor;
    s.canvasLineWidth = v.canvasLineWidth;
    s.canvasLineStyle = v.canvasLineStyle;
    if (cleared) {
        doc.Pictures().Release(s.backPicture);
        applied.backgroundCleared = true;
    }
    if (result.newPicture) {
        AdoptBackgroundPicture(doc, *std::move(result.newPicture));
        applied.backgroundSet = true;
    }
    applied.changed = edit.Commit(changed || applied.backgroundSet);
    return applied;
}

}  // namespace tessaly
