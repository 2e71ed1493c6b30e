#pragma once

#include <QString>

namespace tessaly {

// The console's explanation of its settings and buttons: 74 lines, each
// followed by CR LF. Leading full-width spaces indent the lines.
QString MosaicExplanationText();

}  // namespace tessaly
