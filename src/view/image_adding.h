#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "canvas/image_batch.h"
#include "document/edited_document.h"

class QImage;
class QMimeData;

namespace tessaly {

class CAtelierView;

// How images reach the canvas: the add-images command with its file dialog,
// files, links and bitmaps dropped on the view, and replacing the image of
// the main selection. New nodes go on top of all others, selected.
class ImageAdding {
public:
    explicit ImageAdding(CAtelierView& view);

    // "イメージ追加": asks about memory and the sample images, lets the user
    // pick files and adds them at the insertion point.
    void AddImagesCommand();

    // Adds several images starting at `start` (view pixels; (0, 0) for the
    // middle of the window), after asking whether to shrink them. False when
    // the user cancelled.
    bool AddImageFiles(const std::vector<ImageEntry>& entries, QPoint start);

    // Adds the image of one file at `viewPoint`, selected alone; no undo.
    bool AddPictureFile(const QString& path, const QString& type, QPoint viewPoint);

    // Gives node `node` the image of a file and makes it the main selection;
    // it keeps its rectangle. Undoable unless `rule` says otherwise.
    bool ReplaceNodeImage(int node, const QString& path, const QString& type,
                          SnapshotRule rule = SnapshotRule::Always);

    // Drops: whether the data is something the canvas takes, and taking it
    // at a client point.
    static bool CanTake(const QMimeData& data);
    void Drop(const QMimeData& data, QPoint client);

    // The file list of a drop: new nodes, or a new image for the node under
    // the drop point after asking.
    void DropFiles(const QStringList& paths, QPoint viewPoint);
    // A link dropped from a browser: downloaded, then added or put into the
    // node under the drop point.
    void DropLink(QString link, QPoint viewPoint);
    // A bitmap dropped from another program.
    void DropBitmap(const QImage& bitmap, QPoint viewPoint);

    // Worker threads for preparing images; 1 prepares on the calling thread.
    void SetWorkersForTesting(int workers) { workers_ = workers; }
    // Replaces the file dialog of the add-images command.
    using FileChooser = std::function<QStringList(const QString& folder)>;
    void SetFileChooserForTesting(FileChooser chooser) { chooser_ = std::move(chooser); }

private:
    // Asks whether to change the image of node `node`; on yes makes it the
    // main selection and gives it the file's image.
    void ReplaceAfterAsking(int node, const QString& path, const QString& type);
    QString Download(const QString& link, const QString& type);

    CAtelierView& view_;
    int workers_;
    FileChooser chooser_;
};

}  // namespace tessaly
