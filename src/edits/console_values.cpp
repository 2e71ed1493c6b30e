#include "edits/console_values.h"

#include <algorithm>

#include "edits/view_property_rules.h"

namespace tessaly {

EditBoxValue ReadEditBox(QStringView text, int minimum, int maximum) {
    const int value = ReadBoxNumber(text.toString(), minimum, maximum);
    // Whatever else the box holds is put right too, so that it always shows
    // the value stored.
    return {value, text.trimmed() != QString::number(value)};
}

QString FormatElapsed(std::int64_t milliseconds) {
    const std::int64_t ms = std::max<std::int64_t>(milliseconds, 0);
    const std::int64_t seconds = ms / 1000;
    return QString::asprintf("%02d:%02d %03dms", static_cast<int>(seconds / 60 % 60),
                             static_cast<int>(seconds % 60), static_cast<int>(ms % 1000));
}

}  // namespace tessaly
