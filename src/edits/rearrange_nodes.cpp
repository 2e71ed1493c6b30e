#include "edits/rearrange_nodes.h"

#include "document/edited_document.h"

namespace tessaly {

bool RearrangeNodes(EditedDocument& edited, std::uint32_t seed, ArrangementStats* stats) {
    EditScope edit(edited, SnapshotRule::Always);
    return edit.Commit(Rearrange(edit.Doc(), seed, stats));
}

}  // namespace tessaly
