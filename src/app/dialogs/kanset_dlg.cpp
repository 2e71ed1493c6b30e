#include "app/dialogs/kanset_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/widgets/number_edit.h"
#include "resources/ui_strings.h"
#include "services/app_settings.h"
#include "services/environment_settings.h"

namespace tessaly {
namespace {

using Env = EnvironmentSettings;

constexpr QStringView kTitle = u"システムの環境設定";
constexpr QStringView kFirstOpen = u"1 起動時に前回のファイルを開く(&L)";
constexpr QStringView kSizeHeading = u"2 フォトモザイク用イメージの読み取りサイズ";
constexpr QStringView kHeightLabel = u"タテ：";
constexpr QStringView kWidthLabel = u"ヨコ：";
constexpr QStringView kSizeRange = u"(20 ～ 100ピクセル)";
constexpr QStringView kAnimation =
    u"3 イメージ上にマウスカーソルが乗ったとき、アニメを表示する(&A)";
constexpr QStringView kAnimationKey = u"[切替え:F10]";
constexpr QStringView kCountLabel = u"表示するアニメの個数：";
constexpr QStringView kCountRange = u"(1 - 10個)";
constexpr QStringView kSpeedLabel = u"アニメ表示速度：";
constexpr QStringView kFast = u"速い";
constexpr QStringView kSlow = u"遅い";
constexpr QStringView kMakeBackup = u"4 上書き保存時、バックアップファイルを作成する(&B)";
constexpr QStringView kGuide = u"5 ステータスバーに操作ガイドを表示する(&G)";
constexpr QStringView kGuideKey = u"[切替え:F2]";
constexpr QStringView kStore = u"保存して終了(&S)";

constexpr QStringView kFirstOpenTip =
    u"チェックがあるときは\n最後に編集していたドキュメントを\nこのソフトの起動時にセットして表示し"
    u"ます";
constexpr QStringView kAnimationTip =
    u"チェックがあるときは\nオブジェクト上であることを明示します\n※ "
    u"すでに選択されているときは、表示されません";
constexpr QStringView kMakeBackupTip =
    u"チェックがあるときは\nドキュメントを上書き保存時、同じ場所に\nファイル名に(back)"
    u"を付けて直前のドキュメントを保存します";
constexpr QStringView kGuideTip =
    u"チェックがあるときは\n最下段にあるステータスバーの左側に操作ガイドを表示します";

// Indent of the rows that belong to a numbered item.
constexpr int kIndent = 24;

QCheckBox* CheckBox(QStringView text, QStringView tip, QWidget* parent) {
    auto* box = new QCheckBox(text.toString(), parent);
    box->setToolTip(tip.toString());
    return box;
}

// A check box with its key note beside it.
QLayout* WithNote(QCheckBox* box, QStringView note, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    row->addSpacing(8);
    row->addWidget(new QLabel(note.toString(), parent));
    row->addStretch();
    return row;
}

}  // namespace

CKansetDlg::CKansetDlg(AppSettings& app, QWidget* parent) : QDialog(parent), app_(app) {
    setWindowTitle(kTitle.toString());

    firstOpen_ = CheckBox(kFirstOpen, kFirstOpenTip, this);
    animation_ = CheckBox(kAnimation, kAnimationTip, this);
    makeBackup_ = CheckBox(kMakeBackup, kMakeBackupTip, this);
    guide_ = CheckBox(kGuide, kGuideTip, this);

    auto* store = new QPushButton(kStore.toString(), this);
    auto* close = new QPushButton(ui_text::kClose.toString(), this);
    store->setDefault(true);
    connect(store, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(store);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(firstOpen_);
    layout->addSpacing(4);
    layout->addWidget(new QLabel(kSizeHeading.toString(), this));
    layout->addLayout(BuildSizes());
    layout->addSpacing(4);
    layout->addLayout(WithNote(animation_, kAnimationKey, this));
    layout->addLayout(BuildAnimation());
    layout->addSpacing(4);
    layout->addWidget(makeBackup_);
    layout->addSpacing(4);
    layout->addLayout(WithNote(guide_, kGuideKey, this));
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Show(Env::Read(app_));
}

QLayout* CKansetDlg::BuildSizes() {
    height_ = new NumberEdit(Env::kLeastShrinkSide, Env::kGreatestShrinkSide, this);
    width_ = new NumberEdit(Env::kLeastShrinkSide, Env::kGreatestShrinkSide, this);
    height_->setObjectName(QStringLiteral("height"));
    width_->setObjectName(QStringLiteral("width"));
    auto* grid = new QGridLayout;
    grid->setContentsMargins(kIndent, 0, 0, 0);
    const std::pair<QStringView, NumberEdit*> sides[] = {{kHeightLabel, height_},
                                                         {kWidthLabel, width_}};
    int row = 0;
    for (const auto& [label, edit] : sides) {
        grid->addWidget(new QLabel(label.toString(), this), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(kSizeRange.toString(), this), row, 2);
        ++row;
    }
    grid->setColumnStretch(3, 1);
    return grid;
}

QLayout* CKansetDlg::BuildAnimation() {
    count_ = new NumberEdit(Env::kLeastAnimations, Env::kGreatestAnimations, this);
    count_->setObjectName(QStringLiteral("count"));
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(kCountLabel.toString(), this));
    countRow->addWidget(count_);
    countRow->addWidget(new QLabel(kCountRange.toString(), this));
    countRow->addStretch();

    // "速い" to the left of the first button and "遅い" to the right of the
    // last, the three between without text.
    auto* group = new QButtonGroup(this);
    auto* speedRow = new QHBoxLayout;
    speedRow->addWidget(new QLabel(kSpeedLabel.toString(), this));
    for (int speed = 0; speed <= Env::kSlowestSpeed; ++speed) {
        auto* button = new QRadioButton(this);
        if (speed == 0) {
            button->setText(kFast.toString());
            button->setLayoutDirection(Qt::RightToLeft);
        } else if (speed == Env::kSlowestSpeed) {
            button->setText(kSlow.toString());
        }
        group->addButton(button, speed);
        speedRow->addWidget(button);
        speeds_[static_cast<std::size_t>(speed)] = button;
    }
    speedRow->addStretch();

    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(kIndent, 0, 0, 0);
    rows->addLayout(countRow);
    rows->addLayout(speedRow);
    return rows;
}

void CKansetDlg::Show(const EnvironmentSettings& env) {
    firstOpen_->setChecked(env.firstOpen);
    makeBackup_->setChecked(env.makeBackup);
    guide_->setChecked(env.dspGuide);
    height_->SetValue(env.shrinkSize.height());
    width_->SetValue(env.shrinkSize.width());
    animation_->setChecked(env.playAnime > 0);
    count_->SetValue(OfferedAnimationCount(env.playAnime));
    speeds_[static_cast<std::size_t>(env.Limited().speedAnime)]->setChecked(true);
}

EnvironmentSettings CKansetDlg::Shown() {
    EnvironmentSettings env;
    env.firstOpen = firstOpen_->isChecked();
    env.makeBackup = makeBackup_->isChecked();
    env.dspGuide = guide_->isChecked();
    env.shrinkSize = {width_->Read(), height_->Read()};
    env.playAnime = animation_->isChecked() ? count_->Read() : 0;
    env.speedAnime = 0;
    for (int speed = 0; speed <= Env::kSlowestSpeed; ++speed) {
        if (speeds_[static_cast<std::size_t>(speed)]->isChecked()) env.speedAnime = speed;
    }
    return env;
}

void CKansetDlg::accept() {
    const EnvironmentSettings env = Shown();
    QDialog::accept();
    env.Store(app_);
}

}  // namespace tessaly
