#pragma once

#include <memory>

#include "document/doc_state.h"
#include "document/node_record.h"
#include "document/picture_pool.h"

namespace tessaly {

// The most nodes a document holds, and the size of the node table: one more
// record than that serves as scratch space when two records are swapped.
inline constexpr int kMaxNodes = 9000;
inline constexpr int kNodeTableCapacity = 9001;
inline constexpr int kScratchRecord = 9000;

// The one document of the program: the settings block, the node table, the
// per-node marks and the pictures they refer to. Code receives it by reference.
class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    DocState& State() { return state_; }
    const DocState& State() const { return state_; }

    // Record i of the node table, 0..kNodeTableCapacity-1.
    NodeRecord& Node(int i) { return nodes_[i]; }
    const NodeRecord& Node(int i) const { return nodes_[i]; }
    NodeMark& Mark(int i) { return marks_[i]; }
    const NodeMark& Mark(int i) const { return marks_[i]; }
    NodeRecord* Nodes() { return nodes_.get(); }
    const NodeRecord* Nodes() const { return nodes_.get(); }
    NodeMark* Marks() { return marks_.get(); }
    bool HasTables() const { return nodes_ != nullptr && marks_ != nullptr; }

    // A node counts as selected only while it is also visible.
    bool IsSelected(int i) const { return marks_[i].selected != 0 && nodes_[i].visible != 0; }

    PicturePool& Pictures() { return pictures_; }
    const PicturePool& Pictures() const { return pictures_; }
    // The picture a record or the background refers to, or nullptr.
    const ImageBlob* Picture(PictureRef ref) const { return pictures_.Find(ref); }

    bool IsModified() const { return modified_; }
    void SetModified(bool modified = true) { modified_ = modified; }

    // Frees and re-allocates the node table and the marks. On failure shows
    // "メモリの確保に失敗しました" and returns false, leaving no tables.
    bool AllocateNodeTables();

    // Releases the background picture and the picture of every record in use;
    // the node count is unchanged.
    void ReleaseAllPictures();

    // Makes this a new, empty document and refreshes the status panes.
    // Returns false when the tables could not be re-allocated.
    bool ResetDocument();

    // Makes the next table allocation fail, to exercise the failure path.
    static void FailNextAllocationForTesting();

private:
    DocState state_{};
    std::unique_ptr<NodeRecord[]> nodes_;
    std::unique_ptr<NodeMark[]> marks_;
    PicturePool pictures_;
    bool modified_ = false;
};

}  // namespace tessaly
