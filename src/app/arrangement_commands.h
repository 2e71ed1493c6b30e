#pragma once

#include <functional>
#include <unordered_map>

#include "app/commands/command_ids.h"

class QWidget;

namespace tessaly {

class CAtelierView;

using CommandHandlers = std::unordered_map<CommandId, std::function<void()>>;

// Adds the commands that change the selected nodes as a group to the frame's
// table: alignment, turns and mirrors, stacking order, random positions,
// hiding and showing, deletion and the node's image files. Each handler only
// calls the command of the core; `owner` parents the questions and dialogs.
void AddArrangementHandlers(CommandHandlers& handlers, CAtelierView& view, QWidget* owner);

}  // namespace tessaly
