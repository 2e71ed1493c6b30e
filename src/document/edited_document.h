#pragma once

#include <QObject>

#include "document/document.h"
#include "document/undo_history.h"

namespace tessaly {

// Changes from this many nodes on take no snapshot where their rule says so
// (moves and resizes with the mouse, random placement, image properties):
// writing every picture of such a document before each drag would make
// editing crawl.
inline constexpr int kSnapshotNodeLimit = 2000;

// When an edit records an undo snapshot before it changes the document.
enum class SnapshotRule {
    None,            // the change cannot be undone
    Always,          // always undoable
    BelowNodeLimit,  // undoable while the document has fewer than kSnapshotNodeLimit nodes
};

// The document being edited: the one Document, its undo history and its
// modified state, and the notifications the windows follow. Every change
// goes through an EditScope; undo and redo go through here. The frame and
// the view receive it by reference.
class EditedDocument : public QObject {
    Q_OBJECT

public:
    EditedDocument();
    ~EditedDocument() override;

    Document& Doc() { return doc_; }
    const Document& Doc() const { return doc_; }
    const UndoHistory& History() const { return history_; }

    int UndoCount() const { return history_.UndoCount(); }
    int RedoCount() const { return history_.RedoCount(); }
    bool IsModified() const { return doc_.IsModified(); }

    // Step back (or forward) one snapshot; false when there is none or it
    // cannot be read. After a step nothing is selected, the document is
    // modified and documentChanged has been sent.
    bool Undo();
    bool Redo();

    // Forgets the history after a new or opened document; its files stay
    // until the working folder is cleaned.
    void ResetHistory();

    // The selection marks changed without an edit: refreshes the status
    // panes and sends selectionChanged.
    void SelectionChanged();

    // A setting kept in the document that the canvas does not show (the zoom
    // console's place, for one) has just been stored: no snapshot, no
    // repaint; the document is modified and viewSettingChanged is sent.
    void ViewSettingChanged();

Q_SIGNALS:
    // After every edit, undo and redo: the document (and perhaps its size,
    // zoom or history) changed.
    void documentChanged();
    // Only the selection changed.
    void selectionChanged();
    // An undo or redo replaced the document from a snapshot, just before its
    // documentChanged: pictures held by reference elsewhere may be gone.
    void historyStepped();
    // Only a setting the canvas does not show changed.
    void viewSettingChanged();

private:
    friend class EditScope;
    bool Step(bool undo);
    void Changed();

    Document doc_;
    UndoHistory history_;
    int openScopes_ = 0;
    bool scopeChanged_ = false;  // a scope of the open edit committed
};

// One edit of the document. The constructor writes the snapshot its rule asks
// for; the change is then made through Doc(); Commit() says that something
// changed. When the scope ends after a commit, the snapshot joins the history,
// the document is marked modified, the status panes are refreshed and
// documentChanged is sent once. A scope that changed nothing leaves the
// history and the modified state as they were.
//
// A scope opened while another is open belongs to it: it records nothing and
// its commit counts for the outer one, so a command built from smaller
// commands is still one step of undo.
class EditScope {
public:
    EditScope(EditedDocument& edited, SnapshotRule rule);
    ~EditScope();
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

    Document& Doc() { return edited_.doc_; }

    // Marks the edit as made when `changed` is true; returns `changed`.
    bool Commit(bool changed = true);

    // For an edit the user makes in several steps while the scope stays open
    // (a modal dialog on the live document): shows the steps committed so
    // far, as the end of the scope would (modified mark, status panes,
    // documentChanged), while the snapshot still joins the history once, when
    // the scope ends. Does nothing in an inner scope or before a commit.
    void Publish();

private:
    EditedDocument& edited_;
    QString snapshot_;  // written before the change, empty for none
    bool outermost_;
};

}  // namespace tessaly
