#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace tessaly {

class CAtelierView;
class Document;
class EditedDocument;
class RecentFileList;

// Drives new, open and save for the one document; holds no data of its own.
// The frame's file commands call it; it asks before a modified document is
// discarded, starts every new or opened document with an empty undo history
// and keeps the path the document was last opened from or saved to.
class CAtelierDoc : public QObject {
    Q_OBJECT

public:
    CAtelierDoc(EditedDocument& edited, RecentFileList& recent, QObject* parent = nullptr);

    // The view that shows the document; its initial update runs after every
    // new or opened document.
    void SetView(CAtelierView* view) { view_ = view; }

    // The file name shown in the title: "無題のファイル" until saved or opened.
    QString Title() const;
    // The full path, empty for a document never saved.
    const QString& PathName() const { return path_; }

    // The commands of the file menu. `owner` parents the dialogs.
    bool FileNew(QWidget* owner);
    bool FileOpen(QWidget* owner);                   // asks for a path
    bool OpenPath(QWidget* owner, const QString& path);  // command line, recent list
    bool FileSave(QWidget* owner);                   // asks for a path when there is none
    bool FileSaveAs(QWidget* owner);

    // Asks "save changes?" for a modified document: true when it may be
    // discarded (saved, or the user said no), false when cancelled.
    bool SaveModified(QWidget* owner);

Q_SIGNALS:
    // The title or the modified state changed.
    void titleChanged();

private:
    bool SaveTo(QWidget* owner, const QString& path);

    // Forgets the history and lays the new document out in the view.
    void Started(bool fromFile);

    EditedDocument& edited_;
    Document& doc_;
    RecentFileList& recent_;
    CAtelierView* view_ = nullptr;
    QString path_;
};

}  // namespace tessaly
