#pragma once

#include "app/arrangement_commands.h"

namespace tessaly {

class RecentFileList;

// Adds the shell's settings dialogs to the frame's table: the environment
// settings and the management of the recent-file list.
void AddSettingsDialogHandlers(CommandHandlers& handlers, RecentFileList& recent, QWidget* owner);

}  // namespace tessaly
