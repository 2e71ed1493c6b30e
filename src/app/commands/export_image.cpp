// "1枚のイメージとして保存": the file in the save dialog (JPEG preselected)
// and, for JPEG, the quality in CAssukuDlg; then the core exports the canvas.

#include <QCoreApplication>
#include <QFileDialog>

#include "app/dialogs/assuku_dlg.h"
#include "app/atelier_doc.h"
#include "app/commands/command.h"
#include "edits/export_canvas.h"
#include "edits/export_file_types.h"
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

void Export(CommandEnvironment& env) {
    QWidget* owner = env.Owner();
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
    ExportCanvasImage(env.Edited(), env.AtelierDoc().Title(), dialogs, owner);
}

}  // namespace

void AddExportCommand(CommandTable& table) {
    table.Add({.id = CommandId::kExportImage,
               .texts = {u"1枚のイメージとして保存(&I)",
                         {},
                         u"ビューの表示内容を1枚のイメージファイルとして保存します\n【1枚のイメージとして保存】"},
               .icon = QStringLiteral(":/icons/export_image.svg"),
               .run = Export});
}

}  // namespace tessaly
