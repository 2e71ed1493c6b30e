#include "app/dialogs/property_view.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/background_preview.h"
#include "app/widgets/colour_button.h"
#include "document/edited_document.h"
#include "app/widgets/line_style_combo.h"
#include "app/widgets/number_box.h"
#include "edits/view_property_rules.h"
#include "resources/ui_strings.h"

namespace tessaly {
namespace {

constexpr QStringView kTitle = u"ビューのプロパティ";
constexpr QStringView kWidthLabel = u"1 ビューの幅：";
constexpr QStringView kHeightLabel = u"2 ビューの高さ：";
constexpr QStringView kBackColourLabel = u"3 背景色：";
constexpr QStringView kLineColourLabel = u"4 枠線色：";
constexpr QStringView kNoLine = u"枠線なし";
constexpr QStringView kLineWidthLabel = u"5 枠線の太さ：";
constexpr QStringView kLineWidthNote = u"(1 ～ 20)";
constexpr QStringView kLineStyleLabel = u"6 枠線のスタイル：";
constexpr QStringView kPictureLabel = u"7 背景イメージ：";
constexpr QStringView kSet = u"セット(&I)";
constexpr QStringView kSetTip =
    u"保存されているイメージファイルからイメージを読み込んで背景としてセットします";
constexpr QStringView kClear = u"クリア(&K)";
constexpr QStringView kClearTip = u"セットされているイメージをクリアします";
constexpr QStringView kFitWidth = u"幅合せ(&W)";
constexpr QStringView kFitWidthTip = u"イメージの縦横比に合せてビューの幅を調整します";
constexpr QStringView kFitHeight = u"高さ合せ(&W)";
constexpr QStringView kFitHeightTip = u"イメージの縦横比に合せてビューの高さを調整します";
constexpr QStringView kSave = u"保存終了(&S)";
constexpr QStringView kSaveTip = u"現在の設定を保存して終了します";
constexpr QStringView kCancel = u"中止(&C)";
constexpr QStringView kCancelTip = u"保存しないで終了します";
constexpr QStringView kOpenTitle = u"背景とするイメージを指定";

constexpr int kMinLineWidth = 1;
constexpr int kMaxLineWidth = 20;

QPushButton* Button(QStringView text, QStringView tip, QWidget* parent) {
    auto* button = new QPushButton(text.toString(), parent);
    button->setToolTip(tip.toString());
    button->setAutoDefault(false);
    return button;
}

NumberBox* Box(int lowest, int highest, int value, QWidget* parent) {
    auto* box = new NumberBox(parent);
    box->setRange(lowest, highest);
    box->setValue(value);
    box->setMinimumWidth(90);
    return box;
}

QString ChooseImageFile(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, kOpenTitle.toString(), {},
                                        ui_text::kImageFileFilter.toString());
}

}  // namespace

CPropertyView::CPropertyView(const ViewProperties& values, const ImageBlob* current,
                             QWidget* parent)
    : QDialog(parent), values_(values), chooseFile_(ChooseImageFile) {
    if (current) current_ = *current;
    setWindowTitle(kTitle.toString());
    BuildControls();
    PicturesChanged();
}

CPropertyView::~CPropertyView() = default;

