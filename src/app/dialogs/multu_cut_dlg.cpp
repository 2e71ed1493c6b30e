#include "app/dialogs/multu_cut_dlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "app/widgets/number_edit.h"
#include "view/atelier_view.h"
#include "document/status_panes.h"
#include "resources/ui_strings.h"
#include "services/app_settings.h"
#include "services/settings.h"

namespace tessaly {
namespace {

constexpr QStringView kTitle = u"マルチカット設定";
constexpr QStringView kColumnsLabel = u"1 水平個数：";
constexpr QStringView kRowsLabel = u"2 垂直個数：";
constexpr QStringView kCountRange = u"(1 ～ 100個)";
constexpr QStringView kGapXLabel = u"3 水平間隔：";
constexpr QStringView kGapYLabel = u"4 垂直間隔：";
constexpr QStringView kGapRange = u"(0.00 ～ 50.00ピクセル)";
constexpr QStringView kApplyGapTip = u"【更新】左に入力された値でビューを更新します";
constexpr QStringView kFileTypeLabel = u"5 ファイル保存時の種別：";
constexpr QStringView kFileTypes[] = {u"JPEG", u"GIF", u"BMP", u"PNG", u"TIFF"};
constexpr QStringView kCloseTip = u"このウィンドウを閉じます";
const QString kSection = QStringLiteral("MultuCut");
const QString kLastX = QStringLiteral("LastPX");
const QString kLastY = QStringLiteral("LastPY");

// A count box whose spin asks the grid's fitting rule before it moves.
class CountEdit : public NumberEdit {
public:
    CountEdit(std::function<void(int)> step, QWidget* parent)
        : NumberEdit(1, kMaxCutCount, parent), step_(std::move(step)) {}

protected:
    void stepBy(int steps) override {
        step_(steps);
        lineEdit()->selectAll();
    }

private:
    std::function<void(int)> step_;
};

bool IsCount(GridValue which) {
    return which == GridValue::Columns || which == GridValue::Rows;
}

// The text of a gap box read as C's atof does: the leading number, 0 for none.
float ReadGap(const QString& text) {
    const QByteArray latin = text.trimmed().toLatin1();
    return std::strtof(latin.constData(), nullptr);
}

QString GapText(float gap) {
    return QString::asprintf("%.3f", static_cast<double>(gap));
}

}  // namespace

CMultuCutDlg::CMultuCutDlg(CAtelierView& view, AppSettings& grid)
    // A dialog window kept above the frame, like the photomosaic console, so
    // that its mnemonics stay its own.
    : QDialog(&view, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      view_(view),
      grid_(grid) {
    setWindowTitle(kTitle.toString());
    setModal(false);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(6);
    const GridValue values[] = {GridValue::Columns, GridValue::Rows, GridValue::GapX,
                                GridValue::GapY};
    const QStringView labels[] = {kColumnsLabel, kRowsLabel, kGapXLabel, kGapYLabel};
    for (int i = 0; i < 4; ++i) {
        const GridValue which = values[i];
        rows->addWidget(new QLabel(labels[i].toString(), this), i, 0);
        rows->addWidget(IsCount(which) ? BuildCountRow(which) : BuildGapRow(which), i, 1);
        rows->addWidget(new QLabel((IsCount(which) ? kCountRange : kGapRange).toString(), this), i,
                        2);
    }

    auto* close = new QPushButton(ui_text::kClose.toString(), this);
    close->setToolTip(kCloseTip.toString());
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &CMultuCutDlg::HideDialog);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    refusal_ = new QLabel(ui_text::kCutGridRefused.toString(), this);
    refusal_->setWordWrap(true);
    refusal_->hide();

    auto* column = new QVBoxLayout(this);
    column->addLayout(rows);
    column->addWidget(refusal_);
    column->addWidget(new QLabel(kFileTypeLabel.toString(), this));
    column->addWidget(BuildTypeGroup());
    column->addLayout(bottom);
    column->setSizeConstraint(QLayout::SetFixedSize);

    ShowValues();
    adjustSize();
    PlaceAtStart();
}

CMultuCutDlg::~CMultuCutDlg() {
    WriteProfileInt(kSection, kLastX, pos().x());
    WriteProfileInt(kSection, kLastY, pos().y());
}

QWidget* CMultuCutDlg::BuildCountRow(GridValue which) {
    auto* edit = new CountEdit([this, which](int steps) { StepCount(which, steps); }, this);
    connect(edit, &QAbstractSpinBox::editingFinished, this, [this, which] { ApplyTyped(which); });
    (which == GridValue::Columns ? columns_ : rows_) = edit;
    return edit;
}

QWidget* CMultuCutDlg::BuildGapRow(GridValue which) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* edit = new QLineEdit(row);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000.000")) + 12);
    auto* apply = new QToolButton(row);
    apply->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    apply->setToolTip(kApplyGapTip.toString());
    connect(apply, &QToolButton::clicked, this, [this, which] { ApplyTyped(which); });
    connect(edit, &QLineEdit::returnPressed, this, [this, which] { ApplyTyped(which); });
    layout->addWidget(edit);
    layout->addWidget(apply);
    layout->addStretch(1);
    (which == GridValue::GapX ? gapX_ : gapY_) = edit;
    return row;
}

