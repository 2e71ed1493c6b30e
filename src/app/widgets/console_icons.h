#pragma once

#include <QIcon>

namespace tessaly {

// The pictures of the photomosaic console's buttons, drawn here.
enum class ConsoleIcon {
    Minus,
    Plus,
    Help,            // toggles the explanation panel
    Histogram,       // toggles the histogram panel
    ShowUnplaced,    // an arrow to the top-left corner
    BackgroundOnly,  // a small landscape
};

QIcon ConsoleIconFor(ConsoleIcon icon);

// The layout of mosaic type 1..7: cells that get smaller in the type's
// direction.
QIcon MosaicTypeIcon(int type);

}  // namespace tessaly
