#pragma once

#include <QColor>

#include "document/doc_state.h"

namespace tessaly {

// A stored COLORREF as a colour to paint with, and back (alpha dropped).
inline QColor QColorOf(ColorRef c) {
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}
inline ColorRef ColorRefOf(const QColor& c) {
    return MakeColorRef(c.red(), c.green(), c.blue());
}

}  // namespace tessaly
