#include "commands/display_edits.h"

#include <algorithm>

#include "document/edited_document.h"

namespace tessaly {

int SetBackBrightness(EditedDocument& edited, int level) {
    EditScope edit(edited, SnapshotRule::None);
    std::int32_t& stored = edit.Doc().State().backBrightness;
    const int bounded = std::clamp(level, kMinBackBrightness, kMaxBackBrightness);
    const bool changed = stored != bounded;
    stored = bounded;
    edit.Commit(changed);
    return bounded;
}

int StepBackBrightness(EditedDocument& edited, int step) {
    // A stored level out of range (an old or damaged file) steps from its bound.
    const int from = std::clamp(static_cast<int>(edited.Doc().State().backBrightness),
                                kMinBackBrightness, kMaxBackBrightness);
    return SetBackBrightness(edited, from + (step < 0 ? -1 : step > 0 ? 1 : 0));
}

bool ShowUnplacedImages(EditedDocument& edited) {
    EditScope edit(edited, SnapshotRule::None);
    Document& doc = edit.Doc();
    bool changed = false;
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        NodeRecord& node = doc.Node(i);
        if (node.visible != 0) continue;
        node.centerX = node.halfWidth;
        node.centerY = node.halfHeight;
        node.visible = 1;
        changed = true;
    }
    return edit.Commit(changed);
}

}  // namespace tessaly
