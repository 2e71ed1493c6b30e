#include "app/settings_dialog_commands.h"

#include "app/kanset_dlg.h"
#include "app/recent_dlg.h"
#include "services/app_settings.h"

namespace tessaly {

void AddSettingsDialogHandlers(CommandHandlers& handlers, RecentFileList& recent, QWidget* owner) {
    handlers[CommandId::kEnvironmentSettings] = [owner] {
        CKansetDlg dialog(CurrentSettings(), owner);
        dialog.exec();
    };
    handlers[CommandId::kRecentFilesDialog] = [&recent, owner] {
        CRecentDlg dialog(recent, owner);
        dialog.exec();
    };
}

}  // namespace tessaly
