#include "document/document.h"

#include <new>

#include "document/status_panes.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {
bool g_failNextAllocation = false;
}

Document::Document() { ApplyNewDocumentValues(state_); }

Document::~Document() { ReleaseAllPictures(); }

void Document::FailNextAllocationForTesting() { g_failNextAllocation = true; }

bool Document::AllocateNodeTables() {
    nodes_.reset();
    marks_.reset();
    if (g_failNextAllocation) {
        g_failNextAllocation = false;
    } else {
        // Zero-filled, so records and marks never hold leftovers of an earlier document.
        nodes_.reset(new (std::nothrow) NodeRecord[kNodeTableCapacity]());
        marks_.reset(new (std::nothrow) NodeMark[kNodeTableCapacity]());
    }
    if (!HasTables()) {
        nodes_.reset();
        marks_.reset();
        ShowMessage(kMsgMemoryAllocFailed, kStyleStop);
        return false;
    }
    return true;
}

void Document::ReleaseAllPictures() {
    pictures_.Release(state_.backPicture);
    if (HasTables()) {
        for (int i = 0; i < state_.nodeCount && i < kNodeTableCapacity; ++i) {
            pictures_.Release(nodes_[i].picture);
        }
    }
    // Anything still pooled is held by no record in use (a scratch copy, say).
    pictures_.Clear();
}

bool Document::ResetDocument() {
    ReleaseAllPictures();
    bool allocated = true;
    if (state_.nodeCount > 0 || !HasTables()) allocated = AllocateNodeTables();
    // Even without tables the settings must not claim nodes that no longer exist.
    ApplyNewDocumentValues(state_);
    modified_ = false;
    RefreshStatusPanes(*this, true);
    return allocated;
}

}  // namespace tessaly
