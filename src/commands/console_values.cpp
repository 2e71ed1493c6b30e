#include "commands/console_values.h"

#include <algorithm>

namespace tessaly {

EditBoxValue ReadEditBox(QStringView text, int minimum, int maximum) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    // Digits beyond what an int holds saturate rather than wrap.
    std::int64_t read = 0;
    bool anyDigit = false;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        anyDigit = true;
        read = std::min<std::int64_t>(read * 10 + (text[i].unicode() - u'0'), INT32_MAX);
    }
    if (negative) read = -read;
    const int value = static_cast<int>(std::clamp<std::int64_t>(read, minimum, maximum));
    // Whatever else the box holds is put right too, so that it always shows
    // the value stored.
    return {value, !anyDigit || value != read || text.trimmed() != QString::number(value)};
}

QString FormatElapsed(std::int64_t milliseconds) {
    const std::int64_t ms = std::max<std::int64_t>(milliseconds, 0);
    const std::int64_t seconds = ms / 1000;
    return QString::asprintf("%02d:%02d %03dms", static_cast<int>(seconds / 60 % 60),
                             static_cast<int>(seconds % 60), static_cast<int>(ms % 1000));
}

}  // namespace tessaly
