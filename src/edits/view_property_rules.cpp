#include "edits/view_property_rules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "document/doc_state.h"
#include "image/image_files.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

// Reports a fit beyond the largest side; `line` names the side.
std::optional<int> WithinLimit(QObject* owner, int value, QStringView line) {
    if (value <= kMaxCanvasSide) return value;
    ShowMessage(owner, line.toString().arg(value), kMsgExceedsMaximum, kStyleStop);
    return std::nullopt;
}

bool HasPixels(QSize picture) {
    return picture.width() > 0 && picture.height() > 0;
}

float AspectRatio(QSize picture) {
    return static_cast<float>(picture.width()) / static_cast<float>(picture.height());
}

}  // namespace

int ReadBoxNumber(const QString& text, int lowest, int highest) {
    QString digits = text;
    digits.remove(u',');
    digits = digits.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < digits.size() && (digits[i] == u'-' || digits[i] == u'+')) {
        negative = digits[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < digits.size() && digits[i] >= u'0' && digits[i] <= u'9'; ++i) {
        value = std::min(value * 10 + (digits[i].unicode() - u'0'), 1LL << 40);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, lowest, highest));
}

QString CanvasSideNote() {
    return QStringLiteral("(%1 ～ %2)").arg(kMinCanvasSide).arg(FormatThousands(kMaxCanvasSide));
}

std::optional<int> FitCanvasWidth(QObject* owner, QSize picture, const QString& heightText) {
    if (!HasPixels(picture)) return std::nullopt;
    const int h = ReadBoxNumber(heightText, kMinCanvasSide, kMaxCanvasSide);
    const int w = static_cast<int>(static_cast<float>(h) * AspectRatio(picture));
    return WithinLimit(owner, w, ui_text::kWidthLine);
}

std::optional<int> FitCanvasHeight(QObject* owner, QSize picture, const QString& widthText) {
    if (!HasPixels(picture)) return std::nullopt;
    const int w = ReadBoxNumber(widthText, kMinCanvasSide, kMaxCanvasSide);
    const int h = static_cast<int>(static_cast<float>(w) / AspectRatio(picture));
    return WithinLimit(owner, h, ui_text::kHeightLine);
}

QRect PreviewRect(QSize area, QSize picture) {
    const int pw = area.width(), ph = area.height();
    const int a = picture.width(), b = picture.height();
    if (a <= 0 || b <= 0) return {};
    if (a < pw && b < ph) return QRect((pw - a) / 2, (ph - b) / 2, a, b);
    const float across = static_cast<float>(pw) / static_cast<float>(a);
    const float down = static_cast<float>(ph) / static_cast<float>(b);
    if (down > across) {
        const int h = static_cast<int>(static_cast<float>(b) * across);
        return QRect(0, (ph - h) / 2, pw, h);
    }
    const int w = static_cast<int>(down * static_cast<float>(a));
    return QRect((pw - w) / 2, 0, w, ph);
}

std::optional<ImageBlob> LoadBackgroundPicture(QObject* owner, const QString& path) {
    const QString type = ImageTypeOf(path);
    if (!type.isEmpty()) {
        if (LoadedPicture loaded = LoadImageFile(path, type); loaded.picture) {
            return std::move(loaded.picture);
        }
    }
    int reason = kMsgImageGetFailed;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        reason = kMsgFileNotFound;
    } else if (type.isEmpty()) {
        reason = kMsgImageTypeNotSettable;
    } else if (!file.open(QIODevice::ReadOnly)) {
        reason = kMsgFileOpenFailed;
    }
    ShowMessage(owner, QDir::toNativeSeparators(path) + u'\n', reason, kStyleStop);
    return std::nullopt;
}

}  // namespace tessaly
