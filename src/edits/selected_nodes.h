#pragma once

#include <vector>

namespace tessaly {

class Document;

// What the commands that act on the selection as a group start from. Only
// visible nodes count as selected (Document::IsSelected).

// Whether `mainSelection` names a node of the document (it may be hidden).
bool HasMainSelection(const Document& doc);

// The nodes that count as selected, in index order.
std::vector<int> SelectedNodes(const Document& doc);

}  // namespace tessaly
