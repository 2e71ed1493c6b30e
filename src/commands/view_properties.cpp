#include "commands/view_properties.h"

#include "commands/canvas_resize.h"
#include "document/edited_document.h"
#include "mosaic/colour_features.h"

namespace tessaly {

ViewProperties ReadViewProperties(const DocState& s) {
    return {s.canvasWidth,     s.canvasHeight,    s.backColor,
            s.canvasLineColor, s.canvasLineWidth, s.canvasLineStyle};
}

AppliedViewProperties ApplyViewProperties(EditedDocument& edited, ViewPropertiesResult result,
                                          QObject* owner) {
    const ViewProperties& v = result.values;
    const DocState& now = edited.Doc().State();
    const bool resized = v.canvasWidth != now.canvasWidth || v.canvasHeight != now.canvasHeight;
    // Asked before the snapshot, so that the question never stands between it
    // and the change.
    const std::optional<CanvasResizeMode> mode =
        resized ? AskCanvasResizeMode(owner) : std::nullopt;

    AppliedViewProperties applied;
    EditScope edit(edited, SnapshotRule::Always);
    Document& doc = edit.Doc();
    DocState& s = doc.State();
    bool changed = false;
    if (mode) {
        changed |= ResizeCanvas(edited, Qt::Horizontal, v.canvasWidth, *mode);
        changed |= ResizeCanvas(edited, Qt::Vertical, v.canvasHeight, *mode);
    }
    ViewProperties kept = v;
    kept.canvasWidth = s.canvasWidth;
    kept.canvasHeight = s.canvasHeight;
    if (kept != ReadViewProperties(s)) {
        s.backColor = v.backColor;
        s.canvasLineColor = v.canvasLineColor;
        s.canvasLineWidth = v.canvasLineWidth;
        s.canvasLineStyle = v.canvasLineStyle;
        changed = true;
    }
    if (s.backPicture && !result.currentPictureKept) {
        doc.Pictures().Release(s.backPicture);
        applied.backgroundCleared = true;
    }
    if (result.newPicture) {
        doc.Pictures().Release(s.backPicture);
        ComputeBackgroundHistogram(*result.newPicture, s.backHistogram);
        s.backPicture = doc.Pictures().Adopt(*std::move(result.newPicture));
        applied.backgroundSet = true;
    }
    applied.changed = edit.Commit(changed || applied.backgroundCleared || applied.backgroundSet);
    return applied;
}

}  // namespace tessaly
