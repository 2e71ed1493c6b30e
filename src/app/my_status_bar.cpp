#include "app/my_status_bar.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QStackedWidget>
#include <algorithm>

namespace tessaly {
namespace {

// The panes, left to right. The label names the pane in the show/hide menu;
// the pane is made just wide enough to draw its width template, the widest
// text it shows: up to 9,000 images with the thousands comma, and sizes up to
// the largest canvas.
struct PaneDefinition {
    QStringView label;
    QStringView widthTemplate;
    Qt::Alignment alignment;
    QStringView toolTip;
};

const std::array<PaneDefinition, kStatusPaneCount> kPaneTable{{
    {u"プログレス", u"999999999999999999999999999999", Qt::AlignLeft | Qt::AlignVCenter, {}},
    {u"OBJECT", u"9,999", Qt::AlignCenter, u"オブジェクト数"},
    {u"POS", u"9999, 9999", Qt::AlignCenter, u"主選択位置(単位:Pixel)"},
    {u"SIZE", u"9999×9999", Qt::AlignCenter, u"主選択サイズ(単位:Pixel)"},
    {u"CURSOR", u"9999, 9999", Qt::AlignCenter, u"カーソル位置(単位:Pixel)"},
}};

constexpr int kPanesPage = 0;
constexpr int kInfoPage = 1;

int IndexOf(StatusPane pane) {
    return static_cast<int>(pane);
}

// A pane: plain text inside a thin box. Drawn here rather than with a frame
// style because some styles reduce frames to bare separators.
class PaneLabel final : public QLabel {
public:
    static constexpr int kBorder = 1;

    explicit PaneLabel(QWidget* parent) : QLabel(parent) {
        setFrameStyle(QFrame::NoFrame);
        setTextFormat(Qt::PlainText);
        setIndent(0);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

}  // namespace

CMyStatusBar::CMyStatusBar(QWidget* parent) : QStatusBar(parent) {
    stack_ = new QStackedWidget(this);

    panesRow_ = new QWidget(stack_);
    auto* row = new QHBoxLayout(panesRow_);
    row->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kStatusPaneCount; ++i) {
        const PaneDefinition& def = kPaneTable[static_cast<size_t>(i)];
        QLabel* pane = new PaneLabel(panesRow_);
        pane->setAlignment(def.alignment);
        pane->setToolTip(def.toolTip.toString());
        pane->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        panes_[static_cast<size_t>(i)] = pane;
        row->addWidget(pane);
        // The progress pane sits on the left, the indicators on the right.
        if (i == IndexOf(StatusPane::kProgress))
            row->addStretch(1);
    }
    stack_->insertWidget(kPanesPage, panesRow_);

    infoLabel_ = new PaneLabel(stack_);
    infoLabel_->setContentsMargins(PaneLabel::kBorder, PaneLabel::kBorder, PaneLabel::kBorder,
                                   PaneLabel::kBorder);
    infoLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long text is clipped rather than widening the window.
    infoLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stack_->insertWidget(kInfoPage, infoLabel_);
    stack_->setCurrentIndex(kPanesPage);
    addWidget(stack_, 1);

    // Created after the panes so that it stays above them.
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setOrientation(Qt::Horizontal);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setGeometry(QRect());

