#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QImage>
#include <optional>

#include "app/commands/context_menus.h"
#include "canvas/background_copy.h"
#include "canvas/hover_animation.h"
#include "canvas/int_rect.h"
#include "canvas/multi_cut_session.h"
#include "view/canvas_cursors.h"
#include "view/canvas_edge_drag.h"
#include "view/canvas_popups.h"
#include "view/clipboard_exchange.h"
#include "view/image_adding.h"
#include "view/multi_cut_drag.h"
#include "view/selection_drag.h"
#include "view/zoom_console.h"

class QMenu;

namespace tessaly {

class Document;
class EditedDocument;

// The scrolling view of the canvas. The canvas is composed once into a cached
// frame and copied to the window; transient feedback (drag outlines, the edge
// bar, the console outline, the comets) is drawn over that frame, so a drag
// never recomposes the canvas.
//
// A left press goes to the first of these that takes it: the zoom console,
// a handle of a selected node (resize), a node (click selection, then a
// move), the canvas's right and bottom edges, and otherwise the rubber band.
// A right-button release opens one of the context menus; their commands are
// run here when they belong to the view and handed on otherwise.
//
// In multi-cut mode the cut rectangle takes the place of the nodes: a press
// on it moves or resizes it, the arrow keys and Tab act on it, and the
// right button opens its menu only over it.
//
// The view changes the document only through the edit commands of the core;
// it follows the document's notifications to lay out and repaint.
class CAtelierView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CAtelierView(EditedDocument& edited, QWidget* parent = nullptr);
    ~CAtelierView() override;

    EditedDocument& Edited() { return edited_; }
    Document& Doc() { return doc_; }
    const Document& Doc() const { return doc_; }
    ZoomConsole& Console() { return console_; }
    ImageAdding& Images() { return images_; }
    ClipboardExchange& Exchange() { return exchange_; }

    // Forgets the copied nodes; called whenever their pictures may be gone
    // (undo, redo, a new or opened document, a delete).
    void EmptyCopyStore() { exchange_.EmptyStore(); }

    MultiCutSession& MultiCut() { return cut_; }
    const MultiCutSession& MultiCut() const { return cut_; }

    // Coordinates: the scroll position is the view point at the client origin.
    QPoint ScrollPosition() const;
    IntRect ClientRect() const;
    QPoint ClientToView(QPoint client) const { return client + ScrollPosition(); }
    QPoint ViewToClient(QPoint view) const { return view - ScrollPosition(); }
    QPoint VisibleCentreOnCanvas() const;
    void ScrollToShow(QPoint viewPoint);
    void ScrollTo(QPoint viewPoint);

    void UpdateScrollSizes();
    void SetZoom(float zoom);
    void ZoomBy(int percentPoints);
    void ZoomToFit();
    // Zooms keeping the canvas point under client point `anchor` in place.
    void ZoomAround(float zoom, QPoint anchor);
    // One zoom step in (`direction` > 0) or out, around the window's middle.
    void StepZoom(int direction);

    // After a new or opened document: scroll to the saved position, forget
    // drags and the selection.
    void InitialUpdate(bool fromFile);

    // The canvas is composed again on the next paint.
    void InvalidateCanvas();

    // Multi-cut mode on the main selection, with the operation guide; false
    // when it cannot start. Stopping also forgets a drag of the rectangle.
    bool StartMultiCut();
    void StopMultiCut();
    // After the mouse or a key changed the cut rectangle: redraws and marks
    // the document modified.
    void CutRectChanged();

    bool IsBackgroundOnly() const { return backgroundOnly_; }
    void SetBackgroundOnly(bool on);

    // Whether the photomosaic console is shown; the console keeps it up to
    // date, the context-menu rules read it.
    bool MosaicConsoleShown() const { return mosaicConsoleShown_; }
    void SetMosaicConsoleShown(bool shown) { mosaicConsoleShown_ = shown; }

    // The colour the window shows at a client point, overlays included.
    QColor ShownColourAt(QPoint client);

