#include "view/atelier_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>

#include "app/commands/command_rules.h"
#include "canvas/canvas_renderer.h"
#include "canvas/multi_cut_overlay.h"
#include "canvas/selection.h"
#include "canvas/view_geometry.h"
#include "edits/selection_edits.h"
#include "edits/view_settings.h"
#include "document/edited_document.h"
#include "document/status_panes.h"
#include "resources/ui_strings.h"
#include "services/app_settings.h"
#include "services/random_generator.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

// Follows the mouse buttons on the scroll bars: whether one holds a bar now,
// and its release, the end of a press on the arrows, page areas or thumb
// however long it repeated.
class ScrollBarButtons : public QObject {
public:
    ScrollBarButtons(QObject* parent, std::function<void()> released)
        : QObject(parent), released_(std::move(released)) {}
    bool Held() const { return held_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            // The right button opens the bar's menu and acts only after its release.
            held_ = static_cast<QMouseEvent*>(event)->button() != Qt::RightButton;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            held_ = false;
            released_();
        }
        return false;
    }

private:
    std::function<void()> released_;
    bool held_ = false;
};

}  // namespace

CAtelierView::CAtelierView(EditedDocument& edited, QWidget* parent)
    : QAbstractScrollArea(parent),
      edited_(edited),
      doc_(edited.Doc()),
      console_(*this),
      edgeDrag_(*this),
      selectionDrag_(*this),
      cutDrag_(*this, cut_),
      popups_(*this, [this](CommandId id) { RunPopupCommand(id); }),
      images_(*this),
      exchange_(*this) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    viewport()->setAcceptDrops(true);
    // The cached frame covers the whole client area: nothing needs erasing.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    // The console hides for any operation on a scroll bar: its arrows, page
    // areas and thumb, the keys and the wheel over it. It comes back when the
    // operation ends: at the release of the button that holds the bar, or
    // once the event loop turns after a single step.
    auto* buttons = new ScrollBarButtons(this, [this] { console_.ShowAfterScrolling(); });
    const auto hide = [this, buttons] {
        console_.HideForScrolling();
        if (!buttons->Held()) {
            QTimer::singleShot(0, this, [this] { console_.ShowAfterScrolling(); });
        }
    };
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(bar, &QScrollBar::actionTriggered, this, hide);
        connect(bar, &QScrollBar::sliderPressed, this, hide);
        bar->installEventFilter(buttons);
    }
    connect(&edited_, &EditedDocument::documentChanged, this,
            &CAtelierView::FollowDocumentChange);
    connect(&edited_, &EditedDocument::selectionChanged, this, &CAtelierView::InvalidateCanvas);
    connect(&edited_, &EditedDocument::historyStepped, this, &CAtelierView::EmptyCopyStore);
    UpdateScrollSizes();
}

CAtelierView::~CAtelierView() = default;

void CAtelierView::FollowDocumentChange() {
    // The canvas size or the zoom may have changed with the document (an
    // edge drag, an undo).
    UpdateScrollSizes();
    console_.RepaintDigits();
    // An undo or a deletion may have taken the node being cut.
    if (cut_.FollowDocument(doc_) && !cut_.IsOn()) StopMultiCut();
}

QPoint CAtelierView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

IntRect CAtelierView::ClientRect() const {
    return {0, 0, viewport()->width(), viewport()->height()};
}

QPoint CAtelierView::VisibleCentreOnCanvas() const {
    return tessaly::VisibleCentreOnCanvas(doc_.State(), ClientRect(), ScrollPosition());
}

void CAtelierView::ScrollTo(QPoint viewPoint) {
    horizontalScrollBar()->setValue(viewPoint.x());
    verticalScrollBar()->setValue(viewPoint.y());
}

