#include "document/doc_state.h"

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

}  // namespace tessaly
