#include "app/help_commands.h"

#include "app/about_dlg.h"
#include "app/help_dlg.h"

namespace tessaly {

void AddHelpHandlers(CommandHandlers& handlers, QWidget* owner) {
    handlers[CommandId::kManual] = [owner] {
        CHelpDlg dialog(owner);
        dialog.exec();
    };
    handlers[CommandId::kAbout] = [owner] {
        CAboutDlg dialog(owner);
        dialog.exec();
    };
}

}  // namespace tessaly
