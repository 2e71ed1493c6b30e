#pragma once

class QString;
class QWidget;

namespace tessaly {

class EditedDocument;

// "1枚のイメージとして保存": asks for the file in the save dialog (JPEG
// preselected) and, for JPEG, for the quality in CAssukuDlg, then exports
// the canvas. `title` is the document's title, which names the file
// proposed. Returns whether a file was written.
bool ExportCanvasImage(EditedDocument& edited, const QString& title, QWidget* owner);

}  // namespace tessaly
