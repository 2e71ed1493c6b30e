#include "edits/console_run.h"

#include <QElapsedTimer>
#include <algorithm>

#include "edits/console_values.h"
#include "edits/rearrange_nodes.h"
#include "edits/stored_field.h"
#include "document/edited_document.h"
#include "mosaic/colour_features.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

int Flag(bool on) { return on ? 1 : 0; }

// The question a run asks first, or 0 when it may start at once.
int SlowSettingsQuestion(int mosaicType, int sizeSteps) {
    if (mosaicType == 1) return sizeSteps > 10 ? kMsgLongRunContinue : 0;
    return sizeSteps < 10 ? kMsgSizeStepsAtLeast10 : 0;
}

// Grid counts, check boxes, type and sizes: what a run stores before it asks.
void StoreLayout(EditedDocument& edited, const ConsoleSettings& c) {
    EditScope edit(edited, SnapshotRule::None);
    DocState& s = edit.Doc().State();
    bool changed =
        StoreField(s.gridColumns, std::clamp(c.gridColumns, kMinGridCount, kMaxGridCount));
    changed |= StoreField(s.gridRows, std::clamp(c.gridRows, kMinGridCount, kMaxGridCount));
    changed |= StoreField(s.differentColors, Flag(c.differentColors));
    changed |= StoreField(s.imageFrames, Flag(c.display.imageFrames));
    changed |= StoreField(s.showBackPicture, Flag(c.display.showBackPicture));
    changed |= StoreField(s.skipNoSetColor, Flag(c.skipNoSetColor));
    changed |= StoreField(s.mosaicType, KnownMosaicType(c.mosaicType));
    changed |= StoreField(s.layerThickness,
                          std::clamp(c.layerThickness, kMinLayerCount, kMaxLayerCount));
    changed |= StoreField(s.sizeSteps, std::clamp(c.sizeSteps, kMinLayerCount, kMaxLayerCount));
    edit.Commit(changed);
}

// The no-set colour and range, then the display settings.
void StoreColoursAndDisplay(EditedDocument& edited, const ConsoleSettings& c) {
    EditScope edit(edited, SnapshotRule::None);
    DocState& s = edit.Doc().State();
    bool changed = StoreField(s.noSetColor, c.noSetColor);
    changed |= StoreField(s.noSetRange, std::clamp(c.noSetRange, kMinNoSetRange, kMaxNoSetRange));
    edit.Commit(changed);
    StoreDisplaySettings(edited, c.display);
}

}  // namespace

ConsoleSettings ConsoleSettingsOf(const DocState& s) {
    ConsoleSettings c;
    c.gridColumns = s.gridColumns;
    c.gridRows = s.gridRows;
    c.differentColors = s.differentColors != 0;
    c.skipNoSetColor = s.skipNoSetColor != 0;
    c.mosaicType = KnownMosaicType(s.mosaicType);
    c.layerThickness = s.layerThickness;
    c.sizeSteps = s.sizeSteps;
    c.noSetColor = s.noSetColor;
    c.noSetRange = s.noSetRange;
    c.display = DisplaySettingsOf(s);
    return c;
}

ConsoleRunResult RunRearrange(EditedDocument& edited, const ConsoleSettings& settings,
                              std::uint32_t seed, const RunObserver& observer,
                              QObject* owner) {
    ConsoleRunResult result;
    StoreLayout(edited, settings);
    const DocState& s = edited.Doc().State();
    if (const int question = SlowSettingsQuestion(s.mosaicType, s.sizeSteps);
        question != 0 && ShowMessage(owner, {}, question, kStyleYesNo) != kResultYes) {
        return result;
    }
    result.confirmed = true;
    StoreColoursAndDisplay(edited, settings);

    if (observer.started) observer.started();
    SetStatusInfo(kRearrangingText.toString());
    QElapsedTimer clock;
    clock.start();
    result.arranged = RearrangeNodes(edited, seed, &result.stats);
    // One clock for the seconds and the milliseconds, so that a short run
    // never shows a whole second it did not take.
    if (observer.finished) observer.finished(FormatElapsed(clock.elapsed()));
    SetStatusInfo({});
    return result;
}

bool ShowContentRate(const Document& doc, ColorRef colour, QObject* owner) {
    const ImageBlob* background = doc.Picture(doc.State().backPicture);
    if (!background) {
        ShowMessage(owner, {}, kMsgNoBackgroundToMeasure, kStyleStop);
        return false;
    }
    const float percent = MeasureContentRate(*background, colour);
    PresentMessage(owner, kContentRateCaption.toString(),
                   QString::asprintf("上記の色 RGB(%d, %d, %d) は、背景イメージ中に %.03f %% 含まれています",
                                     ColorRed(colour), ColorGreen(colour), ColorBlue(colour),
                                     static_cast<double>(percent)),
                   kStyleInformation);
    return true;
}

}  // namespace tessaly
