#include "canvas/node_append.h"

#include <algorithm>

#include "canvas/section_averages.h"
#include "canvas/selection.h"
#include "document/document.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

// The width an image as large as the canvas is given.
constexpr int kOversizeWidth = 250;

}  // namespace

bool CanAddNode(const Document& doc) {
    if (doc.State().nodeCount < kMaxNodes) return true;
    ShowMessage(nullptr, ui_text::kMaxNodeCountLine.toString().arg(kMaxNodes),
                kMsgImageLimitReached, kStyleStop);
    return false;
}

bool AppendNode(Document& doc, QPoint position, int width, int height, ImageBlob picture,
                const std::optional<SectionAverages>& averages) {
    if (!CanAddNode(doc)) return false;
    DocState& s = doc.State();
    const int c = s.nodeCount;
    if (width >= s.canvasWidth || height >= s.canvasHeight) {
        height = static_cast<int>(static_cast<float>(height) *
                                  (static_cast<float>(kOversizeWidth) / static_cast<float>(width)));
        width = kOversizeWidth;
    }
    NodeRecord& node = doc.Node(c);
    const NodeRecord previous = node;
    node = NodeRecord{};
    // The arrangement's fields and the reserved bytes are not the append's.
    node.cellColor = previous.cellColor;
    std::copy(std::begin(previous.reserved), std::end(previous.reserved),
              std::begin(node.reserved));
    node.centerX = position.x();
    node.centerY = position.y();
    node.halfWidth = width / 2;
    node.halfHeight = height / 2;
    if (averages) {
        std::copy(std::begin(averages->red), std::end(averages->red), node.avgRed);
        std::copy(std::begin(averages->green), std::end(averages->green), node.avgGreen);
        std::copy(std::begin(averages->blue), std::end(averages->blue), node.avgBlue);
    } else {
        ComputeSectionAverages(picture, s.sectionCount, node.avgRed, node.avgGreen, node.avgBlue);
    }
    node.picture = doc.Pictures().Adopt(std::move(picture));
    node.visible = 1;
    s.nodeCount = c + 1;
    doc.Mark(c).selected = 1;
    KeepInsideCanvas(doc, c, KeepBy::Edges);
    s.mainSelection = c;
    return true;
}

void ReplaceNodePicture(Document& doc, int node, ImageBlob picture) {
    NodeRecord& record = doc.Node(node);
    ComputeSectionAverages(picture, doc.State().sectionCount, record.avgRed, record.avgGreen,
                           record.avgBlue);
    doc.Pictures().Release(record.picture);
    record.picture = doc.Pictures().Adopt(std::move(picture));
}

}  // namespace tessaly
