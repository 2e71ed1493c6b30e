#include "app/dialogs/mosaic_dlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "app/explanation_panel.h"
#include "app/histogram_panel.h"
#include "app/widgets/colour_button.h"
#include "app/widgets/console_icons.h"
#include "app/widgets/line_style_combo.h"
#include "app/widgets/number_edit.h"
#include "view/atelier_view.h"
#include "canvas/view_geometry.h"
#include "edits/console_edits.h"
#include "edits/console_run.h"
#include "edits/display_edits.h"
#include "document/edited_document.h"
#include "mosaic/arrangement.h"
#include "resources/ui_strings.h"
#include "services/settings.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

// Tooltips of the seven type buttons.
constexpr QStringView kTypeDescriptions[] = {
    u"【ランダム】\nランダムに配置します。",
    u"【上方微細】\n下から上へ次第にイメージが小さくなるように配置します。",
    u"【下方微細】\n上から下へ次第にイメージが小さくなるように配置します。",
    u"【左方微細】\n右から左へ次第にイメージが小さくなるように配置します。",
    u"【右方微細】\n左から右へ次第にイメージが小さくなるように配置します。",
    u"【外側微細】\n中央から外側へ次第にイメージが小さくなるように配置します。",
    u"【中央微細】\n外側から中央へ次第にイメージが小さくなるように配置します。",
};

constexpr int kIndent = 22;  // the controls that belong to a check box above them

QString RangeNote(int minimum, int maximum) {
    return QString::asprintf("(%d ～ %d)", minimum, maximum);
}

QString ValueText(int value) { return QString::asprintf("[%d]", value); }

QToolButton* IconButton(ConsoleIcon icon, QStringView toolTip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(ConsoleIconFor(icon));
    button->setToolTip(toolTip.toString());
    return button;
}

QPushButton* PushButton(QStringView text, QWidget* parent) {
    auto* button = new QPushButton(text.toString(), parent);
    // Enter never runs a button of the console by itself.
    button->setAutoDefault(false);
    return button;
}

// A read-only statistics field on white.
QLabel* StatisticsField(QStringView text, QWidget* parent) {
    auto* field = new QLabel(text.toString(), parent);
    field->setFrameShape(QFrame::StyledPanel);
    field->setFrameShadow(QFrame::Sunken);
    field->setAutoFillBackground(true);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    field->setPalette(palette);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00:00 000ms")) + 14);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return field;
}

// A label, an edit box with a spin and its range note on one grid row.
NumberEdit* AddNumberRow(QGridLayout* grid, int row, QStringView label, int minimum, int maximum,
                         QWidget* parent, int column = 0) {
    auto* edit = new NumberEdit(minimum, maximum, parent);
    auto* caption = new QLabel(label.toString(), parent);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, column, Qt::AlignRight);
    grid->addWidget(edit, row, column + 1);
    grid->addWidget(new QLabel(RangeNote(minimum, maximum), parent), row, column + 2);
    return edit;
}

// − button, track bar, + button and the value label in a row.
struct TrackRow {
    QToolButton* minus;
    QSlider* slider;
    QToolButton* plus;
    QLabel* value;
};

TrackRow AddTrackRow(QHBoxLayout* row, int minimum, int maximum, QStringView minusTip,
                     QStringView plusTip, QWidget* parent) {
    TrackRow track{IconButton(ConsoleIcon::Minus, minusTip, parent),
                   new QSlider(Qt::Horizontal, parent),
                   IconButton(ConsoleIcon::Plus, plusTip, parent), new QLabel(parent)};
    track.slider->setRange(minimum, maximum);
    track.slider->setPageStep(1);
    track.slider->setTickPosition(QSlider::TicksBelow);
    track.slider->setTickInterval(maximum - minimum > 10 ? 4 : 1);
    track.slider->setMinimumWidth(150);
    track.value->setMinimumWidth(track.value->fontMetrics().horizontalAdvance(QStringLiteral("[25]")) + 4);
    row->addWidget(track.minus);
    row->addWidget(track.slider, 1);
    row->addWidget(track.plus);
    row->addWidget(track.value);
    return track;
}

