#include "app/widgets/colour_button.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidgetAction>
#include <array>

#include "canvas/colour_ref.h"

namespace tessaly {
namespace {

constexpr int kColumns = 5;
constexpr QSize kButtonSwatch(36, 14);
constexpr QSize kPanelSwatch(18, 18);
constexpr QStringView kOtherColours = u"その他の色...";

struct Rgb {
    int r, g, b;
};

// The panel's swatches, row by row.
constexpr std::array<Rgb, 30> kPalette = {{
    {0, 0, 0},     {64, 64, 64},    {128, 128, 128}, {192, 192, 192}, {255, 255, 255},
    {128, 0, 0},   {255, 0, 0},     {255, 128, 0},   {255, 255, 0},   {255, 255, 153},
    {0, 128, 0},   {0, 255, 0},     {128, 128, 0},   {153, 204, 0},   {204, 255, 204},
    {0, 0, 128},   {0, 0, 255},     {0, 128, 128},   {0, 255, 255},   {153, 204, 255},
    {128, 0, 128}, {255, 0, 255},   {153, 102, 204}, {255, 153, 204}, {204, 153, 255},
    {153, 51, 0},  {255, 204, 153}, {72, 90, 123},   {255, 204, 0},   {255, 102, 102},
}};

// A swatch of `value`; the automatic value shows an empty box crossed out.
QIcon SwatchIcon(std::int32_t value, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(value == kColorNone ? Qt::white : QColorOf(value));
    QPainter painter(&pixmap);
    painter.setPen(QColor(96, 96, 96));
    if (value == kColorNone) painter.drawLine(0, size.height() - 1, size.width() - 1, 0);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(pixmap);
}

QToolButton* PanelButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

ColourButton::ColourButton(QWidget* parent) : QToolButton(parent) {
    menu_ = new QMenu(this);
    setMenu(menu_);
    // The swatch and the arrow beside it both open the panel.
    setPopupMode(QToolButton::MenuButtonPopup);
    connect(this, &QToolButton::clicked, this, &QToolButton::showMenu);
    setIconSize(kButtonSwatch);
    BuildPanel();
    UpdateSwatch();
}

void ColourButton::SetAutomaticEntry(const QString& label) {
    automaticLabel_ = label;
    BuildPanel();
    UpdateSwatch();
}

void ColourButton::SetColour(std::int32_t value) {
    colour_ = value;
    UpdateSwatch();
}

void ColourButton::Choose(std::int32_t value) {
    if (value == colour_) return;
    SetColour(value);
    Q_EMIT colourChanged(value);
}

void ColourButton::BuildPanel() {
    menu_->clear();
    auto* panel = new QWidget(menu_);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(2);
    int row = 0;
    const auto choose = [this](std::int32_t value) {
        menu_->close();
        Choose(value);
    };
    if (!automaticLabel_.isEmpty()) {
        QToolButton* automatic = PanelButton(panel);
        automatic->setText(automaticLabel_);
        automatic->setIcon(SwatchIcon(kColorNone, kPanelSwatch));
        automatic->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        automatic->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(automatic, &QToolButton::clicked, this, [choose] { choose(kColorNone); });
        grid->addWidget(automatic, row++, 0, 1, kColumns);
    }
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
        const Rgb& c = kPalette[i];
        const ColorRef value = MakeColorRef(c.r, c.g, c.b);
        QToolButton* swatch = PanelButton(panel);
        swatch->setIconSize(kPanelSwatch);
        swatch->setIcon(SwatchIcon(value, kPanelSwatch));
        swatch->setToolTip(QColorOf(value).name());
        connect(swatch, &QToolButton::clicked, this, [choose, value] { choose(value); });
        grid->addWidget(swatch, row + static_cast<int>(i) / kColumns,
                        static_cast<int>(i) % kColumns);
    }
    row += static_cast<int>(kPalette.size() + kColumns - 1) / kColumns;
    QToolButton* other = PanelButton(panel);
    other->setText(kOtherColours.toString());
    other->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(other, &QToolButton::clicked, this, &ColourButton::ChooseOther);
    grid->addWidget(other, row, 0, 1, kColumns);

    auto* action = new QWidgetAction(menu_);
    action->setDefaultWidget(panel);
    menu_->addAction(action);
}

void ColourButton::ChooseOther() {
    menu_->close();
    const QColor initial = colour_ == kColorNone ? QColor(Qt::white) : QColorOf(colour_);
    const QColor chosen = QColorDialog::getColor(initial, window());
    if (chosen.isValid()) Choose(ColorRefOf(chosen));
}

void ColourButton::UpdateSwatch() {
    setIcon(SwatchIcon(colour_, kButtonSwatch));
    setToolTip(colour_ == kColorNone ? automaticLabel_ : QColorOf(colour_).name());
}

}  // namespace tessaly
