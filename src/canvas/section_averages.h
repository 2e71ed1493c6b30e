#pragma once

#include <QImage>
#include <QSize>

#include "document/node_record.h"

namespace tessaly {

class ImageBlob;

// The colour averages of a picture's sections, which every node keeps and the
// arrangement compares with the cells of the background.
//
// A picture is divided into sections on an s x s grid (s = 1..5, N = s * s
// sections). Section k lies in row k / s and column k % s; every section is
// w / s by h / s pixels, so the last columns and rows left over by the integer
// division belong to no section.

// The side of the section grid for a stored section count: the integer square
// root, kept within 1..5. Counts other than 1, 4, 9, 16 and 25 thus use the
// largest square grid they hold (0 or less use one section, 10 uses 3 x 3).
int SectionGridSide(int sectionCount);

// The picture rasterised at its pixel size, four bytes a pixel (QRgb, to be
// read with qRed/qGreen/qBlue, the alpha byte ignored). Transparent pixels are
// composited onto black, as if the picture were drawn into a zeroed buffer.
// Decodes the stream directly, past the shared decode cache, so measuring
// thousands of pictures neither fills nor touches the cache and may run on
// any thread. A null image when the stream cannot be decoded.
//
// With `atLeast`, the picture is decoded reduced as DecodeReduced of
// ImageBlob reduces it, both sides staying at least that large, and not
// resampled: a JPEG photograph wanted small costs a fraction of a full
// decode. Its section averages are then measured with the picture's own size
// (the overload of ComputeSectionAverages that takes it).
QImage RasterisePicture(const ImageBlob& picture, QSize atLeast = {});

// Fills the section averages of a picture for `sectionCount` sections. Every
// average is the channel sum over the section divided by its pixel count,
// truncated; a section of no pixels, and every entry past the section count,
// gets 0. Returns false, leaving the arrays as they were, when the picture
// cannot be decoded. Touches no shared state, so it may run on worker threads
// for different pictures.
bool ComputeSectionAverages(const ImageBlob& picture, int sectionCount, SectionValues& red,
                            SectionValues& green, SectionValues& blue);

// The same for a picture already rasterised by RasterisePicture.
bool ComputeSectionAverages(const QImage& rasterised, int sectionCount, SectionValues& red,
                            SectionValues& green, SectionValues& blue);

// The same for a picture of `pictureSize` pixels rasterised reduced: the
// sections are laid out on the picture's own size and read from the raster
// by the share of each raster pixel they cover. They differ from those of a
// full decode only by what the reduction averages away, within a level on
// photographs.
bool ComputeSectionAverages(const QImage& rasterised, QSize pictureSize, int sectionCount,
                            SectionValues& red, SectionValues& green, SectionValues& blue);

// The section averages of the cell whose top-left pixel is (x, y) on the
// sampling surface. Sections are trunc(cellWidth / s) by trunc(cellHeight / s)
// pixels; pixels outside the surface count as white. Entries past the section
// count are set to 0.
void SampleBackgroundCell(const QImage& surface, int sectionCount, int x, int y, double cellWidth,
                          double cellHeight, SectionValues& red, SectionValues& green,
                          SectionValues& blue);

}  // namespace tessaly