    // Selects every visible node (Ctrl+A).
    void SelectAll();
    // Clears the selection and redraws; nothing happens without a main selection.
    void ClearSelection();
    // The selection marks were changed here: tells the document's followers.
    void SelectionChanged();

    // Where the next added image goes, in view pixels; (0, 0) for none.
    QPoint InsertPoint() const { return insertPoint_; }
    void SetInsertPoint(QPoint viewPoint) { insertPoint_ = viewPoint; }

    // A context-menu entry was chosen: the frame runs it from the command
    // table, through commandRequested.
    void RunPopupCommand(CommandId id);
    // The state the context-menu rules read right now.
    PopupContext CurrentPopupContext() const;
    // The context menu that is open now, if any.
    QMenu* OpenPopup() const;

    void SetCanvasCursor(CanvasCursor cursor);
    // Shows an operation guide in the status bar while guides are switched on.
    void ShowGuide(QStringView text);

    void StartHoverAnimation(int node, QPoint pointerView);
    void StopHoverAnimation();
    int HoveredNode() const { return hoveredNode_; }

    // Transient feedback drawn over the canvas in client pixels: the old and
    // the new rectangle are repainted from the cached frame.
    void FeedbackChanged(const IntRect& before, const IntRect& after);

    // The popup "ZOOM" of the console.
    QMenu* ZoomMenu();
    void ShowZoomMenu(QPoint globalPos);

    // How many times the canvas has been composed (for tests of the cache).
    int ComposeCount() const { return composeCount_; }

Q_SIGNALS:
    void zoomChanged(float zoom);
    // A new or opened document has been laid out.
    void documentStarted(bool fromFile);
    // A context-menu command that the frame runs.
    void commandRequested(tessaly::CommandId id);
    // Multi-cut mode started or stopped.
    void multiCutChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // The menu key opens the context menu of the main selection, or of the
    // middle of the window when nothing is selected.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    // Tab and Shift+Tab step through the nodes instead of moving the focus.
    bool focusNextPrevChild(bool next) override;

private:
    void ComposeFrame();
    void StepSelectionByTab(bool backwards);
    void MoveSelectionByKeys(int dx, int dy);
    void LeftPress(QPoint client, Qt::KeyboardModifiers keys);
    void PressOnNode(int node, QPoint client, Qt::KeyboardModifiers keys);
    // A press on a canvas edge, or else on nothing (the rubber band).
    void PressOnEdgeOrNothing(QPoint client);
    // Esc, Ctrl+M and the keypad's + and -: the command they stand for.
    bool CommandKey(const QKeyEvent& event);
    void RightRelease(QPoint client, QPoint global);
    bool MoveActiveDrag(QPoint client, Qt::KeyboardModifiers keys);
    // The wheel with Alt: zoom steps around the pointer.
    void ZoomByWheel(QPoint angleDelta, QPoint pointer);
    void Hover(QPoint client);
    void HoverNode(int node, QPoint client);
    void HoverNothing(QPoint client);
    void ShowCursorPane(QPoint client);
    void FollowDocumentChange();
    // The background picture as the canvas draws it, made again only when the
    // picture, the canvas width or the brightness changed; null without a
    // picture.
    const QImage* BackgroundCopy();
    IntRect HoverBounds() const;

    EditedDocument& edited_;
    Document& doc_;
    ZoomConsole console_;
    CanvasEdgeDrag edgeDrag_;
    SelectionDrag selectionDrag_;
    MultiCutSession cut_;
    MultiCutDrag cutDrag_;
    CanvasPopups popups_;
    ImageAdding images_;
    ClipboardExchange exchange_;
    QPoint insertPoint_;
    QImage frame_;
    bool frameDirty_ = true;
    int composeCount_ = 0;
    bool backgroundOnly_ = false;
    bool mosaicConsoleShown_ = false;
    BackgroundCopyCache backgroundCopies_;
    QMenu* zoomMenu_ = nullptr;
    int zoomWheelRest_ = 0;  // wheel turn towards the next zoom step, in eighths of a degree
    int hoveredNode_ = -1;
    std::optional<CometAnimation> comets_;
    QBasicTimer hoverTimer_;
};

}  // namespace tessaly
