#include "image/image_links.h"

#include <QByteArray>
#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace tessaly {
namespace {

// Each round of decoding removes escapes; a link that still holds "%" after
// this many rounds is not decoded further.
constexpr int kMaxDecodeRounds = 8;

int HexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

QString FindEmbeddedLinkAt(const QString& link, const QString& extension, int round) {
    const QString lower = link.toLower();
    const QString dotted = u'.' + extension.toLower();
    const qsizetype found = lower.indexOf(dotted);
    if (found < 0) return {};
    const qsizetype end = found + dotted.size();
    const QString cutLower = lower.left(end);
    const qsizetype start =
        std::max(cutLower.lastIndexOf(u"http://"), cutLower.lastIndexOf(u"https://"));
    if (start < 0) return {};
    const QString result = link.mid(start, end - start);
    if (!result.contains(u'%') || round >= kMaxDecodeRounds) return result;
    return FindEmbeddedLinkAt(PercentDecode(result), extension, round + 1);
}

}  // namespace

QString PercentDecode(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype literalStart = 0;  // the run of plain characters not yet copied
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'%') continue;
        bytes += QStringView(text).mid(literalStart, i - literalStart).toUtf8();
        literalStart = i + 1;
        if (text.size() - i < 3) return {};
        const int high = HexValue(text.at(i + 1));
        const int low = HexValue(text.at(i + 2));
        if (high < 0 || low < 0) {
            bytes += '%';
            continue;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
        literalStart = i + 1;
    }
    bytes += QStringView(text).mid(literalStart).toUtf8();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError()) return {};
    if (decoded.startsWith(QChar(0xFEFF))) decoded.remove(0, 1);
    return decoded;
}

QString FindEmbeddedLink(const QString& link, const QString& extension) {
    return FindEmbeddedLinkAt(link, extension, 0);
}

QString LinkImageType(QString& link) {
    const QString lower = link.toLower();
    struct Ending {
        QStringView suffix;
        QStringView type;
    };
    static constexpr std::array kEndings = {
        Ending{u".jpeg", u"jpeg"}, Ending{u".tiff", u"tiff"}, Ending{u".jpg", u"jpeg"},
        Ending{u".gif", u"gif"},   Ending{u".bmp", u"bmp"},   Ending{u".png", u"png"},
        Ending{u".tif", u"tiff"},
    };
    for (const Ending& ending : kEndings) {
        if (lower.endsWith(ending.suffix)) return ending.type.toString();
    }
    static constexpr std::array kEmbedded = {
        Ending{u"jpeg", u"jpeg"}, Ending{u"jpg", u"jpeg"}, Ending{u"gif", u"gif"},
        Ending{u"bmp", u"bmp"},   Ending{u"png", u"png"},  Ending{u"tiff", u"tiff"},
        Ending{u"tif", u"tiff"},
    };
    for (const Ending& embedded : kEmbedded) {
        const QString found = FindEmbeddedLink(link, embedded.suffix.toString());
        if (!found.isEmpty()) {
            link = found;
            return embedded.type.toString();
        }
    }
    return {};
}

}  // namespace tessaly
