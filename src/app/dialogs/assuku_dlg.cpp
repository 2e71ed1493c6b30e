#include "app/dialogs/assuku_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "services/settings.h"

namespace tessaly {
namespace {

constexpr QStringView kTitle = u"画質設定";
constexpr QStringView kQualityLabel = u"画質：";
constexpr QStringView kCaption = u"低画質　←・→　高画質";
constexpr QStringView kConfirm = u"決定(&S)";
constexpr QStringView kCancel = u"中止(&C)";
const QString kSection = QStringLiteral("Last");
const QString kKey = QStringLiteral("Quality");

constexpr int kMinQuality = 10;
constexpr int kMaxQuality = 100;
constexpr int kStep = 10;

}  // namespace

CAssukuDlg::CAssukuDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kTitle.toString());

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(kMinQuality, kMaxQuality);
    slider_->setPageStep(kStep);
    slider_->setTickInterval(kStep);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setMinimumWidth(320);
    value_ = new QLabel(this);
    value_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    value_->setAlignment(Qt::AlignCenter);
    value_->setMinimumWidth(value_->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    connect(slider_, &QSlider::valueChanged, this,
            [this](int v) { value_->setText(QString::number(v)); });

    // The label with the value beside it, the slider between its end
    // values, and the caption under the slider.
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(new QLabel(kQualityLabel.toString(), this));
    valueRow->addWidget(value_);
    valueRow->addStretch();
    auto* sliderRow = new QGridLayout;
    sliderRow->addWidget(new QLabel(QString::number(kMinQuality), this), 0, 0);
    sliderRow->addWidget(slider_, 0, 1);
    sliderRow->addWidget(new QLabel(QString::number(kMaxQuality), this), 0, 2);
    auto* caption = new QLabel(kCaption.toString(), this);
    caption->setAlignment(Qt::AlignCenter);
    sliderRow->addWidget(caption, 1, 1);
    sliderRow->setColumnStretch(1, 1);
    sliderRow->setHorizontalSpacing(8);

    auto* presets = new QGridLayout;
    presets->setSpacing(4);
    for (int quality = kMinQuality, i = 0; quality <= kMaxQuality; quality += kStep, ++i) {
        auto* button = new QPushButton(QString::number(quality), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, quality] { SetQuality(quality); });
        presets->addWidget(button, i / 5, i % 5);
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* confirm =
        buttons->addButton(kConfirm.toString(), QDialogButtonBox::AcceptRole);
    buttons->addButton(kCancel.toString(), QDialogButtonBox::RejectRole);
    confirm->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(valueRow);
    layout->addLayout(sliderRow);
    layout->addSpacing(6);
    layout->addLayout(presets);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetQuality(GetProfileInt(kSection, kKey, kMaxQuality));
    value_->setText(QString::number(slider_->value()));
}

int CAssukuDlg::Quality() const { return slider_->value(); }

void CAssukuDlg::SetQuality(int quality) { slider_->setValue(quality); }

void CAssukuDlg::accept() {
    WriteProfileInt(kSection, kKey, Quality());
    QDialog::accept();
}

}  // namespace tessaly
