#include "document/doc_state.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

void ApplyNewDocumentValues(DocState& s) {
    s.nodeCount = 0;
    s.mainSelection = -1;
    s.savedScrollX = 0;
    s.savedScrollY = 0;
    s.zoom = 1.0f;
    s.zoomConsoleX = 79;
    s.zoomConsoleY = 79;
    s.zoomConsolePinned = 1;
    s.canvasWidth = 1000;
    s.canvasHeight = 1000;
    s.backColor = 0xFFFFFF;
    s.canvasLineColor = 0x7B5A48;
    s.canvasLineWidth = 1;
    s.canvasLineStyle = 0;
    s.backPicture = PictureRef{};
    s.backBrightness = 4;
    s.adjustColors = 0;
    s.mosaicBackground = 0;
    s.differentColors = 0;
    s.imageFrames = 0;
    s.showBackPicture = 1;
    s.skipNoSetColor = 0;
    s.noSetColor = 0xFFFFFF;
    s.noSetRange = 5;
    s.gridColumns = 20;
    s.gridRows = 20;
    s.layerThickness = 1;
    s.sizeSteps = 3;
    s.mosaicType = 1;
    s.sectionCount = 9;
    s.comparePrecision = 13;
    s.imageFrameWidth = 1;
    s.imageFrameStyle = 0;
    s.imageFrameColor = kColorNone;
    s.gridMode = -1;
    s.gridOnTop = 0;
    s.cutLineColor = 0x000000;
    s.cutLineWidth = 1;
}

namespace {

void ClampInt(std::int32_t& value, int low, int high) { value = std::clamp<std::int32_t>(value, low, high); }

}  // namespace

void ClampToValidRanges(DocState& s) {
    ClampInt(s.canvasWidth, kMinCanvasSide, kMaxCanvasSide);
    ClampInt(s.canvasHeight, kMinCanvasSide, kMaxCanvasSide);
    if (!std::isfinite(s.zoom)) s.zoom = 1.0f;
    s.zoom = std::clamp(s.zoom, kMinZoom, kMaxZoom);
    s.zoom = std::min({s.zoom, float(kMaxCanvasSide) / float(s.canvasWidth),
                       float(kMaxCanvasSide) / float(s.canvasHeight)});
    ClampInt(s.backBrightness, 1, 7);
    ClampInt(s.noSetRange, 0, 100);
    ClampInt(s.gridColumns, 20, 500);
    ClampInt(s.gridRows, 20, 500);
    ClampInt(s.layerThickness, 1, 100);
    ClampInt(s.sizeSteps, 1, 100);
    ClampInt(s.mosaicType, 1, 7);
    if (s.sectionCount != 1 && s.sectionCount != 4 && s.sectionCount != 9 &&
        s.sectionCount != 16 && s.sectionCount != 25) {
        s.sectionCount = 9;
    }
    ClampInt(s.comparePrecision, 1, 25);
    ClampInt(s.cutLineWidth, 1, 5);
    // Widths and styles use only their low 16 bits.
    s.canvasLineWidth = std::clamp(s.canvasLineWidth & 0xFFFF, 1, 20);
    s.imageFrameWidth = std::clamp(s.imageFrameWidth & 0xFFFF, 1, 20);
    s.canvasLineStyle = std::clamp(s.canvasLineStyle & 0xFFFF, 0, 5);
    ClampInt(s.imageFrameStyle, 0, 5);
}

}  // namespace tessaly
