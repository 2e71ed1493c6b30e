#include "image/working_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryFile>

#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {

QString WorkingFolder() {
    const QString temp = QDir::tempPath();
    const QString folder =
        temp.isEmpty() ? QString() : QDir(temp).filePath(ui_text::kAppTitle.toString());
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        ShowMessage(kMsgWorkFolderFailed, kStyleStop);
        return {};
    }
    return QDir::toNativeSeparators(folder);
}

QString NewTempFile() {
    const QString folder = WorkingFolder();
    if (folder.isEmpty()) return {};
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("TSDXXXXXX.tmp")));
    file.setAutoRemove(false);
    if (!file.open()) return {};
    return QDir::toNativeSeparators(file.fileName());
}

bool IsGeneratedTempName(const QString& fileName) {
    return fileName.startsWith(QStringLiteral("TSD"), Qt::CaseInsensitive);
}

void CleanWorkingFolder(int maxEntries) {
    const QDir temp(QDir::tempPath());
    const QString folder = temp.filePath(ui_text::kAppTitle.toString());
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (int seen = 0; seen < maxEntries && entries.hasNext(); ++seen) {
        const QFileInfo entry = entries.nextFileInfo();
        if (entry.isFile() && IsGeneratedTempName(entry.fileName())) {
            QFile::remove(entry.absoluteFilePath());
        }
    }
}

}  // namespace tessaly
