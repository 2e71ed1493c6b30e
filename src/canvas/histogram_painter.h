#pragma once

#include <QRect>
#include <cstdint>

#include "document/doc_state.h"

class QPainter;

namespace tessaly {

// The two graph areas of the histogram panel, in the painter's coordinates:
// 512 pixels wide, filled with the graph's ground colour. Empty when the
// panel was left black.
struct HistogramGraphs {
    QRect upper;  // the background picture
    QRect lower;  // the composing images
};

// Paints the colour histogram comparison into `panel`: a black panel with a
// title, the background histogram in the upper graph and the images'
// histogram in the lower one, each channel a filled curve under a line, each
// graph outlined with a black double line whose width follows `zoom`. With
// no background histogram (null: no background picture) the panel is only
// filled black. Each graph is scaled so that its largest value reaches its
// top; a graph of zeros shows flat lines along its bottom. Values below 0 are
// drawn as 0. Nothing is drawn outside the panel.
HistogramGraphs PaintHistogramPanel(QPainter& painter, const QRect& panel,
                                    const std::int32_t (*background)[kHistogramBins],
                                    const ColourHistogram& images, double zoom);

}  // namespace tessaly
