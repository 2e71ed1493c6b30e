#pragma once

#include "canvas/int_rect.h"
#include "canvas/multi_cut_geometry.h"
#include "canvas/multi_cut_grid.h"
#include "document/picture_ref.h"

namespace tessaly {

struct AppSettings;
class Document;

// Whether multi-cut can start on `node`: a visible node of the document,
// at least one pixel wide and high, with its picture. The start and the
// enabling of "マルチカット処理" both ask this.
bool CanCutNode(const Document& doc, int node);

// The multi-cut mode of the canvas: the node being cut, the cut rectangle
// (the grid's first cell, canvas pixels, always inside that node) and the
// part of it that the arrow keys move and that is drawn highlighted. It is
// the view's state, not the document's: no undo snapshot holds it. Every
// change of the rectangle is mirrored into "Last" / "RectPX", "RectPY",
// "RectSX" and "RectSY", where the next start takes it from.
//
// The session holds on to its node by the node's picture, whose reference is
// never reused: edits that remove or reorder nodes move it to the node's new
// index, and when no node holds that picture any more the mode ends. It never
// passes on to whatever node takes the old index.
class MultiCutSession {
public:
    bool IsOn() const { return node_ >= 0; }
    // The node being cut; -1 while the mode is off.
    int Node() const { return node_; }
    // Whether the node at Node() is still the node the mode started on, with
    // the same picture; false while the mode is off.
    bool HoldsItsNode(const Document& doc) const;
    const IntRect& Rect() const { return rect_; }
    CutPart Highlighted() const { return highlighted_; }
    // The cut node's rectangle on the canvas.
    IntRect NodeRect(const Document& doc) const;
    CutArea Area(const Document& doc) const { return {rect_, NodeRect(doc)}; }

    // Starts on the main selection: places the rectangle from the "Last"
    // settings, fits the grid's counts to the node, highlights the right
    // edge and clears the selection. False, changing nothing, without a main
    // selection with a picture, with an empty node or while the mode is on.
    bool Start(Document& doc, AppSettings& grid);
    void Stop();

    // Finds the cut node again by its picture after an edit. Ends the mode
    // when no node holds that picture any more (the node was deleted, or an
    // undo, a redo or a new picture replaced it) or the node can no longer be
    // cut (hidden, empty); otherwise follows the node to its index and brings
    // the rectangle back inside it if it moved or shrank. Returns whether
    // anything changed.
    bool FollowDocument(const Document& doc);

    // Returns whether the highlight changed.
    bool SetHighlighted(CutPart part);
    bool CycleHighlight(bool backwards);

    // A new rectangle from a drag (already inside the node).
    bool SetRect(const IntRect& rect, const Document& doc);
    // An arrow key step of (dx, dy) canvas pixels on the highlighted part.
    bool StepByKey(const Document& doc, int dx, int dy);
    // "1ピクセル広げる", "1ピクセル狭める", "範囲最大".
    bool Widen(const Document& doc);
    bool Narrow(const Document& doc);
    bool Maximize(const Document& doc);

private:
    bool Apply(const std::optional<IntRect>& rect, const Document& doc);
    void StorePlacement(const Document& doc) const;

    int node_ = -1;
    PictureRef picture_;  // the cut node's picture when the mode started
    IntRect rect_;
    CutPart highlighted_ = CutPart::RightEdge;
};

}  // namespace tessaly
