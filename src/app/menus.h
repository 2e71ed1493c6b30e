#pragma once

#include <map>

#include "app/commands/command_ids.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace tessaly {

// The menu bar and the toolbar "基本" of the main frame, built from the
// command table. Every command has one action, shared by its menu item and
// toolbar button; the action's data is the command number.
struct FrameMenus {
    std::map<CommandId, QAction*> actions;
    QMenu* fileMenu = nullptr;
    // Where the recent-file entries go; shown (disabled) only while the list
    // is empty.
    QAction* recentFilesPlace = nullptr;
    QToolBar* toolBar = nullptr;
};

// Fills `frame`'s menu bar, adds the toolbar and the frame keys that have no
// menu item (F2, F10). The actions are children of `frame`.
FrameMenus BuildFrameMenus(QMainWindow& frame);

}  // namespace tessaly
