#include "commands/export_file_types.h"

#include <array>

#include "image/image_files.h"

namespace tessaly {
namespace {

using enum BmpCompression;

constexpr std::array<ExportFileType, 12> kTypes{{
    {u"モノクロ BITMAPファイル(*.bmp)|*.bmp|", 1, None},
    {u"16色 BITMAPファイル(*.bmp)|*.bmp|", 4, None},
    {u"16色(圧縮) BITMAPファイル(*.bmp)|*.bmp|", 4, Rle4},
    {u"256色 BITMAPファイル(*.bmp)|*.bmp|", 8, None},
    {u"256色(圧縮) BITMAPファイル(*.bmp)|*.bmp|", 8, Rle8},
    {u"16ﾋﾞｯﾄ色 BITMAPファイル(*.bmp)|*.bmp|", 16, BitFields},
    {u"24ﾋﾞｯﾄ色 BITMAPファイル(*.bmp)|*.bmp|", 24, None},
    {u"32ﾋﾞｯﾄ色 BITMAPファイル(*.bmp)|*.bmp|", 32, BitFields},
    {u"JPEGファイル(*.jpeg)|*.jpeg|", 0, None},
    {u"GIFファイル(*.gif)|*.gif|", 0, None},
    {u"PNGファイル(*.png)|*.png|", 0, None},
    {u"TIFFファイル(*.tiff)|*.tiff||", 0, None},
}};

constexpr int kBmp24ExportIndex = 7;

}  // namespace

std::span<const ExportFileType> ExportFileTypes() { return kTypes; }

const ExportFileType* ExportFileTypeAt(int index) {
    if (index < 1 || index > static_cast<int>(kTypes.size())) return nullptr;
    return &kTypes[static_cast<std::size_t>(index - 1)];
}

QString ExportEncoderType(int index) {
    const ExportFileType* type = ExportFileTypeAt(index);
    if (!type) return {};
    if (type->IsBmp()) return QStringLiteral("bmp");
    return FilterExtension(ExportQtFilters()[index - 1]);
}

int ExportTypeForPath(const QString& path, int chosenIndex) {
    const QString named = ImageTypeOf(path);
    if (named.isEmpty() || named == ExportEncoderType(chosenIndex)) return chosenIndex;
    if (named == u"bmp") return kBmp24ExportIndex;
    for (int index = kJpegExportIndex; index <= static_cast<int>(kTypes.size()); ++index) {
        if (ExportEncoderType(index) == named) return index;
    }
    return chosenIndex;
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
