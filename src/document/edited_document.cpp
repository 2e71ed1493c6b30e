#include "document/edited_document.h"

#include <QFile>

#include "document/status_panes.h"

namespace tessaly {

EditedDocument::EditedDocument() = default;
EditedDocument::~EditedDocument() = default;

bool EditedDocument::Undo() { return Step(true); }

bool EditedDocument::Redo() { return Step(false); }

bool EditedDocument::Step(bool undo) {
    if (!(undo ? history_.Undo(doc_) : history_.Redo(doc_))) return false;
    for (int i = 0; i < doc_.State().nodeCount; ++i) doc_.Mark(i).selected = 0;
    doc_.State().mainSelection = -1;
    Q_EMIT historyStepped();
    // Undo and redo mark the document modified even when they return it to
    // its saved state.
    Changed();
    return true;
}

void EditedDocument::ResetHistory() {
    history_.ResetHistory();
    Q_EMIT documentChanged();
}

void EditedDocument::SelectionChanged() {
    RefreshStatusPanes(doc_);
    Q_EMIT selectionChanged();
}

void EditedDocument::ViewSettingChanged() {
    doc_.SetModified();
    Q_EMIT viewSettingChanged();
}

void EditedDocument::Changed() {
    doc_.SetModified();
    RefreshStatusPanes(doc_);
    Q_EMIT documentChanged();
}

EditScope::EditScope(EditedDocument& edited, SnapshotRule rule)
    : edited_(edited), outermost_(edited.openScopes_ == 0) {
    ++edited_.openScopes_;
    if (!outermost_) return;
    edited_.scopeChanged_ = false;
    const bool wanted = rule == SnapshotRule::Always ||
                        (rule == SnapshotRule::BelowNodeLimit &&
                         edited_.doc_.State().nodeCount < kSnapshotNodeLimit);
    // Without a snapshot the change still goes ahead; it cannot be undone.
    if (wanted) snapshot_ = WriteSnapshot(edited_.doc_);
}

EditScope::~EditScope() {
    --edited_.openScopes_;
    if (!outermost_) return;
    const bool changed = edited_.scopeChanged_;
    edited_.scopeChanged_ = false;
    if (!changed) {
        if (!snapshot_.isEmpty()) QFile::remove(snapshot_);
        return;
    }
    if (!snapshot_.isEmpty()) edited_.history_.PushSnapshot(snapshot_);
    edited_.Changed();
}

void EditScope::Publish() {
    if (outermost_ && edited_.scopeChanged_) edited_.Changed();
}

bool EditScope::Commit(bool changed) {
    if (changed) edited_.scopeChanged_ = true;
    return changed;
}

}  // namespace tessaly
