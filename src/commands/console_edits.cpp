#include "commands/console_edits.h"

#include <algorithm>

#include "document/edited_document.h"
#include "mosaic/colour_features.h"

namespace tessaly {
namespace {

int Sign(int step) { return step < 0 ? -1 : step > 0 ? 1 : 0; }

// Stores `value` into `field`; true when it differs from what was there.
template <typename T, typename V>
bool Store(T& field, V value) {
    const bool changed = field != static_cast<T>(value);
    field = static_cast<T>(value);
    return changed;
}

}  // namespace

int SectionPosition(const DocState& state) { return SectionGridSide(state.sectionCount); }

int SetSectionPosition(EditedDocument& edited, int position) {
    const int bounded = std::clamp(position, kMinSectionPosition, kMaxSectionPosition);
    EditScope edit(edited, SnapshotRule::None);
    Document& doc = edit.Doc();
    if (Store(doc.State().sectionCount, bounded * bounded)) {
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
    edit.Commit(Store(edit.Doc().State().comparePrecision, bounded));
    return bounded;
}

int StepComparePrecision(EditedDocument& edited, int step) {
    const int from = std::clamp(static_cast<int>(edited.Doc().State().comparePrecision),
                                kMinComparePrecision, kMaxComparePrecision);
    return SetComparePrecision(edited, from + Sign(step));
}

void SetImageFrameStyle(EditedDocument& edited, int style) {
    if (Store(edited.Doc().State().imageFrameStyle, style)) edited.ViewSettingChanged();
}

DisplaySettings DisplaySettingsOf(const DocState& s) {
    return {s.showBackPicture != 0, s.adjustColors != 0,   s.mosaicBackground != 0,
            s.imageFrames != 0,     s.imageFrameWidth,      s.imageFrameColor};
}

void StoreDisplaySettings(EditedDocument& edited, const DisplaySettings& d) {
    EditScope edit(edited, SnapshotRule::None);
    DocState& s = edit.Doc().State();
    bool changed = Store(s.mosaicBackground, d.mosaicBackground ? 1 : 0);
    changed |= Store(s.adjustColors, d.adjustColors ? 1 : 0);
    changed |= Store(s.imageFrames, d.imageFrames ? 1 : 0);
    changed |= Store(s.showBackPicture, d.showBackPicture ? 1 : 0);
    changed |= Store(s.imageFrameWidth, std::clamp(d.imageFrameWidth, kMinFrameWidth, kMaxFrameWidth));
    changed |= Store(s.imageFrameColor, d.imageFrameColor);
    edit.Commit(changed);
}

}  // namespace tessaly
