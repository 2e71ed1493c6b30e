#pragma once

#include <QImage>
#include <QPoint>
#include <QStringView>

#include "edits/copy_store.h"

namespace tessaly {

class Clipboard;
class Document;
class EditedDocument;

// Copy and paste of nodes. A copy keeps the nodes in a CopyStore and puts a
// picture of them on the clipboard for other programs, with a marker text;
// a paste that finds the marker pastes the store, otherwise an image on the
// clipboard becomes a new node. The store never goes on the clipboard, so
// the marker only means something to the program that made the copy.

// The text put on the clipboard beside the picture of a copy.
inline constexpr QStringView kOwnCopyMarker = u"[OBJ]";

// A paste without an insert point moves the stored nodes this far, so
// repeated pastes step down and right.
inline constexpr QPoint kPasteStep{10, 10};

struct CopyRequest {
    QPoint origin;                // the view's insert point, kept with the copy
    bool backgroundOnly = false;  // the view shows the background alone
};

// The copy command. Without a main selection nothing happens. Otherwise the
// visible selected nodes replace the store's content and the clipboard gets
// their picture and kOwnCopyMarker: one node as its picture at the size it
// is shown at the document's zoom (the marker alone when it has none);
// several as the part of the canvas their rectangles cover, clipped to the
// canvas and painted at 100 % with every visible node in it and no view
// marks. When no visible node is selected (the store then stays as it was),
// or the store cannot hold them (it is then empty), says
// "コピーに失敗しました". Returns whether nodes were copied.
bool CopyNodes(const Document& doc, const CopyRequest& request, CopyStore& store,
               Clipboard& clipboard);

// The offset of the paste command while an insert point `pending` (view
// pixels) is set: from the copy's insert point to it, in canvas pixels, each
// axis truncated toward zero. kPasteStep when none is pending.
QPoint PasteCommandOffset(QPoint pending, QPoint copyOrigin, float zoom);

// Where a paste puts things, in canvas pixels.
struct PastePlace {
    QPoint offset = kPasteStep;  // how far the stored nodes move
    QPoint imageCentre;          // the centre of an image from another program
};

enum class PastedKind { Nothing, Nodes, Image };

// The paste command: with the marker text on the clipboard, the stored nodes
// (PasteNodes; nothing when the store is empty); otherwise an image on the
// clipboard (PasteImage). Returns what was pasted.
PastedKind PasteFromClipboard(EditedDocument& edited, CopyStore& store,
                              const Clipboard& clipboard, const PastePlace& place);

// Appends the stored nodes on top, in store order, as one undoable edit:
// each moved by `offset` and pushed inside the canvas by its edges, with a
// picture of its own holding the bytes the copy kept (no picture when the
// copied node had none), whatever has become of the copied nodes since. Only the pasted nodes are selected; the first is main.
// The stored positions move by `offset` too, so the next paste lands one
// offset further. A full document stops the paste with CanAddNode's message;
// the nodes pasted so far stay. Returns the number pasted.
int PasteNodes(EditedDocument& edited, CopyStore& store, QPoint offset);

// An image from another program becomes one node holding it as a JPEG of
// quality 100 at its own size, centred on `centre`, selected alone and main,
// as one undoable edit. When the image is missing or cannot be converted or
// written, says "イメージの貼り付けに失敗しました" after a line naming the
// step, and pastes nothing.
bool PasteImage(EditedDocument& edited, const QImage& image, QPoint centre);

}  // namespace tessaly
