#include "services/file_manager.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {

bool OpenInExplorer(const QString& filePath) {
    const QString folder = QFileInfo(filePath).absolutePath();
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) return true;
    ShowMessage(kMsgExplorerFailed, kStyleStop);
    return false;
}

}  // namespace tessaly
