#pragma once

#include "app/arrangement_commands.h"

namespace tessaly {

// Adds the help menu to the frame's table: the manual and the about box,
// both modal over `owner`.
void AddHelpHandlers(CommandHandlers& handlers, QWidget* owner);

}  // namespace tessaly