// The value label follows a track bar while it is dragged; the value itself
// is taken when the bar is let go.
// `shown` turns a position into the value the label shows.
void FollowDrag(const TrackRow& track, int (*shown)(int) = [](int position) { return position; }) {
    track.slider->setTracking(false);
    QObject::connect(track.slider, &QSlider::sliderMoved, track.value,
                     [label = track.value, shown](int position) {
                         label->setText(ValueText(shown(position)));
                     });
}

// A captioned section of the console: the caption, then a framed box whose
// layout is returned; `box` receives the box.
QVBoxLayout* Section(QStringView caption, QWidget* parent, QWidget*& box) {
    auto* holder = new QWidget(parent);
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* title = new QLabel(caption.toString(), holder);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    column->addWidget(title);
    auto* frame = new QFrame(holder);
    frame->setFrameShape(QFrame::StyledPanel);
    column->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    box = frame;
    return layout;
}

void SetSlider(QSlider* slider, int value) {
    const QSignalBlocker blocker(slider);
    slider->setValue(value);
}

}  // namespace

CMosaicDlg::CMosaicDlg(EditedDocument& edited, CAtelierView& view)
    // A dialog window kept above the frame rather than a tool window: Qt
    // counts a tool window as part of its parent's window, and the frame's
    // menu mnemonics (Alt+E, Alt+M, Alt+P, Alt+A) would take the console's
    // own keys.
    : QDialog(&view, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      edited_(edited),
      view_(view) {
    setWindowTitle(QStringLiteral("フォトモザイクのコンソール"));
    setModal(false);

    controls_ = new QWidget(this);
    auto* column = new QVBoxLayout(controls_);
    column->setContentsMargins(8, 8, 8, 8);
    column->addWidget(BuildArrangementGroup());
    column->addWidget(BuildDisplayGroup());
    column->addLayout(BuildBottomRow());
    controls_->adjustSize();
    controls_->setFixedSize(controls_->sizeHint());
    sizeAtStart_ = controls_->size();
    setFixedSize(sizeAtStart_);

    BuildPanels();
    LoadControls();
    PlaceAtStart();

    connect(&edited_, &EditedDocument::documentChanged, this, [this] {
        if (histogramShown_) RefreshHistogram();
    });
    // A new or opened document brings its own settings, shown or not: a
    // hidden console shown later must not store the previous document's.
    connect(&view_, &CAtelierView::documentStarted, this, &CMosaicDlg::LoadControls);
}

CMosaicDlg::~CMosaicDlg() {
    WriteProfileInt(QStringLiteral("Mosaic"), QStringLiteral("LastPX"), pos().x());
    WriteProfileInt(QStringLiteral("Mosaic"), QStringLiteral("LastPY"), pos().y());
}

QWidget* CMosaicDlg::BuildArrangementGroup() {
    QWidget* group = nullptr;
    QVBoxLayout* box = Section(u"【配置設定】", controls_, group);

    auto* header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("1 モザイクタイプ"), group));
    header->addStretch(1);
    QToolButton* help = IconButton(
        ConsoleIcon::Help, u"【説明表示】説明の表示と非表示を切り替えます", group);
    connect(help, &QToolButton::clicked, this, &CMosaicDlg::ToggleExplanation);
    header->addWidget(help);
    box->addLayout(header);

    // Seven layouts, each a picture button over its radio button.
    types_ = new QButtonGroup(this);
    auto* typeRow = new QHBoxLayout;
    typeRow->setContentsMargins(kIndent, 0, 0, 0);
    for (int type = 1; type <= 7; ++type) {
        auto* picture = new QToolButton(group);
        picture->setIcon(MosaicTypeIcon(type));
        picture->setIconSize(QSize(36, 36));
        picture->setToolTip(kTypeDescriptions[type - 1].toString());
        auto* radio = new QRadioButton(QStringLiteral("(&%1)").arg(type), group);
        types_->addButton(radio, type);
        connect(picture, &QToolButton::clicked, radio, [radio] { radio->setChecked(true); });
        auto* cell = new QVBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(picture, 0, Qt::AlignHCenter);
        cell->addWidget(radio, 0, Qt::AlignHCenter);
        typeRow->addLayout(cell);
    }
    typeRow->addStretch(1);
    box->addLayout(typeRow);

    auto* counts = new QGridLayout;
    counts->setContentsMargins(kIndent, 0, 0, 0);
    gridColumns_ = AddNumberRow(counts, 0, u"水平個数：", kMinGridCount, kMaxGridCount, group);
    gridRows_ = AddNumberRow(counts, 0, u"垂直個数：", kMinGridCount, kMaxGridCount, group, 3);
    layerThickness_ = AddNumberRow(counts, 1, u"最小サイズの層の厚さ：", kMinLayerCount,
                                   kMaxLayerCount, group);
    counts->setColumnStretch(6, 1);
    gridColumns_->setObjectName(QStringLiteral("gridColumns"));
    box->addLayout(counts);

    auto* settings = new QGridLayout;
    sizeSteps_ = AddNumberRow(settings, 0, u"2 変化させるサイズ数：", kMinLayerCount,
                              kMaxLayerCount, group);
    settings->setColumnStretch(3, 1);
    box->addLayout(settings);

    auto* tracks = new QGridLayout;
    tracks->addWidget(new QLabel(QStringLiteral("3 比較区画："), group), 0, 0);
    auto* sectionsRow = new QHBoxLayout;
    const TrackRow sections = AddTrackRow(
        sectionsRow, kMinSectionPosition, kMaxSectionPosition,
        u"背景イメージと比較する区画を少なくします", u"背景イメージと比較する区画を多くします", group);
    sections_ = sections.slider;
    sectionsValue_ = sections.value;
    // The label shows N, the square of the position.
    FollowDrag(sections, [](int position) { return position * position; });
    connect(sections.minus, &QToolButton::clicked, this,
            [this] { ShowSections(StepSectionPosition(edited_, -1)); });
    connect(sections.plus, &QToolButton::clicked, this,
            [this] { ShowSections(StepSectionPosition(edited_, 1)); });
    connect(sections_, &QSlider::valueChanged, this,
            [this](int p) { ShowSections(SetSectionPosition(edited_, p)); });
    QToolButton* histogram = IconButton(
        ConsoleIcon::Histogram,
        u"【ヒストグラム表示】背景イメージとモザイクを構成するイメージのカラーヒストグラムの表示と"
        u"非表示を切り替えます",
        group);
    connect(histogram, &QToolButton::clicked, this, &CMosaicDlg::ToggleHistogram);
    sectionsRow->addSpacing(12);
    sectionsRow->addWidget(histogram);
    tracks->addLayout(sectionsRow, 0, 1);

    tracks->addWidget(new QLabel(QStringLiteral("4 比較精度："), group), 1, 0);
    auto* precisionRow = new QHBoxLayout;
    const TrackRow precision =
        AddTrackRow(precisionRow, kMinComparePrecision, kMaxComparePrecision,
                    u"背景イメージとの比較精度を高めてモザイクを作成します",
                    u"背景イメージとの比較精度を落としてモザイクを作成します", group);
    precision_ = precision.slider;
    precisionValue_ = precision.value;
    connect(precision.minus, &QToolButton::clicked, this,
            [this] { ShowPrecision(StepComparePrecision(edited_, -1)); });
    connect(precision.plus, &QToolButton::clicked, this,
            [this] { ShowPrecision(StepComparePrecision(edited_, 1)); });
    connect(precision_, &QSlider::valueChanged, this,
            [this](int p) { ShowPrecision(SetComparePrecision(edited_, p)); });
    // Keeps the two track bars the same length: both rows end in a button's width.
    precisionRow->addSpacing(12 + histogram->sizeHint().width());
    tracks->addLayout(precisionRow, 1, 1);
    box->addLayout(tracks);

    auto* noSet = new QHBoxLayout;
    skipNoSetColor_ = new QCheckBox(QStringLiteral("5 右の背景色のエリアにはセットしない(&X)"), group);
    noSetColour_ = new ColourButton(group);
    noSetColour_->setObjectName(QStringLiteral("noSetColour"));
    noSet->addWidget(skipNoSetColor_);
    noSet->addWidget(noSetColour_);
    noSet->addStretch(1);
    box->addLayout(noSet);

    auto* range = new QGridLayout;
    range->setContentsMargins(kIndent, 0, 0, 0);
    noSetRange_ = AddNumberRow(range, 0, u"近似範囲：", kMinNoSetRange, kMaxNoSetRange, group);
    QPushButton* contentRate = PushButton(u"含有率(&P)", group);
    connect(contentRate, &QPushButton::clicked, this,
            [this] { ShowContentRate(edited_.Doc(), noSetColour_->Colour(), this); });
    range->addWidget(contentRate, 0, 3);
    range->setColumnStretch(4, 1);
    box->addLayout(range);

    differentColors_ = new QCheckBox(QStringLiteral("6 色の異なるものをセット(&D)"), group);
    box->addWidget(differentColors_);

    // The run and its statistics.
    auto* run = new QHBoxLayout;
    QPushButton* rearrange = PushButton(u"再配置(&U)", group);
    rearrange->setObjectName(QStringLiteral("rearrange"));
    rearrange->setToolTip(QStringLiteral("設定された条件でフォトモザイクを再作成します"));
    rearrange->setMinimumHeight(rearrange->sizeHint().height() * 2);
    rearrange->setMinimumWidth(rearrange->sizeHint().width() + 24);
    connect(rearrange, &QPushButton::clicked, this, &CMosaicDlg::Rearrange);
    run->addWidget(rearrange, 0, Qt::AlignTop);
    run->addSpacing(16);
    auto* stats = new QGridLayout;
    stats->setVerticalSpacing(3);
    elapsed_ = StatisticsField(u"00:00 000ms", group);
    areaRatio_ = StatisticsField(u"", group);
    unplaced_ = StatisticsField(u"", group);
    elapsed_->setObjectName(QStringLiteral("elapsed"));
    areaRatio_->setObjectName(QStringLiteral("areaRatio"));
    unplaced_->setObjectName(QStringLiteral("unplaced"));
    const std::pair<QStringView, QLabel*> fields[] = {
        {u"処理時間", elapsed_}, {u"配置面積率", areaRatio_}, {u"未配置", unplaced_}};
    int row = 0;
    for (const auto& [label, field] : fields) {
        stats->addWidget(new QLabel(label.toString(), group), row, 0);
        stats->addWidget(field, row++, 1);
    }
    QToolButton* showUnplaced = IconButton(
        ConsoleIcon::ShowUnplaced,
        u"【未配置イメージ表示】配置されなかったイメージをビューの左上に表示します", group);
    showUnplaced->setObjectName(QStringLiteral("showUnplaced"));
    connect(showUnplaced, &QToolButton::clicked, this, &CMosaicDlg::ShowUnplaced);
    stats->addWidget(showUnplaced, 2, 2);
    run->addLayout(stats);
    run->addStretch(1);
    box->addSpacing(4);
    box->addLayout(run);
    return group->parentWidget();  // the caption with its box
}

