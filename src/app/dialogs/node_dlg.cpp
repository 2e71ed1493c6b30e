#include "app/dialogs/node_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/background_preview.h"
#include "app/widgets/number_edit.h"
#include "app/widgets/section_swatches.h"
#include "edits/node_properties.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

constexpr QStringView kTitle = u"イメージのプロパティ";
constexpr QStringView kSizeGroup = u"1 大きさ";
constexpr QStringView kPositionGroup = u"2 位置";
constexpr QStringView kImageGroup = u"3 イメージ";
constexpr QStringView kWidth = u"幅：";
constexpr QStringView kHeight = u"高さ：";
constexpr QStringView kRangeNote = u"(%1～%2px)";
constexpr QStringView kPixelSize = u"メモリ内の大きさ：";
constexpr QStringView kPixelSizeText = u"%1 × %2";
constexpr QStringView kByteSize = u"メモリ内のサイズ：";
constexpr QStringView kByteUnit = u"byte";
constexpr QStringView kWidthRatio = u"横の比率：";
constexpr QStringView kHeightRatio = u"縦の比率：";
constexpr QStringView kRatioText = u"%1 %";
constexpr QStringView kActualSize = u"実寸にする(&M)";
constexpr QStringView kSameAspect = u"縦横比同じにする(&R)";
constexpr QStringView kByWidth = u"幅基準";
constexpr QStringView kByHeight = u"高さ基準";
constexpr QStringView kResample = u"ビューのイメージの大きさにする(&F)";
constexpr QStringView kAverages = u"平均色：";
constexpr QStringView kBack = u"戻る(&C)";
constexpr QStringView kActualSizeTip =
    u"【実寸にする】\nビューのイメージの大きさをメモリ内のイメージの\n大きさと同じにします。";
constexpr QStringView kSameAspectTip =
    u"【縦横比同じにする】\nビューのイメージの高さと幅の比率を下の基準に合せて\n"
    u"メモリ内のイメージと同じにします。";
constexpr QStringView kResampleTip =
    u"【ビューのイメージの大きさにする】\nメモリ内のイメージの大きさをビューのイメージの大きさ"
    u"になるように\n変更します。\n※ 原本イメージが大きい場合は、この処理をすることにより\n"
    u"  ファイルサイズやメモリ使用量が少なくなります。\n　但し、拡大した場合、画質が劣化します。";
constexpr QStringView kUndoTip = u"【元に戻す】\nビューのイメージの大きさにした処理を元に戻します。";

// The smallest size the boxes take.
constexpr int kLeastSide = 10;

struct Arrow {
    Qt::ArrowType type;
    QStringView tip;
    int dx, dy;
    int row, column;  // in the cross of buttons
};
constexpr Arrow kArrows[] = {
    {Qt::LeftArrow, u"1ピクセル左へ", -1, 0, 1, 0},
    {Qt::UpArrow, u"1ピクセル上へ", 0, -1, 0, 1},
    {Qt::DownArrow, u"1ピクセル下へ", 0, 1, 2, 1},
    {Qt::RightArrow, u"1ピクセル右へ", 1, 0, 1, 2},
};

