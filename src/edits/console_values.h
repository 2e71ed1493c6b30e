#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace tessaly {

// A number typed into one of the console's edit boxes, as it is stored.
struct EditBoxValue {
    int value = 0;
    // The box must show `value` ("%d") instead of what was typed: the number
    // was out of range, the text held no number, or more than the number.
    bool rewrite = false;
};

// Reads one of the console's edit boxes as every edit box is read
// (ReadBoxNumber: "12ab" reads 12, no digits read 0, clamped to
// minimum..maximum) and says whether the box must be rewritten.
EditBoxValue ReadEditBox(QStringView text, int minimum, int maximum);

// The run time shown in "処理時間": "MM:SS mmmms" with the minutes wrapping
// at an hour ("01:15 123ms" for 75.123 s).
QString FormatElapsed(std::int64_t milliseconds);

}  // namespace tessaly
