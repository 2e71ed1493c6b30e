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

// Whether the menu entry of `id` shows a check mark at all.
bool HasCheckMark(CommandId id);

// Whether `id` can run now and whether its menu entry carries a check mark.
CommandState StateOf(CommandId id, const CommandContext& context);

}  // namespace tessaly
