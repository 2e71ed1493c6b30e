#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "canvas/node_append.h"
#include "image/decode_budget.h"
#include "image/image_blob.h"

namespace tessaly {

class Document;

// The most images one add takes.
inline constexpr int kMaxAddEntries = 3000;

struct ImageEntry {
    QString path;
    QString type;  // as ImageTypeOf names it
};

struct CollectedEntries {
    std::vector<ImageEntry> entries;
    bool overflowed = false;  // more usable paths than kMaxAddEntries were offered
};

// The usable images among `paths`, in their order: paths of an unknown type
// are skipped, and with `onlyExistingFiles` folders and missing paths too.
// At most kMaxAddEntries, or `stopAfter` when that is smaller.
CollectedEntries CollectImageEntries(const QStringList& paths, bool onlyExistingFiles,
                                     int stopAfter = kMaxAddEntries);

// One image made ready to become a node: loaded, its colour averages worked
// out and, when asked, a shrunk copy made.
struct PreparedImage {
    std::optional<ImageBlob> picture;  // none: the file could not be read as an image
    QSize size;
    SectionAverages averages;
    std::optional<ImageBlob> shrunk;
};

struct PrepareOptions {
    int sectionCount = 9;
    std::optional<QSize> shrinkTo;  // the size of the shrunk copy
};

// Prepares one image; safe to run on any thread.
PreparedImage PrepareImage(const ImageEntry& entry, const PrepareOptions& options);

// Prepares every entry, on `workers` threads when more than one, and hands
// the results to `consume` in the entries' order on the calling thread. The
// workers together hold no more decoded pixels than `budget` allows. A false
// answer from `consume` stops the run; images prepared ahead are then
// dropped.
void PrepareInOrder(const std::vector<ImageEntry>& entries, const PrepareOptions& options,
                    int workers, DecodeBudget& budget,
                    const std::function<bool(int, PreparedImage&)>& consume);

// Where the images of one add go and how they are made.
struct AddImagesRequest {
    // The first image's place in view pixels; (0, 0) for the middle of the
    // window. Image i goes 10 * i pixels right of and below it.
    QPoint start;
    // The middle of the window in canvas pixels.
    QPoint windowCentre;
    // The size shrunk pictures get, when the user asked for shrinking.
    std::optional<QSize> shrinkTo;
    int workers = 1;
    // Bounds the decoded pictures the workers hold at once; none for a
    // budget of DecodeBudget::DefaultLimit().
    DecodeBudget* budget = nullptr;
};

// Adds the entries as new nodes on top, in order. Stops at the first image
// that cannot be read (saying so), when the document is full, and when the
// user stops the work ("イメージを追加しています...", advanced once per
// image); the nodes added before stay. Reports progress on the status bar
// as well. Returns the number of nodes added.
int AddImageFiles(Document& doc, const std::vector<ImageEntry>& entries,
                  const AddImagesRequest& request);

}  // namespace tessaly
