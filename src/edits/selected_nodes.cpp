#include "edits/selected_nodes.h"

#include "document/document.h"

namespace tessaly {

bool HasMainSelection(const Document& doc) {
    const DocState& s = doc.State();
    return doc.HasTables() && s.mainSelection >= 0 && s.mainSelection < s.nodeCount;
}

std::vector<int> SelectedNodes(const Document& doc) {
    std::vector<int> selected;
    if (!doc.HasTables()) return selected;
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        if (doc.IsSelected(i)) selected.push_back(i);
    }
    return selected;
}

}  // namespace tessaly