QLabel* ValueLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CNodeDlg::CNodeDlg(NodeProperties& properties, QWidget* parent)
    : QDialog(parent), properties_(properties) {
    setWindowTitle(kTitle.toString());
    setSizeGripEnabled(true);

    swatches_ = new SectionSwatches(this);
    const Document& doc = properties_.Doc();
    swatches_->SetNode(&doc.Node(properties_.NodeIndex()), doc.State().sectionCount);
    preview_ = new BackgroundPreview(this);
    preview_->SetBackColour(MakeColorRef(255, 255, 255));
    preview_->SetPicture(properties_.Picture());
    preview_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* back = new QPushButton(kBack.toString(), this);
    back->setDefault(true);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto* averages = new QHBoxLayout;
    averages->addWidget(new QLabel(kAverages.toString(), this), 0, Qt::AlignTop);
    averages->addWidget(swatches_);
    averages->addStretch();

    auto* left = new QGridLayout;
    left->addWidget(MakeSizeGroup(), 0, 0);
    left->addWidget(MakePositionGroup(), 0, 1);
    left->addWidget(MakeImageGroup(), 1, 0, 1, 2);
    left->addLayout(averages, 2, 0, 1, 2);
    left->setRowStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(preview_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    SetBoxes(properties_.Shown());
    RefreshNodeDlg();
}

QWidget* CNodeDlg::MakeSizeGroup() {
    auto* group = new QGroupBox(kSizeGroup.toString(), this);
    const QSize canvas = properties_.CanvasSize();
    width_ = new NumberEdit(kLeastSide, canvas.width(), group);
    height_ = new NumberEdit(kLeastSide, canvas.height(), group);
    // Only the arrows change the node; typed numbers count at the next refresh.
    connect(width_, &NumberEdit::Stepped, this, [this](int value) {
        properties_.SetShownWidth(value);
        RefreshNodeDlg();
    });
    connect(height_, &NumberEdit::Stepped, this, [this](int value) {
        properties_.SetShownHeight(value);
        RefreshNodeDlg();
    });
    pixelSize_ = ValueLabel(group);
    byteSize_ = ValueLabel(group);
    widthRatio_ = ValueLabel(group);
    heightRatio_ = ValueLabel(group);

    auto* grid = new QGridLayout(group);
    const auto note = [group](int maximum) {
        return new QLabel(kRangeNote.toString().arg(kLeastSide).arg(maximum), group);
    };
    grid->addWidget(new QLabel(kWidth.toString(), group), 0, 0);
    grid->addWidget(width_, 0, 1);
    grid->addWidget(note(canvas.width()), 0, 2);
    grid->addWidget(new QLabel(kHeight.toString(), group), 1, 0);
    grid->addWidget(height_, 1, 1);
    grid->addWidget(note(canvas.height()), 1, 2);
    const std::pair<QStringView, QLabel*> rows[] = {{kPixelSize, pixelSize_},
                                                    {kByteSize, byteSize_},
                                                    {kWidthRatio, widthRatio_},
                                                    {kHeightRatio, heightRatio_}};
    int row = 2;
    for (const auto& [label, value] : rows) {
        grid->addWidget(new QLabel(label.toString(), group), row, 0);
        grid->addWidget(value, row++, 1, 1, 2);
    }
    return group;
}

QWidget* CNodeDlg::MakeImageGroup() {
    auto* group = new QGroupBox(kImageGroup.toString(), this);
    actualSize_ = new QPushButton(kActualSize.toString(), group);
    sameAspect_ = new QPushButton(kSameAspect.toString(), group);
    byWidth_ = new QRadioButton(kByWidth.toString(), group);
    auto* byHeight = new QRadioButton(kByHeight.toString(), group);
    byWidth_->setChecked(true);
    resample_ = new QPushButton(kResample.toString(), group);
    undoResample_ = new QPushButton(group);
    undoResample_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    undoResample_->setEnabled(false);

    const std::pair<QPushButton*, QStringView> tips[] = {{actualSize_, kActualSizeTip},
                                                         {sameAspect_, kSameAspectTip},
                                                         {resample_, kResampleTip},
                                                         {undoResample_, kUndoTip}};
    for (const auto& [button, tip] : tips) {
        button->setToolTip(tip.toString());
        button->setAutoDefault(false);
    }
    connect(actualSize_, &QPushButton::clicked, this,
            [this] { SizeChanged(properties_.MakeActualSize()); });
    connect(sameAspect_, &QPushButton::clicked, this, [this] {
        SizeChanged(properties_.MatchAspect(byWidth_->isChecked() ? AspectBasis::Width
                                                                  : AspectBasis::Height));
    });
    connect(resample_, &QPushButton::clicked, this, &CNodeDlg::Resample);
    connect(undoResample_, &QPushButton::clicked, this, &CNodeDlg::UndoResample);

    auto* grid = new QGridLayout(group);
    grid->addWidget(actualSize_, 0, 0);
    grid->addWidget(sameAspect_, 1, 0);
    auto* bases = new QHBoxLayout;
    bases->addWidget(byWidth_);
    bases->addWidget(byHeight);
    bases->addStretch();
    grid->addLayout(bases, 1, 1);
    grid->addWidget(resample_, 2, 0);
    grid->addWidget(undoResample_, 2, 1, Qt::AlignLeft);
    return group;
}

QWidget* CNodeDlg::MakePositionGroup() {
    auto* group = new QGroupBox(kPositionGroup.toString(), this);
    auto* grid = new QGridLayout(group);
    for (const Arrow& arrow : kArrows) {
        auto* button = new QToolButton(group);
        button->setArrowType(arrow.type);
        button->setToolTip(arrow.tip.toString());
        button->setAutoRepeat(true);
        connect(button, &QToolButton::clicked, this,
                [this, arrow] { properties_.MoveBy(arrow.dx, arrow.dy); });
        grid->addWidget(button, arrow.row + 1, arrow.column + 1);
    }
    // The cross stays together in the middle of the group.
    grid->setRowStretch(0, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(4, 1);
    return group;
}

void CNodeDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The size it opens at is the least it may be made.
    if (!minimumSet_) {
        minimumSet_ = true;
        setMinimumSize(size());
    }
}

void CNodeDlg::SetBoxes(QSize size) {
    width_->SetValue(size.width());
    height_->SetValue(size.height());
}

void CNodeDlg::SizeChanged(std::optional<QSize> size) {
    if (!size) return;
    SetBoxes(*size);
    RefreshNodeDlg();
}

void CNodeDlg::Resample() {
    const AspectBasis basis = byWidth_->isChecked() ? AspectBasis::Width : AspectBasis::Height;
    const std::optional<QSize> size = properties_.ResampleToShown(basis, this);
    undoResample_->setEnabled(properties_.CanUndoResample());
    preview_->SetPicture(properties_.Picture());
    SizeChanged(size);
}

void CNodeDlg::UndoResample() {
    if (!properties_.UndoResample()) return;
    undoResample_->setEnabled(false);
    preview_->SetPicture(properties_.Picture());
    RefreshNodeDlg();
}

void CNodeDlg::RefreshNodeDlg() {
    const QSize boxes(width_->Read(), height_->Read());
    const QSize picture = properties_.PictureSize();
    pixelSize_->setText(kPixelSizeText.toString().arg(picture.width()).arg(picture.height()));
    byteSize_->setText(FormatThousands(properties_.PictureBytes()) + kByteUnit.toString());
    const SizeRatios ratios = RatiosOf(boxes, picture);
    widthRatio_->setText(kRatioText.toString().arg(ratios.width));
    heightRatio_->setText(kRatioText.toString().arg(ratios.height));
    const ImageButtonStates states = ImageButtonsFor(boxes, properties_.Shown(), picture);
    actualSize_->setEnabled(states.actualSize);
    sameAspect_->setEnabled(states.sameAspect);
    resample_->setEnabled(states.resample);
}

}  // namespace tessaly
