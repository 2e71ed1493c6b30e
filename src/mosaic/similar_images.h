#pragma once

#include <QImage>
#include <optional>
#include <vector>

#include "document/node_record.h"
#include "image/image_blob.h"

namespace tessaly {

class Document;

// The images of a document that come closest in colour to the background
// under one node, by the comparison the arrangement makes: the node's section
// averages against the sections of the background stretched over the canvas,
// with the document's section count and tolerance.

inline constexpr int kSimilarImagesShown = 8;

struct SimilarImage {
    int node;      // index in the node table
    int distance;  // the three channels' average section differences, added: 0..765
    bool placed;   // shown on the canvas; an unplaced image is hidden
};

// The document's background picture, to be sampled under any node. A JPEG
// picture is decoded only as far down as the node reaches, from the rows it
// covers; any other is decoded whole, once.
class BackgroundUnderNodes {
public:
    explicit BackgroundUnderNodes(const Document& doc);

    // False without a background picture, or when it is not a JPEG picture
    // and cannot be decoded.
    bool Valid() const { return jpeg_.has_value() || !decoded_.isNull(); }

    // The section averages of the background under `node`'s rectangle, as
    // the arrangement samples a cell there: the background picture stretched
    // over the canvas, white past it.
    void Sample(const NodeRecord& node, int sectionCount, SectionValues& red,
                SectionValues& green, SectionValues& blue) const;

private:
    // The picture's pixels wherever the node's rows read them.
    QImage PixelsFor(qint64 top, qint64 bottom) const;

    std::optional<ImageBlob> jpeg_;
    QImage decoded_;
    int canvasWidth_ = 0;
    int canvasHeight_ = 0;
};

// The `count` images closest to the background under `node`, closest first
// and equal distances in index order, from every other node with a picture,
// placed or not. An image with a section farther than the tolerance on any
// channel is left out, as the arrangement would never choose it. Empty when
// the background cannot be read or `node` is not in use.
std::vector<SimilarImage> FindSimilarImages(const Document& doc,
                                            const BackgroundUnderNodes& background, int node,
                                            int count = kSimilarImagesShown);

}  // namespace tessaly
