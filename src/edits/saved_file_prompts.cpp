#include "edits/saved_file_prompts.h"

#include <QFileInfo>

#include "resources/string_table.h"
#include "services/file_manager.h"
#include "services/message_service.h"

namespace tessaly {

bool ConfirmOverwrite(const QString& path, QObject* owner) {
    return !QFileInfo::exists(path) ||
           ShowMessage(owner, {}, kMsgFileExistsOverwrite, kStyleYesNo) == kResultYes;
}

void OfferToShowSavedFile(const QString& path, QObject* owner) {
    if (ShowMessage(owner, {}, kMsgSavedShowLocation, kStyleYesNo) == kResultYes)
        OpenInExplorer(path);
}

}  // namespace tessaly
