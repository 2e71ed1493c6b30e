#include "image/ui_font.h"

#include <QPaintDevice>
#include <QStringList>
#include <cmath>

namespace tessaly {

QFont CreateUiFont(const QPaintDevice* device, const QString& face, int points, bool bold) {
    const int dpi = device ? device->logicalDpiY() : 96;
    QFont font;
    font.setFamilies({face.isEmpty() ? QStringLiteral("MS UI Gothic") : face,
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")});
    // Rounded to the nearest pixel, as a multiply-then-divide with rounding does.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * dpi / 72.0))));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace tessaly