    for (int i = 0; i < kStatusPaneCount; ++i) {
        UpdatePaneWidth(i);
        panes_[static_cast<size_t>(i)]->installEventFilter(this);
    }
    PlaceProgressBar();
}

CMyStatusBar::~CMyStatusBar() = default;

void CMyStatusBar::SetPaneText(StatusPane pane, const QString& text) {
    const int index = IndexOf(pane);
    if (index < 0 || index >= kStatusPaneCount)
        return;
    panes_[static_cast<size_t>(index)]->setText(text);
}

void CMyStatusBar::SetInfoText(const QString& text) {
    // Guides are set again on every pointer move; only a change is drawn.
    if (text == infoLabel_->text()) return;
    infoLabel_->setText(text);
    stack_->setCurrentIndex(text.isEmpty() ? kPanesPage : kInfoPage);
    PlaceProgressBar();
    // Long operations set progress texts without returning to the event loop,
    // so the change has to reach the screen now.
    if (isVisible())
        repaint();
}

void CMyStatusBar::SetProgressRange(int minimum, int maximum) {
    // An empty range would turn the bar into a busy indicator; a total of zero
    // steps should show an empty bar instead.
    if (maximum <= minimum)
        maximum = minimum + 1;
    const bool wasInUse = ProgressInUse();
    progress_->setRange(minimum, maximum);
    if (progress_->value() < minimum)
        progress_->setValue(minimum);
    if (wasInUse != ProgressInUse())
        PlaceProgressBar();
}

void CMyStatusBar::SetProgressValue(int value) {
    const bool wasInUse = ProgressInUse();
    // QProgressBar ignores values outside its range; clamp them instead.
    progress_->setValue(std::clamp(value, progress_->minimum(), progress_->maximum()));
    if (wasInUse != ProgressInUse()) {
        PlaceProgressBar();
        if (IsInfoShowing() && isVisible())
            repaint();
    }
    // Long operations do not return to the event loop until they end: the bar
    // is drawn now, a few times a second, so that it moves meanwhile.
    constexpr int kProgressPaintMs = 50;
    if (progress_->isVisible() &&
        (!progressPainted_.isValid() || progressPainted_.elapsed() >= kProgressPaintMs)) {
        progress_->repaint();
        progressPainted_.start();
    }
}

QString CMyStatusBar::PaneText(StatusPane pane) const {
    const QLabel* label = PaneWidget(pane);
    return label ? label->text() : QString();
}

QString CMyStatusBar::InfoText() const {
    return infoLabel_->text();
}

bool CMyStatusBar::IsInfoShowing() const {
    return stack_->currentIndex() == kInfoPage;
}

QLabel* CMyStatusBar::PaneWidget(StatusPane pane) const {
    const int index = IndexOf(pane);
    if (index < 0 || index >= kStatusPaneCount)
        return nullptr;
    return panes_[static_cast<size_t>(index)];
}

QRect CMyStatusBar::PaneRect(StatusPane pane) const {
    const QLabel* label = PaneWidget(pane);
    if (!label)
        return {};
    return QRect(label->mapTo(this, QPoint(0, 0)), label->size());
}

bool CMyStatusBar::IsPaneShown(StatusPane pane) const {
    const QLabel* label = PaneWidget(pane);
    return label && !label->isHidden();
}

void CMyStatusBar::SetPaneShown(StatusPane pane, bool shown) {
    QLabel* label = PaneWidget(pane);
    if (!label)
        return;
    label->setVisible(shown);
    PlaceProgressBar();
}

std::unique_ptr<QMenu> CMyStatusBar::CreatePaneMenu() {
    auto menu = std::make_unique<QMenu>();
    for (int i = 0; i < kStatusPaneCount; ++i) {
        const auto pane = static_cast<StatusPane>(i);
        QAction* action = menu->addAction(kPaneTable[static_cast<size_t>(i)].label.toString());
        action->setCheckable(true);
        action->setChecked(IsPaneShown(pane));
        connect(action, &QAction::toggled, this,
                [this, pane](bool checked) { SetPaneShown(pane, checked); });
    }
    return menu;
}

void CMyStatusBar::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = CreatePaneMenu();
    menu->exec(event->globalPos());
    event->accept();
}

void CMyStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    PlaceProgressBar();
}

bool CMyStatusBar::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(panes_.begin(), panes_.end(), watched);
    if (found != panes_.end()) {
        const int index = static_cast<int>(found - panes_.begin());
        switch (event->type()) {
            case QEvent::FontChange:
                UpdatePaneWidth(index);
                break;
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
                if (index == IndexOf(StatusPane::kProgress))
                    PlaceProgressBar();
                break;
            default:
                break;
        }
    }
    return QStatusBar::eventFilter(watched, event);
}

void CMyStatusBar::UpdatePaneWidth(int index) {
    QLabel* pane = panes_[static_cast<size_t>(index)];
    const QFontMetrics metrics = pane->fontMetrics();
    // A little air on both sides of the template, as a drawn panel needs.
    const int padding = std::max(2, metrics.height() / 4);
    const int side = padding + PaneLabel::kBorder;
    pane->setContentsMargins(side, PaneLabel::kBorder + 1, side, PaneLabel::kBorder + 1);
    const int textWidth =
        metrics.horizontalAdvance(kPaneTable[static_cast<size_t>(index)].widthTemplate.toString());
    pane->setFixedWidth(textWidth + 2 * side);
}

bool CMyStatusBar::ProgressInUse() const {
    return progress_->value() > progress_->minimum();
}

void CMyStatusBar::PlaceProgressBar() {
    if (!progress_)
        return;
    const bool paneShown = IsPaneShown(StatusPane::kProgress);
    const bool info = IsInfoShowing();
    // Over the information line the bar only appears while an operation is
    // actually moving it; otherwise the text has the whole width.
    const bool visible = paneShown && (!info || ProgressInUse());
    if (visible) {
        progress_->setGeometry(PaneRect(StatusPane::kProgress));
        progress_->raise();
    }
    progress_->setVisible(visible);

    const int gap = infoLabel_->fontMetrics().horizontalAdvance(u'x');
    int indent = gap / 2;
    if (info && visible) {
        // The indent counts from the label's contents, inside its margins.
        const int labelLeft = infoLabel_->mapTo(this, QPoint(0, 0)).x();
        indent =
            progress_->geometry().right() + 1 - labelLeft - infoLabel_->contentsRect().left() + gap;
    }
    if (indent != infoIndent_) {
        infoIndent_ = indent;
        infoLabel_->setIndent(indent);
    }
}

}  // namespace tessaly