QWidget* CMosaicDlg::BuildDisplayGroup() {
    QWidget* group = nullptr;
    QVBoxLayout* box = Section(u"【表示設定】", controls_, group);

    showBackPicture_ = new QCheckBox(QStringLiteral("A 背景イメージをセットする(&A)"), group);
    adjustColors_ =
        new QCheckBox(QStringLiteral("背景の色で構成イメージの色を調整する(&E)"), group);
    mosaicBackground_ = new QCheckBox(QStringLiteral("背景イメージもモザイク風にする(&M)"), group);
    box->addWidget(showBackPicture_);
    for (QCheckBox* check : {adjustColors_, mosaicBackground_}) {
        auto* row = new QHBoxLayout;
        row->addSpacing(kIndent);
        row->addWidget(check);
        box->addLayout(row);
    }

    auto* brightnessRow = new QHBoxLayout;
    brightnessRow->addSpacing(kIndent);
    brightnessRow->addWidget(new QLabel(QStringLiteral("背景輝度："), group));
    const TrackRow brightness = AddTrackRow(brightnessRow, kMinBackBrightness,
                                            kMaxBackBrightness, u"背景イメージを暗くします",
                                            u"背景イメージを明るくします", group);
    brightness_ = brightness.slider;
    brightnessValue_ = brightness.value;
    FollowDrag(brightness);
    connect(brightness.minus, &QToolButton::clicked, this,
            [this] { ShowBrightness(StepBackBrightness(edited_, -1)); });
    connect(brightness.plus, &QToolButton::clicked, this,
            [this] { ShowBrightness(StepBackBrightness(edited_, 1)); });
    connect(brightness_, &QSlider::valueChanged, this,
            [this](int level) { ShowBrightness(SetBackBrightness(edited_, level)); });
    box->addLayout(brightnessRow);

    imageFrames_ = new QCheckBox(QStringLiteral("B イメージに枠線を付ける(&B)"), group);
    box->addWidget(imageFrames_);
    auto* frames = new QGridLayout;
    frames->setContentsMargins(kIndent, 0, 0, 0);
    frameWidth_ = AddNumberRow(frames, 0, u"太さ：", kMinFrameWidth, kMaxFrameWidth, group);
    frameStyle_ = new LineStyleCombo(group);
    connect(frameStyle_, &QComboBox::activated, this,
            [this] { SetImageFrameStyle(edited_, frameStyle_->Style()); });
    frameColour_ = new ColourButton(group);
    frameColour_->SetAutomaticEntry(QStringLiteral("背景の色を使用する"));
    frames->setColumnMinimumWidth(3, 10);
    frames->addWidget(new QLabel(QStringLiteral("スタイル："), group), 0, 4, Qt::AlignRight);
    frames->addWidget(frameStyle_, 0, 5);
    frames->setColumnMinimumWidth(6, 10);
    frames->addWidget(new QLabel(QStringLiteral("色："), group), 0, 7, Qt::AlignRight);
    frames->addWidget(frameColour_, 0, 8);
    frames->setColumnStretch(9, 1);
    box->addLayout(frames);

    auto* redisplayRow = new QHBoxLayout;
    QPushButton* redisplay = PushButton(u"再表示(&N)", group);
    redisplay->setToolTip(QStringLiteral("枠線の設定条件でビューを更新します"));
    redisplay->setMinimumWidth(redisplay->sizeHint().width() + 24);
    connect(redisplay, &QPushButton::clicked, this, &CMosaicDlg::Redisplay);
    redisplayRow->addWidget(redisplay);
    redisplayRow->addStretch(1);
    box->addLayout(redisplayRow);
    return group->parentWidget();  // the caption with its box
}

