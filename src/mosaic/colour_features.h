#pragma once

#include <QImage>
#include <array>
#include <cstdint>

#include "canvas/section_averages.h"
#include "document/doc_state.h"
#include "document/node_record.h"

namespace tessaly {

class Document;
class ImageBlob;

// The colour measures the arrangement compares: per-section average colours of
// a picture or of a cell of the background, histograms of the background and
// of the node pictures, and how much of a picture is one exact colour. The
// section averages themselves are in canvas/section_averages.h.

// The same for node `node` of the document, into the node's own arrays, with
// the document's section count. False when the node is out of the table, has
// no picture, or its picture cannot be decoded.
bool ComputeNodeSectionAverages(Document& doc, int node);

// Recomputes the averages of every node in use, showing a note and the
// progress on the status bar meanwhile. Nodes whose picture is missing or
// cannot be decoded keep the averages they had.
void RecomputeAllSectionAverages(Document& doc);

// The canvas as the arrangement samples it: canvasWidth x canvasHeight pixels
// (RGB32) holding the background picture stretched over the whole canvas, or
// white without one (or when it cannot be decoded). Canvas sides are kept
// within 0..kMaxCanvasSide; a side of 0 gives a null image, which samples as
// white throughout.
QImage MakeSamplingSurface(const Document& doc);

// A blank RGB32 image for sampling, or null for sides outside
// 1..kMaxCanvasSide. Sampling reads it cell by cell all over, so on Linux its
// pixels are in memory the kernel is asked to back with huge pages, which
// keeps address translation from dominating the reads.
QImage NewSamplingSurface(int width, int height);

// The background histogram: each bin holds the share of pixels with that
// channel value in ten-thousandths, truncated. Returns false, leaving the
// histogram as it was, when the picture cannot be decoded.
bool ComputeBackgroundHistogram(const ImageBlob& picture,
                                std::int32_t (&histogram)[kHistogramBins]);

// Makes `picture` the document's background picture: the earlier one is
// released, the new one goes into the document's pool and the background
// histogram is measured from it.
void AdoptBackgroundPicture(Document& doc, ImageBlob picture);

// The histogram of the section averages of all nodes in use, in
// ten-thousandths of all sections counted; all zero without nodes. Drives the
// status-bar progress while it runs.
ColourHistogram ComputeImagesHistogram(const Document& doc);

// The share, in percent, of the picture's pixels whose red, green and blue
// equal those of `colour` exactly. 0 for kColorNone and when the picture
// cannot be decoded.
float MeasureContentRate(const ImageBlob& picture, ColorRef colour);

}  // namespace tessaly