void CAtelierView::ScrollToShow(QPoint viewPoint) {
    const QSize total = ScrollSizes(doc_.State());
    const QSize client = viewport()->size();
    ScrollTo(tessaly::ScrollToShow(viewPoint, ScrollPosition(), client, total,
                                   horizontalScrollBar()->maximum() > 0,
                                   verticalScrollBar()->maximum() > 0));
}

void CAtelierView::UpdateScrollSizes() {
    const QSize total = ScrollSizes(doc_.State());
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, total.width() - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, total.height() - client.height()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    InvalidateCanvas();
}

void CAtelierView::SetZoom(float zoom) {
    if (!SetDocumentZoom(edited_, ClampZoom(doc_.State(), zoom))) return;
    Q_EMIT zoomChanged(doc_.State().zoom);
}

void CAtelierView::ZoomBy(int percentPoints) {
    SetZoom(ZoomedBy(doc_.State(), percentPoints));
}

void CAtelierView::ZoomToFit() {
    SetZoom(FitZoom(doc_.State(), viewport()->size()));
}

void CAtelierView::ZoomAround(float zoom, QPoint anchor) {
    const QPoint scroll = ScrollPosition();
    const float before = doc_.State().zoom;
    SetZoom(zoom);
    ScrollTo(ScrollKeepingPoint(anchor, scroll, before, doc_.State().zoom));
}

void CAtelierView::StepZoom(int direction) {
    ZoomAround(SteppedZoom(doc_.State(), direction), viewport()->rect().center());
}

void CAtelierView::InitialUpdate(bool fromFile) {
    StopHoverAnimation();
    selectionDrag_.Cancel();
    StopMultiCut();
    insertPoint_ = {};
    EmptyCopyStore();
    UpdateScrollSizes();
    ScrollTo({doc_.State().savedScrollX, doc_.State().savedScrollY});
    ResetSelection(doc_, fromFile);
    backgroundOnly_ = false;
    if (fromFile) {
        console_.SetVisible(doc_.State().zoomConsolePinned != 0);
    } else {
        console_.SetVisible(true);
    }
    console_.RepaintDigits();
    InvalidateCanvas();
    RefreshStatusPanes(doc_);
    Q_EMIT documentStarted(fromFile);
}

void CAtelierView::InvalidateCanvas() {
    frameDirty_ = true;
    viewport()->update();
}

bool CAtelierView::StartMultiCut() {
    StopHoverAnimation();
    selectionDrag_.Cancel();
    if (!cut_.Start(doc_, CurrentSettings())) return false;
    SelectionChanged();
    InvalidateCanvas();
    ShowGuide(ui_text::kMultiCutGuide);
    Q_EMIT multiCutChanged();
    return true;
}

void CAtelierView::StopMultiCut() {
    cutDrag_.Cancel();
    cut_.Stop();
    InvalidateCanvas();
    Q_EMIT multiCutChanged();
}

void CAtelierView::CutRectChanged() {
    InvalidateCanvas();
    edited_.ViewSettingChanged();
    RefreshStatusPanes(doc_);
}

void CAtelierView::SetBackgroundOnly(bool on) {
    if (backgroundOnly_ == on) return;
    backgroundOnly_ = on;
    InvalidateCanvas();
}

QColor CAtelierView::ShownColourAt(QPoint client) {
    if (!viewport()->rect().contains(client)) return {};
    const QImage pixel = viewport()->grab(QRect(client, QSize(1, 1))).toImage();
    return pixel.isNull() ? QColor() : pixel.pixelColor(0, 0);
}

void CAtelierView::FeedbackChanged(const IntRect& before, const IntRect& after) {
    if (!before.IsEmpty()) viewport()->update(before.ToQRect());
    if (!after.IsEmpty()) viewport()->update(after.ToQRect());
}

