#pragma once

#include <QImage>

namespace tessaly {

class Document;
class ImageBlob;

// Per-node pixel work of the canvas (the CNodeSub role): turning a node's
// picture by any angle and mirroring it.

// The picture turned by `angle` radians about its top-left pixel, with
// nearest-neighbour sampling, on a surface just large enough for the turned
// corners: W' = trunc(maxX - minX + 1.5) and likewise H', where the extremes
// are taken over the turned corner pixels and the origin. Pixels the turned
// picture does not cover are (255, 247, 255). The result is RGB32 and its
// size is the new picture size; a null image when the picture cannot be
// decoded, the angle is not a finite number or the turned size is beyond
// what a picture may have.
QImage RotatePicture(const ImageBlob& picture, double angle);

// Turns node i's picture by `angle` radians. The node keeps its centre and
// its scale: the new half sizes are the turned picture's half sizes times the
// node's former size over its former picture size. Returns false, changing
// nothing, when the node has no picture or the turned picture cannot be made.
bool RotateNodePicture(Document& doc, int i, double angle);

enum class MirrorAxis {
    LeftRight,  // column x becomes column width - 1 - x
    TopBottom,  // row y becomes row height - 1 - y
};

// Mirrors node i's picture; the new picture is a JPEG of quality 100 at the
// old pixel size and the node's geometry stays. Returns false, changing
// nothing, when the node has no picture or it cannot be decoded or
// re-encoded.
bool MirrorNodePicture(Document& doc, int i, MirrorAxis axis);

}  // namespace tessaly
