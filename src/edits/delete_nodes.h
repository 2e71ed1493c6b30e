#pragma once

class QObject;

namespace tessaly {

class Document;
class EditedDocument;

// "削除": the question first, then the deletion. Between the two the caller
// lets go of anything that refers to the pictures about to be released.

// Asks "削除してもよろしいですか". False, asking nothing, without a main
// selection; false when the answer is not Yes.
bool AskDeleteSelected(const Document& doc, QObject* owner = nullptr);

// Removes the selected nodes as one undoable edit; the snapshot is taken and
// the document marked modified even when no node counts as selected. The
// kept nodes close up in their order, and each one that had a picture gets a
// picture of its own made again from the encoded bytes, so nodes that shared
// one no longer do. Afterwards nothing is selected. False, changing nothing,
// without a main selection or when working memory runs out ("メモリの確保に
// 失敗しました").
bool DeleteSelected(EditedDocument& edited);

}  // namespace tessaly