void CPropertyView::BuildControls() {
    width_ = Box(kMinCanvasSide, kMaxCanvasSide, values_.canvasWidth, this);
    height_ = Box(kMinCanvasSide, kMaxCanvasSide, values_.canvasHeight, this);
    backColour_ = new ColourButton(this);
    backColour_->SetColour(values_.backColor);
    lineColour_ = new ColourButton(this);
    lineColour_->SetAutomaticEntry(kNoLine.toString());
    lineColour_->SetColour(values_.canvasLineColor);
    lineWidth_ = Box(kMinLineWidth, kMaxLineWidth, values_.canvasLineWidth, this);
    lineStyle_ = new LineStyleCombo(this);
    lineStyle_->SetStyle(values_.canvasLineStyle);

    auto* grid = new QGridLayout;
    grid->setColumnStretch(3, 1);
    const auto row = [&](int r, QStringView label, QWidget* control, const QString& note) {
        auto* caption = new QLabel(label.toString(), this);
        caption->setBuddy(control);
        grid->addWidget(caption, r, 0);
        grid->addWidget(control, r, 1);
        if (!note.isEmpty()) grid->addWidget(new QLabel(note, this), r, 2);
    };
    row(0, kWidthLabel, width_, CanvasSideNote());
    row(1, kHeightLabel, height_, CanvasSideNote());
    row(2, kBackColourLabel, backColour_, {});
    row(3, kLineColourLabel, lineColour_, {});
    row(4, kLineWidthLabel, lineWidth_, kLineWidthNote.toString());
    row(5, kLineStyleLabel, lineStyle_, {});

    QPushButton* set = Button(kSet, kSetTip, this);
    clear_ = Button(kClear, kClearTip, this);
    fitWidth_ = Button(kFitWidth, kFitWidthTip, this);
    fitHeight_ = Button(kFitHeight, kFitHeightTip, this);
    auto* pictureButtons = new QHBoxLayout;
    for (QPushButton* b : {set, clear_, fitWidth_, fitHeight_})
        pictureButtons->addWidget(b);
    pictureButtons->addStretch();
    grid->addWidget(new QLabel(kPictureLabel.toString(), this), 6, 0);
    grid->addLayout(pictureButtons, 6, 1, 1, 3);
    preview_ = new BackgroundPreview(this);
    preview_->SetBackColour(values_.backColor);
    grid->addWidget(preview_, 7, 1, 1, 3);

    QPushButton* save = Button(kSave, kSaveTip, this);
    save->setDefault(true);
    QPushButton* cancel = Button(kCancel, kCancelTip, this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(save, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(backColour_, &ColourButton::colourChanged, this, [this](std::int32_t colour) {
        values_.backColor = colour;
        preview_->SetBackColour(colour);
    });
    connect(lineColour_, &ColourButton::colourChanged, this,
            [this](std::int32_t colour) { values_.canvasLineColor = colour; });
    connect(set, &QPushButton::clicked, this, &CPropertyView::SetPicture);
    connect(clear_, &QPushButton::clicked, this, &CPropertyView::ClearPicture);
    connect(fitWidth_, &QPushButton::clicked, this, &CPropertyView::FitWidth);
    connect(fitHeight_, &QPushButton::clicked, this, &CPropertyView::FitHeight);
    connect(save, &QPushButton::clicked, this, &CPropertyView::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

const ImageBlob* CPropertyView::ShownPicture() const {
    if (new_) return &*new_;
    return current_ ? &*current_ : nullptr;
}

void CPropertyView::PicturesChanged() {
    const bool shown = ShownPicture() != nullptr;
    for (QPushButton* b : {clear_, fitWidth_, fitHeight_})
        b->setEnabled(shown);
    preview_->SetPicture(ShownPicture());
}

void CPropertyView::SetPicture() {
    const QString path = chooseFile_(this);
    if (path.isEmpty()) return;
    // A file that cannot be loaded leaves the pictures as they were.
    std::optional<ImageBlob> loaded = LoadBackgroundPicture(this, path);
    if (!loaded) return;
    new_ = std::move(loaded);
    PicturesChanged();
}

void CPropertyView::ClearPicture() {
    current_.reset();
    new_.reset();
    PicturesChanged();
}

void CPropertyView::FitWidth() {
    const ImageBlob* picture = ShownPicture();
    if (!picture) return;
    if (const auto w = FitCanvasWidth(this, picture->PixelSize(), height_->text())) {
        width_->SetText(QString::number(*w));
    }
}

void CPropertyView::FitHeight() {
    const ImageBlob* picture = ShownPicture();
    if (!picture) return;
    if (const auto h = FitCanvasHeight(this, picture->PixelSize(), width_->text())) {
        height_->SetText(QString::number(*h));
    }
}

void CPropertyView::accept() {
    values_.canvasWidth = width_->Number();
    values_.canvasHeight = height_->Number();
    values_.canvasLineWidth = lineWidth_->Number();
    values_.canvasLineStyle = lineStyle_->Style();
    QDialog::accept();
}

ViewPropertiesResult CPropertyView::TakeResult() {
    ViewPropertiesResult result;
    result.values = values_;
    result.currentPictureKept = current_.has_value();
    result.newPicture = std::move(new_);
    new_.reset();
    return result;
}

AppliedViewProperties EditViewProperties(EditedDocument& edited, QWidget* owner) {
    const Document& doc = edited.Doc();
    CPropertyView dialog(ReadViewProperties(doc.State()), doc.Picture(doc.State().backPicture),
                         owner);
    if (dialog.exec() != QDialog::Accepted) return {};
    return ApplyViewProperties(edited, dialog.TakeResult(), owner);
}

}  // namespace tessaly
