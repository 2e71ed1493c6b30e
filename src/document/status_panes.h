#pragma once

namespace tessaly {

class Document;

// Rewrites the object-count, position and size panes of the status bar from
// the document. With `clear`, or without a main selection, position and size
// are emptied. Nothing happens while no status bar is installed.
void RefreshStatusPanes(const Document& doc, bool clear = false);

}  // namespace tessaly