QLayout* CMosaicDlg::BuildBottomRow() {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 4, 0, 0);
    row->addStretch(1);
    QPushButton* close = PushButton(ui_text::kClose, controls_);
    close->setToolTip(QStringLiteral("このウィンドウを閉じます"));
    connect(close, &QPushButton::clicked, this, &CMosaicDlg::HideConsole);
    row->addWidget(close);
    QToolButton* backgroundOnly = IconButton(
        ConsoleIcon::BackgroundOnly, u"【背景イメージ表示】背景イメージを確認のため表示します",
        controls_);
    connect(backgroundOnly, &QToolButton::clicked, this,
            [this] { view_.SetBackgroundOnly(!view_.IsBackgroundOnly()); });
    row->addWidget(backgroundOnly);
    return row;
}

void CMosaicDlg::BuildPanels() {
    explanationPanel_ = new ExplanationPanel(this);
    explanationPanel_->hide();
    histogramPanel_ = new HistogramPanel(edited_.Doc(), this);
    histogramPanel_->hide();
}

void CMosaicDlg::PlaceAtStart() {
    const int x = GetProfileInt(QStringLiteral("Mosaic"), QStringLiteral("LastPX"), 0);
    const int y = GetProfileInt(QStringLiteral("Mosaic"), QStringLiteral("LastPY"), 0);
    QPoint place(x, y);
    if (x == 0 && y == 0) {
        place = view_.mapToGlobal(view_.rect().center()) - QPoint(width() / 2, height() / 2);
    }
    // Kept on the desktop, centred or not, so that no part of it is out of reach.
    KeepOnDesktop(place);
}

