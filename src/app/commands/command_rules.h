#pragma once

#include "app/commands/command_ids.h"

namespace tessaly {

class Document;

// What the enable and check rules look at, read once per update.
struct CommandContext {
    int nodeCount = 0;
    int selectedCount = 0;  // selected and visible; hidden nodes never count
    int hiddenCount = 0;
    bool hasMainSelection = false;
    bool canCutMainSelection = false;  // multi-cut can start on the main selection
    bool hasBackgroundImage = false;
    int undoCount = 0;
    int redoCount = 0;
    bool consoleShown = false;
    bool multiCutMode = false;
    int gridMode = 0;
    int gridOnTop = 0;
    bool toolBarShown = true;
    bool statusBarShown = true;
    int applicationLook = 216;  // the stored style number
};

// The document's part of the context; the rest is filled in by the caller.
CommandContext ReadDocumentContext(const Document& doc);

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// What the rules of the canvas's context menus look at beyond the menu-bar
// context.
struct PopupContext {
    CommandContext commands;
    bool clipboardHasBitmap = false;
    int cutLineWidth = 1;
};

// The rules as the command table holds them (src/app/commands/command.h),
// looked up by number; an unknown number is enabled and unchecked.

// Whether the menu entry of `id` shows a check mark at all.
bool HasCheckMark(CommandId id);
// Whether `id` can run now and whether its menu entry carries a check mark.
CommandState StateOf(CommandId id, const CommandContext& context);
// The same for an entry of a context menu, whose rule may differ.
CommandState PopupStateOf(CommandId id, const PopupContext& context);

}  // namespace tessaly
