#include "app/export_image_command.h"

#include <QCoreApplication>
#include <QFileDialog>

#include "app/assuku_dlg.h"
#include "commands/export_canvas.h"
#include "commands/export_file_types.h"
#include "resources/ui_strings.h"

namespace tessaly {
namespace {

std::optional<ExportTarget> ChooseExportFile(QWidget* owner, const QString& defaultName) {
    const QStringList& filters = ExportQtFilters();
    QFileDialog dialog(owner, ui_text::kSaveFileTitle.toString());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the export asks itself
    dialog.setNameFilters(filters);
    // A name typed without an extension takes the one of the chosen type.
    const auto followFilter = [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(FilterExtension(filter));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    const QString& jpeg = filters[JpegExportIndex() - 1];
    dialog.selectNameFilter(jpeg);
    followFilter(jpeg);
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ExportTarget{dialog.selectedFiles().front(),
                        static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

}  // namespace

bool ExportCanvasImage(EditedDocument& edited, const QString& title, QWidget* owner) {
    ExportDialogs dialogs;
    dialogs.chooseFile = [owner](const QString& defaultName) {
        return ChooseExportFile(owner, defaultName);
    };
    dialogs.chooseQuality = [owner]() -> std::optional<int> {
        CAssukuDlg dialog(owner);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.Quality();
    };
    // The area the dialogs covered is painted again before the window
    // stays busy.
    dialogs.beforeWork = [owner] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (owner != nullptr) owner->window()->repaint();
    };
    return ExportCanvasImage(edited, title, dialogs, owner);
}

}  // namespace tessaly