void CMosaicDlg::Open() {
    if (IsShown()) return;
    view_.SetMosaicConsoleShown(true);
    show();
    // Shown again: the keyboard stays with the canvas.
    if (shownBefore_) {
        view_.window()->activateWindow();
        view_.setFocus();
    }
    shownBefore_ = true;
}

void CMosaicDlg::HideConsole() {
    hide();
    view_.SetMosaicConsoleShown(false);
}

bool CMosaicDlg::IsShown() const { return view_.MosaicConsoleShown(); }

void CMosaicDlg::LoadControls() {
    const DocState& s = edited_.Doc().State();
    const ConsoleSettings c = ConsoleSettingsOf(s);
    types_->button(c.mosaicType)->setChecked(true);
    const std::pair<NumberEdit*, int> boxes[] = {
        {gridColumns_, c.gridColumns},       {gridRows_, c.gridRows},
        {layerThickness_, c.layerThickness}, {sizeSteps_, c.sizeSteps},
        {noSetRange_, c.noSetRange},         {frameWidth_, c.display.imageFrameWidth}};
    for (const auto& [edit, value] : boxes)
        edit->SetValue(std::clamp(value, edit->Minimum(), edit->Maximum()));
    skipNoSetColor_->setChecked(c.skipNoSetColor);
    differentColors_->setChecked(c.differentColors);
    showBackPicture_->setChecked(c.display.showBackPicture);
    adjustColors_->setChecked(c.display.adjustColors);
    mosaicBackground_->setChecked(c.display.mosaicBackground);
    imageFrames_->setChecked(c.display.imageFrames);
    noSetColour_->SetColour(c.noSetColor);
    frameColour_->SetColour(c.display.imageFrameColor);
    frameStyle_->SetStyle(s.imageFrameStyle);
    ShowSections(SectionPosition(s));
    ShowPrecision(std::clamp(static_cast<int>(s.comparePrecision), kMinComparePrecision,
                             kMaxComparePrecision));
    ShowBrightness(
        std::clamp(static_cast<int>(s.backBrightness), kMinBackBrightness, kMaxBackBrightness));
}