void CAtelierView::ComposeFrame() {
    const QSize size = viewport()->size();
    if (frame_.size() != size) frame_ = QImage(size, QImage::Format_RGB32);
    if (frame_.isNull()) return;
    const QPoint scroll = ScrollPosition();
    const IntRect area = ClientRect().Translated(scroll.x(), scroll.y());
    QPainter painter(&frame_);
    painter.translate(-scroll);
    RenderOptions options;
    options.zoom = doc_.State().zoom;
    options.backgroundOnly = backgroundOnly_;
    options.backgroundCopy = BackgroundCopy();
    options.viewArea = area;
    if (cut_.IsOn()) {
        options.multiCutNode = cut_.Node();
        options.multiCutOverlay = [this](QPainter& overlayPainter) {
            const DocState& s = doc_.State();
            PaintCutOverlay(overlayPainter,
                            {cut_.Rect(), cut_.Highlighted(), s.cutLineColor, s.cutLineWidth},
                            CurrentSettings(), s.zoom);
        };
    }
    PaintCanvas(painter, doc_, options);
    PaintOutsideCanvas(painter, CanvasViewRect(doc_.State()), area);
    frameDirty_ = false;
    ++composeCount_;
}

const QImage* CAtelierView::BackgroundCopy() { return backgroundCopies_.Get(doc_); }

void CAtelierView::paintEvent(QPaintEvent* event) {
    if (frameDirty_ || frame_.size() != viewport()->size()) ComposeFrame();
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    painter.drawImage(dirty, frame_, dirty);
    console_.Draw(painter, ClientRect());
    if (edgeDrag_.IsActive()) edgeDrag_.DrawFeedback(painter);
    selectionDrag_.DrawFeedback(painter);
    cutDrag_.DrawFeedback(painter);
    if (comets_) DrawComets(painter, *comets_, CometPenWidth(doc_.State().zoom));
}

void CAtelierView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollSizes();
}

void CAtelierView::scrollContentsBy(int, int) {
    StopHoverAnimation();
    InvalidateCanvas();
}

bool CAtelierView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) return true;  // tooltips are shown on hover below
    return QAbstractScrollArea::viewportEvent(event);
}

void CAtelierView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    LeftPress(event->position().toPoint(), event->modifiers());
}

void CAtelierView::LeftPress(QPoint client, Qt::KeyboardModifiers keys) {
    StopHoverAnimation();
    if (backgroundOnly_) SetBackgroundOnly(false);
    if (console_.Press(client)) return;
    const QPoint view = ClientToView(client);
    if (cut_.IsOn()) {
        if (cutDrag_.Press(client)) {
            setFocus(Qt::MouseFocusReason);
        } else {
            PressOnEdgeOrNothing(client);
        }
    } else if (const HandleHit hit = HandleAt(doc_, view); hit.IsValid()) {
        if (MakeMainSelection(doc_, hit.node)) SelectionChanged();
        selectionDrag_.BeginResize(hit, client);
    } else if (const int node = NodeAt(doc_, view); node >= 0) {
        PressOnNode(node, client, keys);
    } else {
        PressOnEdgeOrNothing(client);
    }
    console_.PressTakenElsewhere();
}

void CAtelierView::PressOnEdgeOrNothing(QPoint client) {
    if (edgeDrag_.Press(ClientToView(client))) return;
    ClearSelection();
    selectionDrag_.BeginRubberBand(client);
}

void CAtelierView::PressOnNode(int node, QPoint client, Qt::KeyboardModifiers keys) {
    setFocus(Qt::MouseFocusReason);
    const ClickOutcome outcome = ClickSelect(doc_, node, keys);
    SelectionChanged();
    if (outcome == ClickOutcome::StartMove) selectionDrag_.BeginMove(node, client);
}

void CAtelierView::mouseMoveEvent(QMouseEvent* event) {
    if (backgroundOnly_) return;
    const QPoint client = event->position().toPoint();
    ShowCursorPane(client);
    if (MoveActiveDrag(client, event->modifiers())) return;
    Hover(client);
}

