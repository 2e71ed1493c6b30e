#include "edits/export_canvas.h"

#include <QDir>

#include "canvas/canvas_image.h"
#include "edits/export_file_types.h"
#include "edits/export_progress.h"
#include "edits/saved_file_prompts.h"
#include "document/edited_document.h"
#include "image/image_writer.h"
#include "image/safe_file.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

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

// Paints the canvas band by band into the file, followed in the progress
// window, which has closed again when this returns.
WriteResult PaintAndWrite(const Document& doc, const QString& path, const OutputFormat& format,
                          float zoom) {
    ExportProgress progress;
    CanvasImageRequest canvas;
    canvas.zoom = zoom;
    canvas.viewMarks = false;
    ImageWriteRequest request = CanvasWriteRequest(doc, canvas, path, format);
    request.progress = [&progress](int done, int total) { return progress.Band(done, total); };
    request.watch = progress.Watch();
    return WriteImageFile(request);
}

void ReportFailure(const WriteResult& result, const QString& path, const OutputFormat& format,
                   QObject* owner) {
    const QString pathLine = QDir::toNativeSeparators(path) + u'\n';
    if (result.outcome == WriteResult::Outcome::NoMemory) {
        ShowMessage(owner, {}, kMsgMemoryAllocFailed, kStyleStop);
    } else if (result.outcome == WriteResult::Outcome::TooLarge && !format.IsBmp()) {
        ShowMessage(owner, pathLine, kMsgTooLargeForGif, kStyleStop);
    } else if (IsDiskFullError(result.error)) {
        ShowMessage(owner, pathLine, kMsgDiskFull, kStyleStop);
    } else if (format.IsBmp()) {
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
    OutputFormat format = ExportFileTypeAt(ExportTypeForPath(target->path, target->typeIndex))->format;

    if (format.type == OutputFormat::Type::Jpeg) {
        const std::optional<int> chosen = dialogs.chooseQuality();
        if (!chosen) return false;
        format.jpegQuality = *chosen;
    }
    if (!ConfirmOverwrite(target->path, owner)) return false;
    const std::optional<float> zoom = ChooseExportZoom(edited.Doc().State().zoom, owner);
    if (!zoom) return false;

    // The windows of the questions are gone before the long work starts.
    if (dialogs.beforeWork) dialogs.beforeWork();
    const WriteResult result = PaintAndWrite(edited.Doc(), target->path, format, *zoom);
    if (result.outcome == WriteResult::Outcome::Cancelled) return false;
    DeselectAllNodes(edited);
    if (!result.Written()) {
        ReportFailure(result, target->path, format, owner);
        return false;
    }
    OfferToShowSavedFile(target->path, owner);
    return true;
}

}  // namespace tessaly