void CMosaicDlg::ShowSections(int position) {
    SetSlider(sections_, position);
    sectionsValue_->setText(ValueText(position * position));
}

void CMosaicDlg::ShowPrecision(int precision) {
    SetSlider(precision_, precision);
    precisionValue_->setText(ValueText(precision));
}

void CMosaicDlg::ShowBrightness(int level) {
    SetSlider(brightness_, level);
    brightnessValue_->setText(ValueText(level));
}

void CMosaicDlg::SetNoSetColour(ColorRef colour) { noSetColour_->SetColour(colour); }

DisplaySettings CMosaicDlg::ReadDisplay() {
    DisplaySettings d;
    d.showBackPicture = showBackPicture_->isChecked();
    d.adjustColors = adjustColors_->isChecked();
    d.mosaicBackground = mosaicBackground_->isChecked();
    d.imageFrames = imageFrames_->isChecked();
    d.imageFrameWidth = frameWidth_->Read();
    d.imageFrameColor = frameColour_->Colour();
    return d;
}

ConsoleSettings CMosaicDlg::ReadSettings() {
    ConsoleSettings c;
    c.gridColumns = gridColumns_->Read();
    c.gridRows = gridRows_->Read();
    c.differentColors = differentColors_->isChecked();
    c.skipNoSetColor = skipNoSetColor_->isChecked();
    c.mosaicType = KnownMosaicType(types_->checkedId());
    c.layerThickness = layerThickness_->Read();
    c.sizeSteps = sizeSteps_->Read();
    c.noSetColor = noSetColour_->Colour();
    c.noSetRange = noSetRange_->Read();
    c.display = ReadDisplay();
    return c;
}

