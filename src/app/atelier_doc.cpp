#include "app/atelier_doc.h"

#include <QFileDialog>
#include <QFileInfo>

#include "view/atelier_view.h"
#include "document/document_io.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/recent_files.h"

namespace tessaly {
namespace {
const QString kFilter = QStringLiteral("Tessaly Files (*.tsd)");
}

CAtelierDoc::CAtelierDoc(EditedDocument& edited, RecentFileList& recent, QObject* parent)
    : QObject(parent), edited_(edited), doc_(edited.Doc()), recent_(recent) {}

void CAtelierDoc::Started(bool fromFile) {
    edited_.ResetHistory();
    if (view_) view_->InitialUpdate(fromFile);
    Q_EMIT titleChanged();
}

QString CAtelierDoc::Title() const {
    return path_.isEmpty() ? ui_text::kUntitled.toString() : QFileInfo(path_).fileName();
}

bool CAtelierDoc::FileNew(QWidget* owner) {
    if (!SaveModified(owner)) return false;
    if (!doc_.ResetDocument()) return false;
    path_.clear();
    Started(false);
    return true;
}

bool CAtelierDoc::FileOpen(QWidget* owner) {
    if (!SaveModified(owner)) return false;
    const QString path = QFileDialog::getOpenFileName(owner, {}, QFileInfo(path_).absolutePath(),
                                                      kFilter);
    return !path.isEmpty() && OpenPath(owner, path);
}

bool CAtelierDoc::OpenPath(QWidget*, const QString& path) {
    if (!OpenDocument(doc_, path)) return false;
    path_ = QFileInfo(path).absoluteFilePath();
    recent_.Add(path_);
    Started(true);
    return true;
}

bool CAtelierDoc::FileSave(QWidget* owner) {
    return path_.isEmpty() ? FileSaveAs(owner) : SaveTo(owner, path_);
}

bool CAtelierDoc::FileSaveAs(QWidget* owner) {
    QFileDialog dialog(owner, {}, path_.isEmpty() ? QString() : path_, kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("tsd"));
    if (path_.isEmpty()) dialog.selectFile(ui_text::kUntitled.toString() + QStringLiteral(".tsd"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    return SaveTo(owner, dialog.selectedFiles().front());
}

bool CAtelierDoc::SaveTo(QWidget*, const QString& path) {
    if (view_) {
        const QPoint scroll = view_->ScrollPosition();
        doc_.State().savedScrollX = scroll.x();
        doc_.State().savedScrollY = scroll.y();
    }
    if (!SaveDocument(doc_, path)) return false;
    path_ = QFileInfo(path).absoluteFilePath();
    recent_.Add(path_);
    Q_EMIT titleChanged();
    return true;
}

bool CAtelierDoc::SaveModified(QWidget* owner) {
    if (!doc_.IsModified()) return true;
    switch (ShowMessage(owner, Title() + u' ', kMsgAskToSave, kStyleYesNoCancel)) {
        case kResultYes: return FileSave(owner);
        case kResultNo: return true;
        default: return false;
    }
}

}  // namespace tessaly
