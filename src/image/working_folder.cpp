#include "image/working_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryFile>

#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

// The names written over by each use: a bitmap taken from another program
// (SaveBitmapToWorkingFile) and a downloaded link ("tmp." + its image type).
constexpr QStringView kFixedNames[] = {u"tmp.jpeg", u"tmp.gif", u"tmp.bmp", u"tmp.png",
                                       u"tmp.tiff"};

}  // namespace

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
    // Named directly, so however full the folder is they never stay behind.
    for (QStringView name : kFixedNames) QFile::remove(QDir(folder).filePath(name.toString()));
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (int seen = 0; seen < maxEntries && entries.hasNext(); ++seen) {
        const QFileInfo entry = entries.nextFileInfo();
        if (entry.isFile() && IsGeneratedTempName(entry.fileName())) {
            QFile::remove(entry.absoluteFilePath());
        }
    }
}

}  // namespace tessaly
