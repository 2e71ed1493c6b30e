#include "edits/console_edits.h"

#include <algorithm>

#include "edits/stored_field.h"
#include "document/edited_document.h"
#include "mosaic/colour_features.h"

namespace tessaly {
namespace {

int Sign(int step) { return step < 0 ? -1 : step > 0 ? 1 : 0; }

}  // namespace

int SectionPosition(const DocState& state) { return SectionGridSide(state.sectionCount); }

int SetSectionPosition(EditedDocument& edited, int position) {
    const int bounded = std::clamp(position, kMinSectionPosition, kMaxSectionPosition);
    EditScope edit(edited, SnapshotRule::None);
    Document& doc = edit.Doc();
    if (StoreField(doc.State().sectionCount, bounded * bounded)) {
        RecomputeAllSectionAverages(doc);
        edit.Commit();
    }
    return bounded;
}

int StepSectionPosition(EditedDocument& edited, int step) {
    const DocState& s = edited.Doc().State();
    const int position = SectionPosition(s);
    if ((step < 0 && s.sectionCount == 1) ||
        (step > 0 && s.sectionCount == kMaxSectionPosition * kMaxSectionPosition)) {
        return position;
    }
    return SetSectionPosition(edited, position + Sign(step));
}

int SetComparePrecision(EditedDocument& edited, int precision) {
    const int bounded = std::clamp(precision, kMinComparePrecision, kMaxComparePrecision);
    EditScope edit(edited, SnapshotRule::None);
    edit.Commit(StoreField(edit.Doc().State().comparePrecision, bounded));
    return bounded;
}

int StepComparePrecision(EditedDocument& edited, int step) {
    const int from = std::clamp(static_cast<int>(edited.Doc().State().comparePrecision),
                                kMinComparePrecision, kMaxComparePrecision);
    return SetComparePrecision(edited, from + Sign(step));
}

void SetImageFrameStyle(EditedDocument& edited, int style) {
    if (StoreField(edited.Doc().State().imageFrameStyle, style)) edited.ViewSettingChanged();
}

DisplaySettings DisplaySettingsOf(const DocState& s) {
    return {s.showBackPicture != 0, s.adjustColors != 0,   s.mosaicBackground != 0,
            s.imageFrames != 0,     s.imageFrameWidth,      s.imageFrameColor};
}

void StoreDisplaySettings(EditedDocument& edited, const DisplaySettings& d) {
    EditScope edit(edited, SnapshotRule::None);
    DocState& s = edit.Doc().State();
    bool changed = StoreField(s.mosaicBackground, d.mosaicBackground ? 1 : 0);
    changed |= StoreField(s.adjustColors, d.adjustColors ? 1 : 0);
    changed |= StoreField(s.imageFrames, d.imageFrames ? 1 : 0);
    changed |= StoreField(s.showBackPicture, d.showBackPicture ? 1 : 0);
    changed |= StoreField(s.imageFrameWidth,
                          std::clamp(d.imageFrameWidth, kMinFrameWidth, kMaxFrameWidth));
    changed |= StoreField(s.imageFrameColor, d.imageFrameColor);
    edit.Commit(changed);
}

}  // namespace tessaly
