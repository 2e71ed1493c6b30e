#include "app/help_dlg.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "resources/help_texts.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

bool OpenWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

CHelpDlg::CHelpDlg(QWidget* parent, QString programFolder, Viewer viewer)
    : QDialog(parent),
      programFolder_(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : std::move(programFolder)),
      viewer_(viewer ? std::move(viewer) : Viewer(OpenWithDesktop)) {}

QString CHelpDlg::ManualPath() const {
    return QDir(programFolder_).filePath(ManualFileName());
}

int CHelpDlg::exec() {
    // Without a folder to look in there is nothing to show.
    if (programFolder_.isEmpty()) return Rejected;
    const QString path = ManualPath();
    if (!QFileInfo(path).isFile()) {
        ShowMessage(parent(), ManualFileName() + QLatin1Char('\n'),
                    kMsgFileMissingBesideProgram, kStyleStop);
        return Rejected;
    }
    setWindowTitle(LoadString(kStrManualBaseName));
    if (!viewer_(path)) {
        ShowMessage(parent(), QDir::toNativeSeparators(path) + QLatin1Char('\n'),
                    kMsgFileOpenFailed, kStyleStop);
        return Rejected;
    }
    return Accepted;
}

}  // namespace tessaly
