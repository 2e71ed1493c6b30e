#include "app/ui_helpers.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTreeWidget>

#include "resources/string_table.h"

namespace tessaly {

QString BrowseFolder(QWidget* owner, const QString& initialPath) {
    const QString start =
        !initialPath.isEmpty() && QFileInfo(initialPath).isDir() ? initialPath : QDir::homePath();
    QFileDialog dialog(owner, ui_text::kBrowseFolderCaption.toString(), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setLabelText(QFileDialog::LookIn, ui_text::kBrowseFolderPrompt.toString());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.constFirst());
}

void NumberRows(QTreeWidget* list) {
    if (!list)
        return;
    const int count = list->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        list->topLevelItem(i)->setText(0, QString::number(i + 1));
    }
}

}  // namespace tessaly
