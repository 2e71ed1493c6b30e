#include "document/undo_history.h"

#include <QFile>

#include "document/document.h"
#include "document/document_file.h"
#include "image/working_folder.h"

namespace tessaly {
namespace {

void DropOldestBeyondLimit(QStringList& list) {
    while (list.size() > UndoHistory::kMaxSteps) QFile::remove(list.takeFirst());
}

}  // namespace

QString WriteSnapshot(const Document& doc) {
    const QString path = NewTempFile();
    if (path.isEmpty()) return {};
    QFile file(path);
    // The new file is empty: opening it for writing without truncating spares
    // the file system a flush when it is closed.
    if (!file.open(QIODevice::ReadWrite) || !WriteDocumentFile(file, doc, true) || !file.flush()) {
        file.close();
        QFile::remove(path);
        return {};
    }
    return path;
}

void UndoHistory::RecordSnapshot(const Document& doc) {
    const QString path = WriteSnapshot(doc);
    if (!path.isEmpty()) PushSnapshot(path);
}

void UndoHistory::PushSnapshot(const QString& path) {
    undo_.append(path);
    for (const QString& file : std::as_const(redo_)) QFile::remove(file);
    redo_.clear();
    DropOldestBeyondLimit(undo_);
}

bool UndoHistory::Undo(Document& doc) { return Step(doc, undo_, redo_); }

bool UndoHistory::Redo(Document& doc) { return Step(doc, redo_, undo_); }

bool UndoHistory::Step(Document& doc, QStringList& from, QStringList& to) {
    if (from.isEmpty()) return false;
    const QString snapshot = from.last();
    const QString current = WriteSnapshot(doc);

    QFile file(snapshot);
    const bool restored = file.open(QIODevice::ReadOnly) && ReadDocumentFile(file, doc, true);
    file.close();
    if (!restored) {
        // The document was not touched: keep everything as it was.
        if (!current.isEmpty()) QFile::remove(current);
        return false;
    }
    QFile::remove(snapshot);
    from.removeLast();
    // Without a snapshot of the state just left, stepping back to it is lost,
    // but the step itself has been made.
    if (!current.isEmpty()) {
        to.append(current);
        DropOldestBeyondLimit(to);
    }
    return true;
}

void UndoHistory::ResetHistory() {
    undo_.clear();
    redo_.clear();
}

}  // namespace tessaly
