#include "edits/view_settings.h"

#include <algorithm>

#include "document/edited_document.h"

namespace tessaly {

void SetGridMode(EditedDocument& edited, GridMode mode) {
    EditScope edit(edited, SnapshotRule::None);
    edit.Doc().State().gridMode = static_cast<std::int32_t>(mode);
    edit.Commit();
}

void ToggleGridShown(EditedDocument& edited) {
    EditScope edit(edited, SnapshotRule::None);
    edit.Doc().State().gridMode = -edit.Doc().State().gridMode;
    edit.Commit();
}

void ToggleGridOnTop(EditedDocument& edited) {
    EditScope edit(edited, SnapshotRule::None);
    edit.Doc().State().gridOnTop = 1 - edit.Doc().State().gridOnTop;
    edit.Commit();
}

bool SetDocumentZoom(EditedDocument& edited, float zoom) {
    EditScope edit(edited, SnapshotRule::None);
    float& stored = edit.Doc().State().zoom;
    if (stored == zoom) return false;
    stored = zoom;
    return edit.Commit();
}

void SetCutLineColour(EditedDocument& edited, ColorRef colour) {
    EditScope edit(edited, SnapshotRule::None);
    edit.Doc().State().cutLineColor = colour;
    edit.Commit();
}

void SetCutLineWidth(EditedDocument& edited, int width) {
    constexpr int kWidestCutLine = 5;
    EditScope edit(edited, SnapshotRule::None);
    edit.Doc().State().cutLineWidth = std::clamp(width, 1, kWidestCutLine);
    edit.Commit();
}

}  // namespace tessaly
