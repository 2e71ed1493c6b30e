#pragma once

#include <QPoint>
#include <optional>

#include "canvas/section_averages.h"
#include "document/node_record.h"
#include "image/image_blob.h"

namespace tessaly {

class Document;

// A node's colour averages per comparison section, worked out before the
// node is appended (for instance on a worker thread).
struct SectionAverages {
    SectionValues red{};
    SectionValues green{};
    SectionValues blue{};
};

// Whether one more node fits in the document. When it does not, says so
// (the limit of 9000 nodes) and returns false.
bool CanAddNode(const Document& doc);

// Appends a node on top of all others: centred on `position` (canvas pixels)
// with the given size in pixels, holding `picture`. A picture as wide or as
// high as the canvas becomes 250 pixels wide with its aspect kept. The node
// is selected, becomes the main selection and is pushed inside the canvas by
// its edges. Its colour averages are `averages` when given, else computed
// from the picture. False (nothing appended) when the document is full.
bool AppendNode(Document& doc, QPoint position, int width, int height, ImageBlob picture,
                const std::optional<SectionAverages>& averages = std::nullopt);

// Gives node `node` a new picture: the old one is released, the rectangle
// stays (the picture is stretched to it) and the colour averages are worked
// out again.
void ReplaceNodePicture(Document& doc, int node, ImageBlob picture);

}  // namespace tessaly