// At most one drag runs at a time.
bool CAtelierView::MoveActiveDrag(QPoint client, Qt::KeyboardModifiers keys) {
    return selectionDrag_.Move(client, keys) || console_.Move(client) || cutDrag_.Move(client) ||
           edgeDrag_.Move(ClientToView(client));
}

void CAtelierView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint client = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        RightRelease(client, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (console_.Release(client)) return;
    if (cutDrag_.Release(client)) return;
    if (selectionDrag_.Release(client)) return;
    edgeDrag_.Release(ClientToView(client));
}

void CAtelierView::RightRelease(QPoint client, QPoint global) {
    StopHoverAnimation();
    const QPoint view = ClientToView(client);
    insertPoint_ = view;
    if (QLineF(client, console_.Centre()).length() <= kConsoleRadius) {
        console_.SetVisible(true);
        ShowZoomMenu(global);
        return;
    }
    if (cut_.IsOn()) {
        // Only the edges and the inside of the cut rectangle have a menu.
        const CutPart part = cutDrag_.PartAt(client);
        if (IsCutEdge(part) || part == CutPart::Whole) {
            popups_.Open(PopupKind::MultiCut, global, CurrentPopupContext());
        }
        return;
    }
    const int node = NodeAt(doc_, view);
    if (node < 0) {
        ClearSelection();
        const DocState& s = doc_.State();
        const IntRect canvas = CanvasViewRect(s);
        if (view.x() > canvas.right || view.y() > canvas.bottom) return;
        popups_.Open(PopupKind::View, global, CurrentPopupContext());
        return;
    }
    SelectForPopup(doc_, node);
    SelectionChanged();
    popups_.Open(PopupKind::Image, global, CurrentPopupContext());
}

void CAtelierView::dragEnterEvent(QDragEnterEvent* event) {
    if (ImageAdding::CanTake(*event->mimeData())) event->acceptProposedAction();
}

void CAtelierView::dragMoveEvent(QDragMoveEvent* event) {
    if (ImageAdding::CanTake(*event->mimeData())) event->acceptProposedAction();
}

void CAtelierView::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    images_.Drop(*event->mimeData(), event->position().toPoint());
}

void CAtelierView::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse opens its menus at the right-button release.
    if (event->reason() != QContextMenuEvent::Keyboard) return;
    const DocState& s = doc_.State();
    QPoint client = viewport()->rect().center();
    if (doc_.IsSelected(s.mainSelection)) {
        const NodeRecord& node = doc_.Node(s.mainSelection);
        client =
            ViewToClient({CanvasToView(s.zoom, node.centerX), CanvasToView(s.zoom, node.centerY)});
    }
    RightRelease(client, viewport()->mapToGlobal(client));
}

void CAtelierView::wheelEvent(QWheelEvent* event) {
    const QPoint client = event->position().toPoint();
    const bool away = event->angleDelta().y() > 0 || event->angleDelta().x() > 0;
    const int step = WheelStep(event->modifiers(), event->buttons(), away);
    if (console_.OnDialRing(client)) {
        ZoomBy(step);
        event->accept();
        return;
    }
    if (WheelZooms(event->modifiers(), event->buttons())) {
        ZoomByWheel(event->angleDelta(), client);
        event->accept();
        return;
    }
    if (verticalScrollBar()->maximum() == 0) return;
    QScrollBar* bar = WheelScrollsHorizontally(event->modifiers(), event->buttons())
                          ? horizontalScrollBar()
                          : verticalScrollBar();
    bar->setValue(bar->value() + step);
    // Then the usual notch of lines. Ctrl and Shift keep to the fine step
    // alone: the standard handling would turn them into whole pages.
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
        QAbstractScrollArea::wheelEvent(event);
    }
    console_.ShowAfterScrolling();
    event->accept();
}

