#include "view/image_adding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QProgressDialog>
#include <QThread>
#include <QUrl>

#include "canvas/selection.h"
#include "view/atelier_view.h"
#include "view/canvas_cursors.h"
#include "canvas/view_geometry.h"
#include "edits/image_edits.h"
#include "edits/image_size_check.h"
#include "document/document.h"
#include "image/image_files.h"
#include "image/image_links.h"
#include "image/link_download.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"
#include "services/system_memory.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

constexpr int kMemoryWarningPercent = 90;
constexpr int kShowDownloadAfterMs = 500;

// The sample images installed beside the program.
QString SampleImagesFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"images"_qs);
}

// The web address a browser's drop carries, if any.
QString WebLinkOf(const QMimeData& data) {
    QList<QUrl> urls = data.urls();
    if (urls.isEmpty() && data.hasText()) urls.append(QUrl(data.text().trimmed()));
    for (const QUrl& url : urls) {
        const QString scheme = url.scheme().toLower();
        if (scheme == u"http" || scheme == u"https") return url.toString(QUrl::FullyEncoded);
    }
    return {};
}

}  // namespace

ImageAdding::ImageAdding(CAtelierView& view)
    : view_(view), workers_(std::max(1, QThread::idealThreadCount())) {}

void ImageAdding::AddImagesCommand() {
    if (const auto used = PhysicalMemoryUsedPercent(); used && *used > kMemoryWarningPercent) {
        const QString line = ui_text::kMemoryUsageLine.toString().arg(*used);
        if (ShowMessage(&view_, line, kMsgMemoryNearlyFull, kStyleYesNo) != kResultYes) return;
    }
    QString folder;
    if (ShowMessage(&view_, {}, kMsgAddSampleImages, kStyleYesNo) == kResultYes) {
        folder = SampleImagesFolder();
        if (!QFileInfo(folder).isDir()) ShowMessage(&view_, {}, kMsgNoSampleFolder, kStyleStop);
    }
    const QStringList files =
        chooser_ ? chooser_(folder)
                 : QFileDialog::getOpenFileNames(&view_, ui_text::kAddImagesTitle.toString(),
                                                 folder, ui_text::kAddImagesFilter.toString());
    if (files.isEmpty()) return;
    const CollectedEntries collected = CollectImageEntries(files, false);
    if (collected.overflowed) {
        ShowMessage(&view_, ui_text::kAtMostCountLine.toString().arg(kMaxAddEntries),
                    kMsgTooManyAtOnce, kStyleInformation);
    }
    if (!collected.entries.empty()) AddImageFiles(collected.entries, view_.InsertPoint());
}

bool ImageAdding::AddImageFiles(const std::vector<ImageEntry>& entries, QPoint start) {
    const int answer = ShowMessage(&view_, {}, kMsgShrinkForMosaic, kStyleYesNoCancel);
    if (answer != kResultYes && answer != kResultNo) return false;
    AddImagesRequest request;
    request.start = start;
    request.windowCentre = view_.VisibleCentreOnCanvas();
    if (answer == kResultYes) request.shrinkTo = PhotomosaicMaximumSize();
    request.workers = workers_;
    {
        WaitCursor wait;
        AddImages(view_.Edited(), entries, request);
    }
    view_.SetInsertPoint({});
    return true;
}

bool ImageAdding::AddPictureFile(const QString& path, const QString& type, QPoint viewPoint) {
    LoadedPicture loaded = LoadImageFile(path, type);
    if (!loaded.picture) {
        ShowMessage(&view_, {}, kMsgImageTypeNotSettable, kStyleStop);
        return false;
    }
    view_.SetInsertPoint({});
    const float zoom = view_.Doc().State().zoom;
    const QPoint position{ViewToCanvas(zoom, viewPoint.x()), ViewToCanvas(zoom, viewPoint.y())};
    return AddDroppedPicture(view_.Edited(), position, loaded.size, *std::move(loaded.picture));
}

