#include "app/widgets/line_style_combo.h"

#include <QPixmap>
#include <algorithm>

#include "canvas/line_styles.h"

namespace tessaly {

LineStyleCombo::LineStyleCombo(QWidget* parent) : QComboBox(parent) {
    setIconSize(QSize(kLineSampleWidth, kLineSampleHeight));
    for (int style = 0; style < kLineStyleCount; ++style) {
        addItem(QIcon(QPixmap::fromImage(LineStyleSample(style))), LineStyleName(style));
    }
}

void LineStyleCombo::SetStyle(int style) {
    setCurrentIndex(style >= 0 && style < kLineStyleCount ? style : kLineSolid);
}

int LineStyleCombo::Style() const {
    return std::max(currentIndex(), 0);
}

}  // namespace tessaly
