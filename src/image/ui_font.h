#pragma once

#include <QFont>
#include <QString>

class QPaintDevice;

namespace tessaly {

// The font the program draws its own texts with: `face` (or "MS UI Gothic"
// when empty, falling back to the Japanese fonts installed here), `points`
// converted to pixels at the device's vertical resolution, bold or regular.
QFont CreateUiFont(const QPaintDevice* device, const QString& face, int points, bool bold);

}  // namespace tessaly