void CMosaicDlg::StoreDisplaySettings() { tessaly::StoreDisplaySettings(edited_, ReadDisplay()); }

void CMosaicDlg::Redisplay() {
    StoreDisplaySettings();
    view_.InvalidateCanvas();
}

void CMosaicDlg::Rearrange() {
    RunObserver observer;
    observer.started = [this] {
        elapsed_->setText(kElapsedAtStart.toString());
        elapsed_->repaint();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    };
    observer.finished = [this](const QString& elapsed) {
        QApplication::restoreOverrideCursor();
        elapsed_->setText(elapsed);
    };
    const auto seed = static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
    const ConsoleRunResult result = RunRearrange(edited_, ReadSettings(), seed, observer, this);
    if (!result.arranged) return;
    areaRatio_->setText(FormatAreaRatio(result.stats.areaRatio));
    unplaced_->setText(FormatUnplaced(result.stats.unplacedCount));
}

void CMosaicDlg::ShowUnplaced() {
    const int count = ShowUnplacedImages(edited_);
    if (count > 0) {
        const DocState& s = edited_.Doc().State();
        const NodeRecord& first = edited_.Doc().Node(s.mainSelection);
        view_.ScrollToShow(
            {CanvasToView(s.zoom, first.centerX), CanvasToView(s.zoom, first.centerY)});
    }
    SetStatusInfo(ui_text::kUnplacedShown.arg(FormatThousands(count)));
}

void CMosaicDlg::ToggleExplanation() {
    explanationShown_ = !explanationShown_;
    if (explanationShown_) histogramShown_ = false;
    LayoutPanels();
}

void CMosaicDlg::ToggleHistogram() {
    histogramShown_ = !histogramShown_;
    if (histogramShown_) {
        explanationShown_ = false;
        RefreshHistogram();
    }
    LayoutPanels();
}

void CMosaicDlg::RefreshHistogram() { histogramPanel_->Refresh(); }

void CMosaicDlg::LayoutPanels() {
    // w and h: the console's size at creation. A panel keeps 5 pixels from
    // the top and bottom edges.
    const int w = sizeAtStart_.width();
    const int h = sizeAtStart_.height();
    int width = w;
    if (explanationShown_) {
        // Twice the console's width, narrowed on a screen too small for it:
        // the text wraps, so no line is cut off at the screen's edge.
        const int room = DesktopSize().width() - (frameGeometry().width() - this->width());
        const int panelWidth = std::max(200, std::min(2 * w + 25, room - w - 15));
        explanationPanel_->setGeometry(w + 4, 5, panelWidth, h - 10);
        width = w + panelWidth + 15;
    }
    if (histogramShown_) {
        histogramPanel_->setGeometry(w + 5, 5, 537, h - 10);
        width = w + 552;
    }
    explanationPanel_->setVisible(explanationShown_);
    histogramPanel_->setVisible(histogramShown_);
    setFixedSize(width, h);
    KeepOnDesktop(pos());
}

QSize CMosaicDlg::DesktopSize() const {
    const QScreen* screen = view_.screen() ? view_.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->virtualSize() : size();
}

void CMosaicDlg::KeepOnDesktop(QPoint place) {
    const QSize desktop = DesktopSize();
    move(std::max(0, std::min(place.x(), desktop.width() - width())),
         std::max(0, std::min(place.y(), desktop.height() - height())));
}

void CMosaicDlg::keyPressEvent(QKeyEvent* event) {
    // Enter in an edit box would run the default button of a dialog; the
    // console has none and stays open.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Esc goes to reject()
}

void CMosaicDlg::reject() { HideConsole(); }

void CMosaicDlg::closeEvent(QCloseEvent* event) {
    // The window's close button hides the console. The application closes
    // every window as it quits: the console then stays marked as shown, so
    // that the next start shows it again.
    if (event->spontaneous()) HideConsole();
    event->accept();
}

}  // namespace tessaly
