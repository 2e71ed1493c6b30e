#include "app/node_image_commands.h"

#include <QFileDialog>

#include "canvas/view/atelier_view.h"
#include "commands/node_image_files.h"
#include "resources/ui_strings.h"

namespace tessaly {
namespace {

// The entry of the image filter a save dialog starts with: JPEG.
constexpr int kJpegFilterIndex = 1;

QString ChooseImageToOpen(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, ui_text::kChangeImageTitle.toString(), {},
                                        ui_text::kImageFileFilter.toString());
}

QString ChooseImageToSave(QWidget* owner) {
    const QStringList filters = ui_text::kImageFileFilter.toString().split(QStringLiteral(";;"));
    QFileDialog dialog(owner, ui_text::kSaveFileTitle.toString());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the command asks itself
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(kJpegFilterIndex));
    dialog.setDefaultSuffix(ui_text::kNodeImageSuffix.toString());
    dialog.selectFile(ui_text::kUntitledImageName.toString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

void ChangeNodeImageCommand(CAtelierView& view, QWidget* owner) {
    ChangeNodeImage(
        view.Doc(), [owner] { return ChooseImageToOpen(owner); },
        [&view](int node, const QString& path, const QString& type) {
            return view.Images().ReplaceNodeImage(node, path, type, SnapshotRule::None);
        });
}

void SaveNodeImageCommand(CAtelierView& view, QWidget* owner) {
    SaveNodeImage(
        view.Doc(), [owner] { return ChooseImageToSave(owner); }, owner);
}

}  // namespace tessaly