bool ImageAdding::ReplaceNodeImage(int node, const QString& path, const QString& type,
                                   SnapshotRule rule) {
    LoadedPicture loaded;
    {
        WaitCursor wait;
        loaded = LoadImageFile(path, type);
    }
    if (!loaded.picture) {
        ShowMessage(&view_, {}, kMsgImageTypeNotSettable, kStyleStop);
        return false;
    }
    return ReplaceImage(view_.Edited(), node, *std::move(loaded.picture), rule);
}

bool ImageAdding::CanTake(const QMimeData& data) {
    return data.hasUrls() || data.hasImage() || data.hasText();
}

void ImageAdding::Drop(const QMimeData& data, QPoint client) {
    const QPoint viewPoint = view_.ClientToView(client);
    view_.SetInsertPoint(viewPoint);
    // A browser's drop carries the link and often the same image as a file
    // list as well; the link wins and the file list of that drop is ignored.
    if (const QString link = WebLinkOf(data); !link.isEmpty()) {
        DropLink(link, viewPoint);
        return;
    }
    QStringList files;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) files.append(url.toLocalFile());
    }
    if (!files.isEmpty()) {
        DropFiles(files, viewPoint);
    } else if (data.hasImage()) {
        DropBitmap(qvariant_cast<QImage>(data.imageData()), viewPoint);
    }
}

void ImageAdding::DropFiles(const QStringList& paths, QPoint viewPoint) {
    if (paths.isEmpty()) return;
    const int node = NodeAt(view_.Doc(), viewPoint);
    QStringList offered = paths;
    if (offered.size() > kMaxAddEntries) {
        ShowMessage(&view_, ui_text::kAtMostCountLine.toString().arg(kMaxAddEntries),
                    kMsgTooManyAtOnce, kStyleInformation);
        offered = offered.mid(0, kMaxAddEntries);
    }
    const CollectedEntries collected =
        CollectImageEntries(offered, true, node >= 0 ? 1 : kMaxAddEntries);
    if (collected.entries.empty()) return;
    if (node < 0) {
        AddImageFiles(collected.entries, viewPoint);
        return;
    }
    ReplaceAfterAsking(node, collected.entries.front().path, collected.entries.front().type);
}

void ImageAdding::DropLink(QString link, QPoint viewPoint) {
    const QString type = LinkImageType(link);
    if (type.isEmpty()) return;
    if (link.contains(u'%')) link = PercentDecode(link);
    const QString path = Download(link, type);
    if (path.isEmpty()) return;
    Document& doc = view_.Doc();
    const int node = NodeAt(doc, viewPoint);
    if (node >= 0) {
        ReplaceAfterAsking(node, path, type);
        return;
    }
    // A link that does not give an image is dropped without a word.
    LoadedPicture loaded = LoadImageFile(path, type);
    if (!loaded.picture) return;
    const float zoom = doc.State().zoom;
    const QPoint position{ViewToCanvas(zoom, viewPoint.x()), ViewToCanvas(zoom, viewPoint.y())};
    view_.SetInsertPoint({});
    AddDroppedPicture(view_.Edited(), position, loaded.size, *std::move(loaded.picture));
}

void ImageAdding::DropBitmap(const QImage& bitmap, QPoint viewPoint) {
    if (bitmap.isNull()) return;
    const QString path = SaveBitmapToWorkingFile(bitmap);
    if (!path.isEmpty()) AddPictureFile(path, u"jpeg"_qs, viewPoint);
}

QString ImageAdding::Download(const QString& link, const QString& type) {
    QProgressDialog dialog(ui_text::kDownloading.toString(), ui_text::kCancel.toString(), 0, 0,
                           &view_);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(kShowDownloadAfterMs);
    WaitCursor wait;
    return DownloadLink(link, type, {}, [&dialog](qint64 received, qint64 total) {
        if (total > 0) {
            dialog.setMaximum(static_cast<int>(std::min<qint64>(total, INT_MAX)));
            dialog.setValue(static_cast<int>(std::min(received, total)));
        } else {
            dialog.setValue(0);
        }
        return !dialog.wasCanceled();
    });
}

void ImageAdding::ReplaceAfterAsking(int node, const QString& path, const QString& type) {
    if (ShowMessage(&view_, {}, kMsgChangeCurrentImage, kStyleYesNo) != kResultYes) return;
    ReplaceNodeImage(node, path, type);
}

}  // namespace tessaly
