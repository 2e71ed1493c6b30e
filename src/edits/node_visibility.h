#pragma once

namespace tessaly {

class EditedDocument;

// Hiding and showing nodes; neither records an undo snapshot. A hidden node
// is not drawn and no command acts on it.

// Hides every selected node and clears its mark. The main selection keeps
// naming its node, so the status panes still show it.
void HideSelected(EditedDocument& edited);

// Shows every hidden node; selection marks stay as they are.
void ShowAllNodes(EditedDocument& edited);

}  // namespace tessaly
