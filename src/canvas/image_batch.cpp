#include "canvas/image_batch.h"

#include <QFileInfo>

#include "canvas/section_averages.h"
#include "canvas/view_geometry.h"
#include "document/document.h"
#include "image/image_files.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"
#include "services/ordered_work.h"
#include "services/status_service.h"
#include "services/work_progress.h"

namespace tessaly {

CollectedEntries CollectImageEntries(const QStringList& paths, bool onlyExistingFiles,
                                     int stopAfter) {
    CollectedEntries collected;
    const int limit = std::min(stopAfter, kMaxAddEntries);
    for (const QString& path : paths) {
        if (onlyExistingFiles && !QFileInfo(path).isFile()) continue;
        const QString type = ImageTypeOf(path);
        if (type.isEmpty()) continue;
        if (static_cast<int>(collected.entries.size()) >= limit) {
            collected.overflowed = stopAfter >= kMaxAddEntries;
            break;
        }
        collected.entries.push_back({path, type});
    }
    return collected;
}

PreparedImage PrepareImage(const ImageEntry& entry, const PrepareOptions& options) {
    PreparedImage prepared;
    LoadedPicture loaded = LoadImageFile(entry.path, entry.type);
    if (!loaded.picture) return prepared;
    // A picture that is shrunk is decoded only as large as its shrunk copy
    // needs, and measured from that.
    const QSize decodeAtLeast = options.shrinkTo.value_or(QSize());
    const QImage pixels = RasterisePicture(*loaded.picture, decodeAtLeast);
    if (!pixels.isNull()) {
        ComputeSectionAverages(pixels, loaded.size, options.sectionCount, prepared.averages.red,
                               prepared.averages.green, prepared.averages.blue);
        if (options.shrinkTo) {
            const QImage shrunk = pixels.scaled(*options.shrinkTo, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation);
            prepared.shrunk =
                BitmapToPicture(shrunk, options.shrinkTo->width(), options.shrinkTo->height());
        }
    }
    prepared.size = loaded.size;
    prepared.picture = std::move(loaded.picture);
    return prepared;
}

void PrepareInOrder(const std::vector<ImageEntry>& entries, const PrepareOptions& options,
                    int workers, DecodeBudget& budget,
                    const std::function<bool(int, PreparedImage&)>& consume) {
    const std::function<PreparedImage(int)> prepare = [&](int i) {
        const ImageEntry& entry = entries[static_cast<std::size_t>(i)];
        if (workers <= 1) return PrepareImage(entry, options);
        // The picture's decoded pixels are counted against the budget from
        // before it is decoded until its shrunk copy is encoded.
        const DecodeBudget::Reservation reserved(budget, DecodedBytesOf(entry.path));
        return PrepareImage(entry, options);
    };
    RunInOrder(static_cast<int>(entries.size()), workers, prepare, consume);
}

int AddImageFiles(Document& doc, const std::vector<ImageEntry>& entries,
                  const AddImagesRequest& request) {
    StatusProgress progress(static_cast<int>(entries.size()));
    WorkProgress work(ui_text::kAddingImages.toString(), static_cast<int>(entries.size()));
    PrepareOptions options;
    options.sectionCount = doc.State().sectionCount;
    options.shrinkTo = request.shrinkTo;
    std::optional<DecodeBudget> defaultBudget;
    DecodeBudget& budget =
        request.budget ? *request.budget : defaultBudget.emplace(DecodeBudget::DefaultLimit());
    int added = 0;
    PrepareInOrder(entries, options, request.workers, budget, [&](int i, PreparedImage& prepared) {
        SetStatusInfo(entries[static_cast<std::size_t>(i)].path);
        if (!prepared.picture) {
            ShowMessage(kMsgImageTypeNotSettable, kStyleStop);
            return false;
        }
        const QPoint viewPoint = request.start + QPoint(10 * i, 10 * i);
        const float zoom = doc.State().zoom;
        const QPoint position = viewPoint.isNull() ? request.windowCentre
                                                   : QPoint(ViewToCanvas(zoom, viewPoint.x()),
                                                            ViewToCanvas(zoom, viewPoint.y()));
        if (!AppendNode(doc, position, prepared.size.width(), prepared.size.height(),
                        *std::move(prepared.picture), prepared.averages)) {
            return false;
        }
        ++added;
        if (request.shrinkTo) {
            DocState& s = doc.State();
            NodeRecord& node = doc.Node(s.nodeCount - 1);
            if (prepared.shrunk) {
                doc.Pictures().Release(node.picture);
                node.picture = doc.Pictures().Adopt(*std::move(prepared.shrunk));
                node.halfWidth = request.shrinkTo->width() / 2;
                node.halfHeight = request.shrinkTo->height() / 2;
            } else {
                // A picture that cannot be shrunk is not kept.
                doc.Pictures().Release(node.picture);
                doc.Mark(s.nodeCount - 1).selected = 0;
                --s.nodeCount;
                --added;
                const int last = s.nodeCount - 1;
                s.mainSelection = last >= 0 && doc.IsSelected(last) ? last : -1;
            }
        }
        progress.SetPos(i);
        // Stopping keeps the images added so far.
        return work.Advance(i + 1);
    });
    SetStatusInfo({});
    return added;
}

}  // namespace tessaly
