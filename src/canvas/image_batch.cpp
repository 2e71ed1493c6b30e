#include "canvas/image_batch.h"

#include <QFileInfo>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "canvas/view_geometry.h"
#include "document/document.h"
#include "image/image_files.h"
#include "mosaic/colour_features.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"
#include "services/status_service.h"
#include "services/work_progress.h"

namespace tessaly {
namespace {

// How far the workers may run ahead of the images already taken, so that a
// long add never holds more than a few prepared pictures per thread.
constexpr int kLookAheadPerWorker = 4;

// Runs the preparation on worker threads; results are taken in order.
class OrderedPreparer {
public:
    OrderedPreparer(const std::vector<ImageEntry>& entries, const PrepareOptions& options,
                    int workers, DecodeBudget& budget)
        : entries_(entries),
          options_(options),
          budget_(budget),
          results_(entries.size()),
          window_(workers * kLookAheadPerWorker) {
        for (int i = 0; i < workers; ++i)
            threads_.emplace_back([this] { Work(); });
    }

    ~OrderedPreparer() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    PreparedImage Take(int index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return results_[static_cast<std::size_t>(index)].has_value(); });
        PreparedImage result = std::move(*results_[static_cast<std::size_t>(index)]);
        results_[static_cast<std::size_t>(index)].reset();
        taken_ = index + 1;
        lock.unlock();
        changed_.notify_all();
        return result;
    }

private:
    void Work() {
        for (;;) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopped_ || next_ < taken_ + window_; });
            if (stopped_ || next_ >= static_cast<int>(entries_.size())) return;
            const int index = next_++;
            lock.unlock();
            PreparedImage prepared = PrepareWithinBudget(entries_[static_cast<std::size_t>(index)]);
            lock.lock();
            results_[static_cast<std::size_t>(index)] = std::move(prepared);
            lock.unlock();
            changed_.notify_all();
        }
    }

    // The picture's decoded pixels are counted against the budget from
    // before it is decoded until its shrunk copy is encoded.
    PreparedImage PrepareWithinBudget(const ImageEntry& entry) {
        const DecodeBudget::Reservation reserved(budget_, DecodedBytesOf(entry.path));
        return PrepareImage(entry, options_);
    }

    const std::vector<ImageEntry>& entries_;
    const PrepareOptions options_;
    DecodeBudget& budget_;
    std::vector<std::optional<PreparedImage>> results_;
    const int window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int next_ = 0;
    int taken_ = 0;
    bool stopped_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace

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
    const QImage pixels = RasterisePicture(*loaded.picture);
    if (!pixels.isNull()) {
        ComputeSectionAverages(pixels, options.sectionCount, prepared.averages.red,
                               prepared.averages.green, prepared.averages.blue);
        if (options.shrinkTo) {
            prepared.shrunk =
                BitmapToPicture(pixels, options.shrinkTo->width(), options.shrinkTo->height());
        }
    }
    prepared.size = loaded.size;
    prepared.picture = std::move(loaded.picture);
    return prepared;
}

void PrepareInOrder(const std::vector<ImageEntry>& entries, const PrepareOptions& options,
                    int workers, DecodeBudget& budget,
                    const std::function<bool(int, PreparedImage&)>& consume) {
    const int count = static_cast<int>(entries.size());
    if (workers <= 1 || count <= 1) {
        for (int i = 0; i < count; ++i) {
            PreparedImage prepared = PrepareImage(entries[static_cast<std::size_t>(i)], options);
            if (!consume(i, prepared)) return;
        }
        return;
    }
    OrderedPreparer preparer(entries, options, std::min(workers, count), budget);
    for (int i = 0; i < count; ++i) {
        PreparedImage prepared = preparer.Take(i);
        if (!consume(i, prepared)) return;
    }
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