void CAtelierView::ZoomByWheel(QPoint angleDelta, QPoint pointer) {
    // A notch of the wheel is one step; finer wheels and touchpads add up
    // to it. Alt may turn the wheel sideways, so either axis counts.
    constexpr int kNotch = 120;
    zoomWheelRest_ += angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    const int notches = zoomWheelRest_ / kNotch;
    zoomWheelRest_ -= notches * kNotch;
    for (int i = 0; i < std::abs(notches); ++i)
        ZoomAround(SteppedZoom(doc_.State(), notches), pointer);
}

void CAtelierView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers keys =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (keys == Qt::ControlModifier) {
        switch (event->key()) {
            case Qt::Key_A:
                SelectAll();
                return;
            case Qt::Key_C:
                exchange_.Copy();
                return;
            case Qt::Key_V:
                exchange_.PasteByKey();
                return;
            default:
                break;
        }
    }
    if (CommandKey(*event)) return;
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        const bool backwards = event->key() == Qt::Key_Backtab || keys == Qt::ShiftModifier;
        if (!cut_.IsOn()) {
            StepSelectionByTab(backwards);
        } else if (cut_.CycleHighlight(backwards)) {
            InvalidateCanvas();
        }
        return;
    }
    if (keys == Qt::NoModifier && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_F5)) {
        Q_EMIT commandRequested(event->key() == Qt::Key_Delete ? CommandId::kEditDelete
                                                               : CommandId::kRandomPositions);
        return;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int step = ctrl ? 1 : 10;
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    // The console moves while it shows its dial; otherwise the selection does.
    if (console_.MoveByKey(dx * step, dy * step)) return;
    if (cut_.IsOn()) {
        // The cut rectangle moves by canvas pixels, whatever the zoom.
        if (cut_.StepByKey(doc_, dx * step, dy * step)) CutRectChanged();
        return;
    }
    const int canvasStep = ArrowKeyStep(doc_.State().zoom, ctrl);
    MoveSelectionByKeys(dx * canvasStep, dy * canvasStep);
}

bool CAtelierView::CommandKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers keys =
        event.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    std::optional<CommandId> id;
    if (event.key() == Qt::Key_Escape && keys == Qt::NoModifier) {
        id = CommandId::kMultiCutStop;
    } else if (event.key() == Qt::Key_M && keys == Qt::ControlModifier) {
        id = CommandId::kMultiCutStart;
    } else if (keypad && keys == Qt::NoModifier && event.key() == Qt::Key_Plus) {
        id = CommandId::kCutWiden;
    } else if (keypad && keys == Qt::NoModifier && event.key() == Qt::Key_Minus) {
        id = CommandId::kCutNarrow;
    }
    if (id) Q_EMIT commandRequested(*id);
    return id.has_value();
}

bool CAtelierView::focusNextPrevChild(bool) {
    return false;
}

void CAtelierView::SelectAll() {
    if (tessaly::SelectAll(doc_)) SelectionChanged();
}

void CAtelierView::ClearSelection() {
    if (tessaly::ClearSelection(doc_)) SelectionChanged();
}

void CAtelierView::SelectionChanged() {
    edited_.SelectionChanged();
}

void CAtelierView::RunPopupCommand(CommandId id) {
    Q_EMIT commandRequested(id);
}

PopupContext CAtelierView::CurrentPopupContext() const {
    PopupContext context;
    context.commands = ReadDocumentContext(doc_);
    context.commands.consoleShown = mosaicConsoleShown_;
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    context.clipboardHasBitmap = clipboard != nullptr && clipboard->hasImage();
    context.cutLineWidth = doc_.State().cutLineWidth;
    context.commands.multiCutMode = cut_.IsOn();
    return context;
}

QMenu* CAtelierView::OpenPopup() const {
    if (zoomMenu_ != nullptr && zoomMenu_->isVisible()) return zoomMenu_;
    return popups_.OpenMenu();
}

