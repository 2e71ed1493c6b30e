#include "edits/export_file_types.h"

#include <algorithm>
#include <array>

#include "image/image_files.h"

namespace tessaly {
namespace {

using enum BmpCompression;
using enum OutputFormat::Type;

constexpr std::array<ExportFileType, 12> kTypes{{
    {u"モノクロ BITMAPファイル(*.bmp)|*.bmp|", {Bmp, 1, None}},
    {u"16色 BITMAPファイル(*.bmp)|*.bmp|", {Bmp, 4, None}},
    {u"16色(圧縮) BITMAPファイル(*.bmp)|*.bmp|", {Bmp, 4, Rle4}},
    {u"256色 BITMAPファイル(*.bmp)|*.bmp|", {Bmp, 8, None}},
    {u"256色(圧縮) BITMAPファイル(*.bmp)|*.bmp|", {Bmp, 8, Rle8}},
    {u"16ﾋﾞｯﾄ色 BITMAPファイル(*.bmp)|*.bmp|", {Bmp, 16, BitFields}},
    {u"24ﾋﾞｯﾄ色 BITMAPファイル(*.bmp)|*.bmp|", {Bmp, 24, None}},
    {u"32ﾋﾞｯﾄ色 BITMAPファイル(*.bmp)|*.bmp|", {Bmp, 32, BitFields}},
    {u"JPEGファイル(*.jpeg)|*.jpeg|", {Jpeg}},
    {u"GIFファイル(*.gif)|*.gif|", {Gif}},
    {u"PNGファイル(*.png)|*.png|", {Png}},
    {u"TIFFファイル(*.tiff)|*.tiff||", {Tiff}},
}};

// The index of the first type written as `format`, or 0.
int IndexOf(const OutputFormat& format) {
    const auto found = std::find_if(kTypes.begin(), kTypes.end(), [&](const ExportFileType& type) {
        return type.format == format;
    });
    return found == kTypes.end() ? 0 : static_cast<int>(found - kTypes.begin()) + 1;
}

}  // namespace

std::span<const ExportFileType> ExportFileTypes() { return kTypes; }

const ExportFileType* ExportFileTypeAt(int index) {
    if (index < 1 || index > static_cast<int>(kTypes.size())) return nullptr;
    return &kTypes[static_cast<std::size_t>(index - 1)];
}

int JpegExportIndex() { return IndexOf(OutputFormat{Jpeg}); }

int ExportTypeForPath(const QString& path, int chosenIndex) {
    const ExportFileType* chosen = ExportFileTypeAt(chosenIndex);
    const auto named = OutputFormat::ForTypeName(ImageTypeOf(path));
    if (chosen == nullptr || !named || named->type == chosen->format.type) return chosenIndex;
    const int index = IndexOf(*named);
    return index != 0 ? index : chosenIndex;
}

QStringList ToQtFilters(QStringView filter) {
    QStringList result;
    const QList<QStringView> parts = filter.split(u'|');
    // Entries come in pairs of text and pattern; the trailing "||" leaves
    // empty parts, which end the list.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString patterns = parts[i + 1].toString();
        patterns.replace(u';', u' ');
        result.append(parts[i].toString() + QStringLiteral(" (") + patterns + u')');
    }
    return result;
}

const QStringList& ExportQtFilters() {
    static const QStringList filters = [] {
        QString all;
        for (const ExportFileType& type : kTypes) all += type.filter;
        return ToQtFilters(all);
    }();
    return filters;
}

QString FilterExtension(const QString& qtFilter) {
    const qsizetype open = qtFilter.lastIndexOf(QStringLiteral("(*."));
    if (open < 0) return {};
    const qsizetype start = open + 3;
    qsizetype end = start;
    while (end < qtFilter.size() && qtFilter[end] != u' ' && qtFilter[end] != u')') ++end;
    const QString extension = qtFilter.mid(start, end - start);
    return extension == u"*" ? QString() : extension;
}

}  // namespace tessaly
