#include "edits/delete_nodes.h"

#include <QByteArray>
#include <new>
#include <vector>

#include "edits/selected_nodes.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

struct KeptNode {
    NodeRecord record;
    QByteArray encoded;  // the picture's bytes; empty without one
};

// The nodes that stay, in order, each with its picture's bytes.
std::vector<KeptNode> KeptNodes(const Document& doc) {
    std::vector<KeptNode> kept;
    kept.reserve(static_cast<std::size_t>(doc.State().nodeCount));
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        if (doc.IsSelected(i)) continue;
        const ImageBlob* picture = doc.Picture(doc.Node(i).picture);
        kept.push_back({doc.Node(i), picture ? picture->Encoded() : QByteArray()});
    }
    return kept;
}

// Replaces the node table by `kept`: every old picture is released (a shared
// one once) and each kept node gets a new picture made from its bytes.
void Compact(Document& doc, const std::vector<KeptNode>& kept) {
    const int oldCount = doc.State().nodeCount;
    for (int i = 0; i < oldCount; ++i)
        doc.Pictures().Release(doc.Node(i).picture);
    const int count = static_cast<int>(kept.size());
    for (int k = 0; k < count; ++k) {
        NodeRecord& node = doc.Node(k);
        node = kept[static_cast<std::size_t>(k)].record;
        node.picture = {};
        const QByteArray& encoded = kept[static_cast<std::size_t>(k)].encoded;
        if (auto picture = ImageBlob::FromEncoded(encoded)) {
            node.picture = doc.Pictures().Adopt(*std::move(picture));
        }
    }
    for (int i = count; i < oldCount; ++i)
        doc.Node(i) = NodeRecord{};
    doc.State().nodeCount = count;
}

}  // namespace

bool AskDeleteSelected(const Document& doc, QObject* owner) {
    if (!HasMainSelection(doc)) return false;
    return ShowMessage(owner, {}, kMsgConfirmDelete, kStyleYesNo) == kResultYes;
}

bool DeleteSelected(EditedDocument& edited) {
    if (!HasMainSelection(edited.Doc())) return false;
    const WaitCursor wait;
    EditScope edit(edited, SnapshotRule::Always);
    Document& doc = edit.Doc();
    if (!SelectedNodes(doc).empty()) {
        std::vector<KeptNode> kept;
        try {
            kept = KeptNodes(doc);
        } catch (const std::bad_alloc&) {
            ShowMessage(kMsgMemoryAllocFailed, kStyleStop);
            return false;
        }
        Compact(doc, kept);
        for (int i = 0; i < kNodeTableCapacity; ++i)
            doc.Mark(i) = NodeMark{};
        doc.State().mainSelection = -1;
    }
    return edit.Commit();
}

}  // namespace tessaly
