#include "edits/node_order.h"

#include <new>
#include <vector>

#include "edits/selected_nodes.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

// The visible nodes in their new order: the unselected ones and then the
// selected ones for the front, the other way round for the back.
std::vector<int> NewStackingOrder(const Document& doc, StackEnd end) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(doc.State().nodeCount));
    const bool selectedFirst = end == StackEnd::Back;
    for (const bool selectedGroup : {selectedFirst, !selectedFirst}) {
        for (int i = 0; i < doc.State().nodeCount; ++i) {
            if (doc.Node(i).visible != 0 && doc.IsSelected(i) == selectedGroup) order.push_back(i);
        }
    }
    return order;
}

void CopyRecord(Document& doc, int from, int to) {
    doc.Node(to) = doc.Node(from);
    doc.Mark(to) = doc.Mark(from);
}

}  // namespace

bool RestackSelected(EditedDocument& edited, StackEnd end) {
    Document& doc = edited.Doc();
    if (!HasMainSelection(doc)) return false;
    std::vector<int> order;
    std::vector<NodeRecord> records;
    std::vector<NodeMark> marks;
    try {
        order = NewStackingOrder(doc, end);
        records.assign(doc.Nodes(), doc.Nodes() + doc.State().nodeCount);
        marks.assign(doc.Marks(), doc.Marks() + doc.State().nodeCount);
    } catch (const std::bad_alloc&) {
        ShowMessage(kMsgMemoryAllocFailed, kStyleStop);
        return false;
    }
    const int count = doc.State().nodeCount;
    if (static_cast<int>(order.size()) < count) {
        ShowMessage(kMsgSwapFailed, kStyleStop);
        return false;
    }
    EditScope edit(edited, SnapshotRule::None);
    for (int k = 0; k < count; ++k) {
        const auto from = static_cast<std::size_t>(order[static_cast<std::size_t>(k)]);
        doc.Node(k) = records[from];
        doc.Mark(k) = marks[from];
    }
    doc.State().mainSelection = end == StackEnd::Front ? count - 1 : 0;
    return edit.Commit();
}

bool SwapSelected(EditedDocument& edited) {
    Document& doc = edited.Doc();
    const std::vector<int> selected = SelectedNodes(doc);
    if (selected.size() != 2) return false;
    EditScope edit(edited, SnapshotRule::None);
    const int a = selected[0];
    const int b = selected[1];
    CopyRecord(doc, a, kScratchRecord);
    CopyRecord(doc, b, a);
    CopyRecord(doc, kScratchRecord, b);
    // The spare record must not keep a second reference to a live picture.
    doc.Node(kScratchRecord) = NodeRecord{};
    doc.Mark(kScratchRecord) = NodeMark{};
    return edit.Commit();
}

}  // namespace tessaly
