#include "edits/similar_image_swap.h"

#include <utility>

#include "document/edited_document.h"

namespace tessaly {
namespace {

void SwapPlaces(Document& doc, int a, int b) {
    NodeRecord& x = doc.Node(a);
    NodeRecord& y = doc.Node(b);
    std::swap(x.centerX, y.centerX);
    std::swap(x.centerY, y.centerY);
    std::swap(x.halfWidth, y.halfWidth);
    std::swap(x.halfHeight, y.halfHeight);
    std::swap(x.visible, y.visible);
    std::swap(x.cellColor, y.cellColor);
    std::swap(doc.Mark(a).selected, doc.Mark(b).selected);
    std::int32_t& main = doc.State().mainSelection;
    if (main == a) {
        main = b;
    } else if (main == b) {
        main = a;
    }
}

}  // namespace

bool TrySimilarImage(EditedDocument& edited, int original, int tried, int candidate) {
    const int count = edited.Doc().State().nodeCount;
    const auto inTable = [count](int i) { return i >= 0 && i < count; };
    if (!inTable(original) || !inTable(candidate) || (tried != -1 && !inTable(tried))) return false;
    if (tried == original) tried = -1;
    if (candidate == (tried == -1 ? original : tried)) return false;
    EditScope edit(edited, SnapshotRule::Always);
    if (tried != -1) SwapPlaces(edit.Doc(), original, tried);
    if (candidate != original) SwapPlaces(edit.Doc(), original, candidate);
    return edit.Commit();
}

}  // namespace tessaly
