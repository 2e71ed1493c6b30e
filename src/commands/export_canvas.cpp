#include "commands/export_canvas.h"

#include <QDir>

#include "canvas/canvas_image.h"
#include "commands/export_file_types.h"
#include "commands/export_progress.h"
#include "commands/saved_file_prompts.h"
#include "document/edited_document.h"
#include "image/bmp_writer.h"
#include "image/image_files.h"
#include "image/safe_file.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

constexpr int kEncoderQuality = 100;

// The zoom to render at, or nothing when the user cancels.
std::optional<float> ChooseExportZoom(float zoom, QObject* owner) {
    if (zoom == 1.0f) return 1.0f;
    switch (ShowMessage(owner, {}, kMsgSaveAtCurrentZoom, kStyleYesNoCancel)) {
        case kResultYes:
            return zoom;
        case kResultNo:
            return 1.0f;
        default:
            return std::nullopt;
    }
}

// Clears the mark of every node; the main selection keeps its index.
void DeselectAllNodes(EditedDocument& edited) {
    Document& doc = edited.Doc();
    bool changed = false;
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        changed |= doc.Mark(i).selected != 0;
        doc.Mark(i).selected = 0;
    }
    if (changed) edited.SelectionChanged();
}

// How painting and writing the picture ended, and why a write failed.
struct ExportResult {
    enum Outcome { kWritten, kCancelled, kNoMemory, kFailed } outcome = kFailed;
    int error = 0;       // the system's error number of a failed write
    QString failedStep;  // the BMP writer's step that failed
};

// Paints the canvas and writes it, followed in the progress window, which
// has closed again when this returns.
ExportResult PaintAndWrite(EditedDocument& edited, const QString& path, int typeIndex, int quality,
                           float zoom) {
    ExportResult result;
    ExportProgress progress;
    CanvasImageRequest request;
    request.zoom = zoom;
    request.viewMarks = false;
    request.progress = [&progress](int done, int total) { return progress.Painted(done, total); };
    const QImage image = RenderCanvasImage(edited.Doc(), request);
    if (progress.Cancelled()) {
        result.outcome = ExportResult::kCancelled;
        return result;
    }
    if (image.isNull()) {
        result.outcome = ExportResult::kNoMemory;
        return result;
    }
    DeselectAllNodes(edited);

    const ExportFileType& type = *ExportFileTypeAt(typeIndex);
    bool written = false;
    if (type.IsBmp()) {
        written = WriteBmpFile(image, path, type.bitsPerPixel, type.compression,
                               &result.failedStep, progress.Watch());
    } else {
        const WaitCursor wait;
        written = SaveBitmapFile(image, path, image.width(), image.height(),
                                 ExportEncoderType(typeIndex), quality, false, progress.Watch());
    }
    result.error = progress.Watch()->error;
    if (written) {
        progress.Written();
        result.outcome = ExportResult::kWritten;
    } else if (progress.Cancelled()) {
        result.outcome = ExportResult::kCancelled;
    }
    return result;
}

void ReportFailure(const ExportResult& result, const QString& path, int typeIndex, QObject* owner) {
    const QString pathLine = QDir::toNativeSeparators(path) + u'\n';
    if (result.outcome == ExportResult::kNoMemory) {
        ShowMessage(owner, {}, kMsgMemoryAllocFailed, kStyleStop);
    } else if (IsDiskFullError(result.error)) {
        ShowMessage(owner, pathLine, kMsgDiskFull, kStyleStop);
    } else if (ExportFileTypeAt(typeIndex)->IsBmp()) {
        ShowMessage(owner, result.failedStep.isEmpty() ? QString() : result.failedStep + u'\n',
                    kMsgBitmapSaveFailed, kStyleStop);
    } else {
        ShowMessage(owner, pathLine, kMsgFileSaveFailed, kStyleStop);
    }
}

}  // namespace

QString DefaultExportName(const QString& title) {
    const qsizetype dot = title.lastIndexOf(u'.');
    QString name = dot < 0 ? title : title.left(dot);
    name.remove(QStringLiteral("\r\n"));
    name.remove(u'\n');
    return name;
}

bool ExportCanvasImage(EditedDocument& edited, const QString& title, const ExportDialogs& dialogs,
                       QObject* owner) {
    const std::optional<ExportTarget> target = dialogs.chooseFile(DefaultExportName(title));
    if (!target || target->path.isEmpty()) return false;
    if (!ExportFileTypeAt(target->typeIndex)) return false;
    const int typeIndex = ExportTypeForPath(target->path, target->typeIndex);

    int quality = kEncoderQuality;
    if (typeIndex == kJpegExportIndex) {
        const std::optional<int> chosen = dialogs.chooseQuality();
        if (!chosen) return false;
        quality = *chosen;
    }
    if (!ConfirmOverwrite(target->path, owner)) return false;
    const std::optional<float> zoom = ChooseExportZoom(edited.Doc().State().zoom, owner);
    if (!zoom) return false;

    // The windows of the questions are gone before the long work starts.
    if (dialogs.beforeWork) dialogs.beforeWork();
    const ExportResult result = PaintAndWrite(edited, target->path, typeIndex, quality, *zoom);
    if (result.outcome == ExportResult::kCancelled) return false;
    if (result.outcome != ExportResult::kWritten) {
        ReportFailure(result, target->path, typeIndex, owner);
        return false;
    }
    OfferToShowSavedFile(target->path, owner);
    return true;
}

}  // namespace tessaly
