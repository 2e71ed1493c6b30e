#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

class Document;

// Undo and redo by whole-document snapshots: before a change the complete
// document is written to a "TSD" file in the working folder; undoing reads
// such a file back. At most nine steps are kept.
class UndoHistory {
public:
    static constexpr int kMaxSteps = 9;

    UndoHistory() = default;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Records the document as it is before a change. When no snapshot can be
    // written nothing is recorded and the change goes on without one.
    void RecordSnapshot(const Document& doc);

    // Makes a snapshot file written earlier (WriteSnapshot) the newest undo
    // step; the redo steps are thrown away.
    void PushSnapshot(const QString& path);

    // Steps back (or forward) one snapshot, replacing the document with it;
    // false when there is none. When the snapshot cannot be read the
    // document and both counts stay as they were.
    bool Undo(Document& doc);
    bool Redo(Document& doc);

    // Forgets both lists; their files stay until the working folder is cleaned.
    void ResetHistory();

    int UndoCount() const { return static_cast<int>(undo_.size()); }
    int RedoCount() const { return static_cast<int>(redo_.size()); }
    const QStringList& UndoFiles() const { return undo_; }
    const QStringList& RedoFiles() const { return redo_; }

private:
    // Moves the newest snapshot of `from` onto `to`, replacing the document
    // with it and putting the current document in its place.
    bool Step(Document& doc, QStringList& from, QStringList& to);

    QStringList undo_;  // oldest first
    QStringList redo_;  // oldest first
};

// Writes the document into a new snapshot file; empty when that fails.
QString WriteSnapshot(const Document& doc);

}  // namespace tessaly