void CAtelierView::StepSelectionByTab(bool backwards) {
    if (!SelectNextByTab(doc_, backwards)) return;
    const int main = doc_.State().mainSelection;
    if (doc_.IsSelected(main)) {
        const NodeRecord& node = doc_.Node(main);
        ScrollToShow({CanvasToView(doc_.State().zoom, node.centerX),
                      CanvasToView(doc_.State().zoom, node.centerY)});
    }
    SelectionChanged();
}

void CAtelierView::MoveSelectionByKeys(int dx, int dy) {
    StopHoverAnimation();
    MoveSelected(edited_, dx, dy);
}

void CAtelierView::leaveEvent(QEvent* event) {
    StopHoverAnimation();
    SetStatusPane(StatusPane::kCursor, {});
    QAbstractScrollArea::leaveEvent(event);
}

void CAtelierView::ShowGuide(QStringView text) {
    if (CurrentSettings().dspGuide == 1) SetStatusInfo(text.toString());
}

void CAtelierView::SetCanvasCursor(CanvasCursor cursor) {
    viewport()->setCursor(CursorFor(cursor));
}

void CAtelierView::ShowCursorPane(QPoint client) {
    const QPoint view = ClientToView(client);
    const DocState& s = doc_.State();
    const IntRect canvas = CanvasViewRect(s);
    SetStatusPane(StatusPane::kCursor, canvas.Contains(view.x(), view.y())
                                           ? QStringLiteral("%1, %2")
                                                 .arg(ViewToCanvas(s.zoom, view.x()))
                                                 .arg(ViewToCanvas(s.zoom, view.y()))
                                           : QString());
}

void CAtelierView::Hover(QPoint client) {
    if (!ClientRect().Contains(client.x(), client.y())) {
        StopHoverAnimation();
        SetCanvasCursor(CanvasCursor::Arrow);
        return;
    }
    if (console_.OnDialRing(client)) {
        SetCanvasCursor(CanvasCursor::Dial);
        return;
    }
    switch (console_.HitTest(client)) {
        case ConsoleZone::Plus:
            SetCanvasCursor(CanvasCursor::ZoomIn);
            return;
        case ConsoleZone::Minus:
            SetCanvasCursor(CanvasCursor::ZoomOut);
            return;
        case ConsoleZone::Body:
            SetCanvasCursor(console_.IsDialShown() ? CanvasCursor::Move : CanvasCursor::Hand);
            return;
        case ConsoleZone::Outside:
            break;
    }
    const QPoint view = ClientToView(client);
    const auto edge = edgeDrag_.EdgeAt(view);
    if (edge) {
        QToolTip::showText(viewport()->mapToGlobal(client), edgeDrag_.ToolTip(*edge), viewport());
    } else if (QToolTip::isVisible()) {
        QToolTip::hideText();
    }
    if (cut_.IsOn()) {
        if (!cutDrag_.Hover(client)) HoverNothing(client);
        return;
    }
    if (const HandleHit hit = HandleAt(doc_, view); hit.IsValid()) {
        SetCanvasCursor(HandleCursor(hit.handle));
        return;
    }
    if (const int node = NodeAt(doc_, view); node >= 0) {
        HoverNode(node, client);
        return;
    }
    HoverNothing(client);
}

void CAtelierView::HoverNode(int node, QPoint client) {
    const bool selected = doc_.IsSelected(node);
    const bool even = node % 2 == 0;
    SetCanvasCursor(selected ? CanvasCursor::Move : CanvasCursor::Hand);
    if (selected) {
        ShowGuide(even ? ui_text::kSelectedEvenNodeGuide : ui_text::kSelectedOddNodeGuide);
    } else {
        ShowGuide(even ? ui_text::kUnselectedEvenNodeGuide : ui_text::kUnselectedOddNodeGuide);
    }
    if (hoveredNode_ >= 0 && hoveredNode_ != node) {
        StopHoverAnimation();
    } else if (hoveredNode_ < 0 && !selected && CurrentSettings().playAnime > 0) {
        StartHoverAnimation(node, ClientToView(client));
    }
}

