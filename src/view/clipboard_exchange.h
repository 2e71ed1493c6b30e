#pragma once

#include <QPoint>

#include "edits/clipboard_edits.h"
#include "edits/copy_store.h"

namespace tessaly {

class CAtelierView;
class Clipboard;

// Copy and paste on the canvas: keeps the copy store and turns the commands
// and keys into the core's copy and paste, placed by the view's insert point
// or the middle of the window. The view empties the store after undo and
// redo, a delete, a new or an opened document.
class ClipboardExchange {
public:
    explicit ClipboardExchange(CAtelierView& view);

    // "コピー(&C)" and Ctrl+C: the selected nodes, remembering the insert
    // point.
    void Copy();
    // "貼り付け(&P)" and "貼り付け(&V)": stored nodes move from where they
    // were copied to the pending insert point, or one step without one; an
    // image from another program goes to the insert point or the middle of
    // the window. Uses the insert point up.
    void PasteCommand();
    // Ctrl+V: stored nodes one step down and right; an image goes where the
    // paste command would put it.
    void PasteByKey();

    void EmptyStore() { store_.Clear(); }
    const CopyStore& Store() const { return store_; }

    // Another clipboard than the system's; null restores that one.
    void SetClipboardForTesting(Clipboard* clipboard);

private:
    QPoint ImageCentre(QPoint pending) const;
    PastedKind Paste(const PastePlace& place);

    CAtelierView& view_;
    CopyStore store_;
    Clipboard* clipboard_;
};

}  // namespace tessaly
