#include "edits/display_edits.h"

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

int ShowUnplacedImages(EditedDocument& edited) {
    EditScope edit(edited, SnapshotRule::None);
    Document& doc = edit.Doc();
    DocState& s = doc.State();
    int first = -1;
    int count = 0;
    for (int i = 0; i < s.nodeCount && first < 0; ++i) {
        if (doc.Node(i).visible == 0) first = i;
    }
    if (first < 0) return 0;
    for (int i = 0; i < s.nodeCount; ++i) {
        NodeRecord& node = doc.Node(i);
        const bool unplaced = node.visible == 0;
        doc.Mark(i).selected = unplaced ? 1 : 0;
        if (!unplaced) continue;
        node.centerX = node.halfWidth;
        node.centerY = node.halfHeight;
        node.visible = 1;
        ++count;
    }
    s.mainSelection = first;
    edit.Commit();
    return count;
}

}  // namespace tessaly