void CAtelierView::HoverNothing(QPoint client) {
    StopHoverAnimation();
    if (const auto edge = edgeDrag_.EdgeAt(ClientToView(client))) {
        SetCanvasCursor(*edge == Qt::Horizontal ? CanvasCursor::SplitLeftRight
                                                : CanvasCursor::SplitUpDown);
        ShowGuide(*edge == Qt::Horizontal ? ui_text::kWidthEdgeGuide : ui_text::kHeightEdgeGuide);
        return;
    }
    // The multi-cut guide stays while the mode is on.
    if (!cut_.IsOn()) ShowGuide({});
    SetCanvasCursor(CanvasCursor::Arrow);
}

QMenu* CAtelierView::ZoomMenu() {
    if (zoomMenu_) return zoomMenu_;
    zoomMenu_ = new QMenu(this);
    QAction* pin = zoomMenu_->addAction(ui_text::kConsoleAlwaysShown.toString());
    pin->setCheckable(true);
    connect(pin, &QAction::triggered, this, [this] { console_.TogglePinned(); });
    connect(zoomMenu_, &QMenu::aboutToShow, this,
            [this, pin] { pin->setChecked(doc_.State().zoomConsolePinned != 0); });
    zoomMenu_->addSeparator();
    // The labels of kZoomLevels, in their order.
    const std::array<QStringView, kZoomLevels.size()> labels = {
        ui_text::kZoom10,  ui_text::kZoom25,  ui_text::kZoom50,  ui_text::kZoom100,
        ui_text::kZoom200, ui_text::kZoom300, ui_text::kZoom400,
    };
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const float level = kZoomLevels[i];
        QString label = labels[i].toString();
        if (level == 1.0f) label += u'\t' + ui_text::kZoom100Key.toString();
        connect(zoomMenu_->addAction(label), &QAction::triggered, this,
                [this, level] { SetZoom(level); });
    }
    connect(zoomMenu_->addAction(ui_text::kZoomFit.toString()), &QAction::triggered, this,
            [this] { ZoomToFit(); });
    return zoomMenu_;
}

void CAtelierView::ShowZoomMenu(QPoint globalPos) {
    PopupCentred(*ZoomMenu(), globalPos);
}

IntRect CAtelierView::HoverBounds() const {
    return comets_ ? comets_->Bounds() : IntRect{};
}

void CAtelierView::StartHoverAnimation(int node, QPoint pointerView) {
    StopHoverAnimation();
    const DocState& s = doc_.State();
    const int comets = CurrentSettings().playAnime;
    const int speed = CurrentSettings().speedAnime;
    const QPoint scroll = ScrollPosition();
    const IntRect nodeClient = NodeViewRect(doc_, node).Translated(-scroll.x(), -scroll.y());
    const QPoint centre =
        HoverOrbitCentre(pointerView, doc_.Node(node).centerY, s.zoom, s.canvasWidth, scroll);
    CrtRandom random;
    random.SeedFromClock();
    comets_ = BuildCometAnimation(HoverRect(nodeClient), centre, s.zoom, comets, speed, random);
    if (!comets_) return;
    hoveredNode_ = node;
    hoverTimer_.start(comets_->PeriodMs(), this);
    FeedbackChanged({}, HoverBounds());
}

void CAtelierView::StopHoverAnimation() {
    if (!comets_ && hoveredNode_ < 0) return;
    hoverTimer_.stop();
    const IntRect before = HoverBounds();
    comets_.reset();
    hoveredNode_ = -1;
    FeedbackChanged(before, {});
}

void CAtelierView::timerEvent(QTimerEvent* event) {
    if (event->timerId() != hoverTimer_.timerId() || !comets_) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    comets_->Tick();
    FeedbackChanged(HoverBounds(), {});
}

}  // namespace tessaly
