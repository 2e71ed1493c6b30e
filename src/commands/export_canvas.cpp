#include "commands/export_canvas.h"

#include <QDir>

#include "canvas/canvas_image.h"
#include "commands/export_file_types.h"
#include "commands/saved_file_prompts.h"
#include "document/edited_document.h"
#include "image/bmp_writer.h"
#include "image/image_files.h"
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

bool WriteImage(const QImage& image, const QString& path, int typeIndex, int quality,
                QObject* owner) {
    const ExportFileType& type = *ExportFileTypeAt(typeIndex);
    if (type.IsBmp()) {
        QString failedStep;
        if (WriteBmpFile(image, path, type.bitsPerPixel, type.compression, &failedStep))
            return true;
        ShowMessage(owner, failedStep.isEmpty() ? QString() : failedStep + u'\n',
                    kMsgBitmapSaveFailed, kStyleStop);
        return false;
    }
    bool written = false;
    {
        const WaitCursor wait;
        written = SaveBitmapFile(image, path, image.width(), image.height(),
                                 ExportEncoderType(typeIndex), quality, false);
    }
    if (!written)
        ShowMessage(owner, QDir::toNativeSeparators(path) + u'\n', kMsgFileSaveFailed,
                    kStyleStop);
    return written;
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

    CanvasImageRequest request;
    request.zoom = *zoom;
    request.viewMarks = false;
    const QImage image = RenderCanvasImage(edited.Doc(), request);
    if (image.isNull()) {
        ShowMessage(owner, {}, kMsgMemoryAllocFailed, kStyleStop);
        return false;
    }
    DeselectAllNodes(edited);

    if (!WriteImage(image, target->path, typeIndex, quality, owner)) return false;
    OfferToShowSavedFile(target->path, owner);
    return true;
}

}  // namespace tessaly
