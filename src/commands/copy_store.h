#pragma once

#include <QPoint>
#include <vector>

#include "document/node_record.h"

namespace tessaly {

// The nodes the last copy keeps for pasting inside this program: copies of
// their records and marks, in table order, and the view's insert point at
// the time of the copy (view pixels; (0, 0) for none). The records still
// name the pictures of the copied nodes, so whoever keeps a store empties it
// whenever those may have been released: after undo and redo, a delete, a
// new or an opened document.
struct CopyStore {
    std::vector<NodeRecord> records;
    std::vector<NodeMark> marks;
    QPoint origin;

    int Count() const { return static_cast<int>(records.size()); }
    bool IsEmpty() const { return records.empty(); }
    void Clear() {
        records.clear();
        marks.clear();
        origin = {};
    }
};

}  // namespace tessaly