QWidget* CMultuCutDlg::BuildTypeGroup() {
    auto* group = new QWidget(this);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(16, 0, 0, 0);
    types_ = new QButtonGroup(this);
    for (int type = 0; type < 5; ++type) {
        auto* radio = new QRadioButton(kFileTypes[type].toString(), group);
        types_->addButton(radio, type);
        layout->addWidget(radio);
    }
    connect(types_, &QButtonGroup::idClicked, this, [this](int type) { grid_.multiExt = type; });
    return group;
}

void CMultuCutDlg::PlaceAtStart() {
    const int x = GetProfileInt(kSection, kLastX, 0);
    const int y = GetProfileInt(kSection, kLastY, 0);
    if (x == 0 && y == 0) {
        const QWidget* frame = view_.window();
        move(frame->mapToGlobal(frame->rect().center()) - QPoint(width() / 2, height() / 2));
        return;
    }
    const QScreen* screen = view_.screen() ? view_.screen() : QGuiApplication::primaryScreen();
    const QSize desktop = screen ? screen->virtualSize() : size();
    move(std::max(0, std::min(x, desktop.width() - width())),
         std::max(0, std::min(y, desktop.height() - height())));
}

void CMultuCutDlg::Open() {
    if (isVisible()) return;
    refusal_->hide();
    ShowValues();
    show();
    if (shownBefore_) {
        view_.window()->activateWindow();
        view_.setFocus();
    }
    shownBefore_ = true;
}

void CMultuCutDlg::HideDialog() {
    hide();
}

void CMultuCutDlg::StepCount(GridValue which, int steps) {
    Change(which, GridValueOf(grid_, which) + static_cast<float>(steps));
}

void CMultuCutDlg::ApplyTyped(GridValue which) {
    switch (which) {
        case GridValue::Columns:
            Change(which, static_cast<float>(columns_->Read()));
            break;
        case GridValue::Rows:
            Change(which, static_cast<float>(rows_->Read()));
            break;
        case GridValue::GapX:
            Change(which, ReadGap(gapX_->text()));
            break;
        case GridValue::GapY:
            Change(which, ReadGap(gapY_->text()));
            break;
    }
}

void CMultuCutDlg::Change(GridValue which, float value) {
    const MultiCutSession& cut = view_.MultiCut();
    const std::optional<CutArea> area =
        cut.IsOn() ? std::optional<CutArea>(cut.Area(view_.Doc())) : std::nullopt;
    switch (ChangeGrid(grid_, which, value, area)) {
        case GridChange::Accepted:
            view_.InvalidateCanvas();
            RefreshStatusPanes(view_.Doc());
            refusal_->hide();
            break;
        case GridChange::Fitted:
            refusal_->show();
            break;
        case GridChange::Kept:
            refusal_->hide();
            break;
        case GridChange::Unchanged:
            break;
    }
    ShowValues();
}

void CMultuCutDlg::ShowValues() {
    columns_->SetValue(grid_.multiCntX);
    rows_->SetValue(grid_.multiCntY);
    gapX_->setText(GapText(grid_.multiMaX));
    gapY_->setText(GapText(grid_.multiMaY));
    const int type = grid_.multiExt >= 1 && grid_.multiExt <= 4 ? grid_.multiExt : 0;
    types_->button(type)->setChecked(true);
}

void CMultuCutDlg::keyPressEvent(QKeyEvent* event) {
    // Enter applies the box it was pressed in and leaves the window open.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Esc goes to reject()
}

void CMultuCutDlg::reject() {
    HideDialog();
}

}  // namespace tessaly
