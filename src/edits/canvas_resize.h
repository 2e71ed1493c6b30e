#pragma once

#include <Qt>
#include <optional>

class QObject;

namespace tessaly {

class Document;
class EditedDocument;

// How the nodes follow a change of the canvas size.
enum class CanvasResizeMode {
    ScaleNodes,  // centres and sizes scale with the canvas
    MarginOnly,  // the nodes stay; only the empty margin changes
};

// Asks "オブジェクトの位置を自動調整しますか…" (yes: scale the nodes, no: only
// the margin, cancel: nothing).
std::optional<CanvasResizeMode> AskCanvasResizeMode(QObject* owner);

// The canvas size along `axis` (Horizontal: the width) that an edge released
// at view coordinate `viewExtent` gives: bounded to the canvas side limits and,
// when only the margin changes, never cutting into a node.
int CanvasSizeForEdge(const Document& doc, Qt::Orientation axis, int viewExtent,
                      CanvasResizeMode mode);

// The canvas size along `axis` that a size typed in (canvas pixels) gives:
// the size asked for, except that when only the margin changes it never goes
// below the size an edge drag stops at (CanvasSizeForEdge), so that no node
// is cut off.
int CanvasSizeForRequest(const Document& doc, Qt::Orientation axis, int requested,
                         CanvasResizeMode mode);

// Stores the canvas width (Horizontal) or height; with ScaleNodes every record
// follows (ScaleNodesAlongAxis). One undoable edit; false when the size does
// not change.
bool ResizeCanvas(EditedDocument& edited, Qt::Orientation axis, int newSize,
                  CanvasResizeMode mode);

// Scales every record along one axis after the canvas size changed from
// `oldSize`: centres and half sizes times new / old, truncated. Hidden
// records are scaled too; nothing is moved back inside the canvas.
void ScaleNodesAlongAxis(Document& doc, Qt::Orientation axis, int oldSize);

}  // namespace tessaly
