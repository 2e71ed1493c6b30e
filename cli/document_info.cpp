#include "document_info.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <algorithm>

#include "document/cabinet.h"
#include "document/document.h"
#include "document/document_file.h"
#include "image/picture_io.h"
#include "image/regular_file.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

QJsonObject DescribeHeader(const QByteArray& header) {
    return {{QStringLiteral("magic"), QString::fromLatin1(header.left(3))},
            {QStringLiteral("version"), QString::fromLatin1(header.mid(3, 3))},
            {QStringLiteral("pointerWidth"), QString::fromLatin1(header.mid(6, 2))}};
}

QJsonObject DescribeState(const Document& doc) {
    const DocState& s = doc.State();
    QJsonArray histogram;
    for (int bin : s.backHistogram) histogram.append(bin);
    return {
        {QStringLiteral("nodeCount"), s.nodeCount},
        {QStringLiteral("mainSelection"), s.mainSelection},
        {QStringLiteral("savedScrollX"), s.savedScrollX},
        {QStringLiteral("savedScrollY"), s.savedScrollY},
        {QStringLiteral("zoom"), double(s.zoom)},
        {QStringLiteral("zoomConsoleX"), s.zoomConsoleX},
        {QStringLiteral("zoomConsoleY"), s.zoomConsoleY},
        {QStringLiteral("zoomConsolePinned"), s.zoomConsolePinned},
        {QStringLiteral("canvasWidth"), s.canvasWidth},
        {QStringLiteral("canvasHeight"), s.canvasHeight},
        {QStringLiteral("backColor"), s.backColor},
        {QStringLiteral("canvasLineColor"), s.canvasLineColor},
        {QStringLiteral("canvasLineWidth"), s.canvasLineWidth},
        {QStringLiteral("canvasLineStyle"), s.canvasLineStyle},
        {QStringLiteral("backPicture"), EncodedSize(doc.Picture(s.backPicture))},
        {QStringLiteral("backBrightness"), s.backBrightness},
        {QStringLiteral("backHistogram"), histogram},
        {QStringLiteral("adjustColors"), s.adjustColors},
        {QStringLiteral("mosaicBackground"), s.mosaicBackground},
        {QStringLiteral("differentColors"), s.differentColors},
        {QStringLiteral("imageFrames"), s.imageFrames},
        {QStringLiteral("showBackPicture"), s.showBackPicture},
        {QStringLiteral("skipNoSetColor"), s.skipNoSetColor},
        {QStringLiteral("noSetColor"), s.noSetColor},
        {QStringLiteral("noSetRange"), s.noSetRange},
        {QStringLiteral("gridColumns"), s.gridColumns},
        {QStringLiteral("gridRows"), s.gridRows},
        {QStringLiteral("layerThickness"), s.layerThickness},
        {QStringLiteral("sizeSteps"), s.sizeSteps},
        {QStringLiteral("mosaicType"), s.mosaicType},
        {QStringLiteral("sectionCount"), s.sectionCount},
        {QStringLiteral("comparePrecision"), s.comparePrecision},
        {QStringLiteral("imageFrameWidth"), s.imageFrameWidth},
        {QStringLiteral("imageFrameStyle"), s.imageFrameStyle},
        {QStringLiteral("imageFrameColor"), s.imageFrameColor},
        {QStringLiteral("gridMode"), s.gridMode},
        {QStringLiteral("gridOnTop"), s.gridOnTop},
        {QStringLiteral("cutLineColor"), s.cutLineColor},
        {QStringLiteral("cutLineWidth"), s.cutLineWidth},
        {QStringLiteral("reserved"),
         QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(s.reserved),
                                        sizeof s.reserved)
                                 .toHex())},
    };
}

QJsonArray DescribeRecords(const Document& doc) {
    QJsonArray records;
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        const NodeRecord& r = doc.Node(i);
        records.append(QJsonObject{
            {QStringLiteral("centerX"), r.centerX},
            {QStringLiteral("centerY"), r.centerY},
            {QStringLiteral("halfWidth"), r.halfWidth},
            {QStringLiteral("halfHeight"), r.halfHeight},
            {QStringLiteral("visible"), r.visible},
            {QStringLiteral("cellColor"), r.cellColor},
            {QStringLiteral("blobLength"), EncodedSize(doc.Picture(r.picture))},
        });
    }
    return records;
}

// Describes an inner file: its header as it stands, then the whole document.
std::optional<QJsonObject> DescribeInnerFile(QByteArrayView bytes) {
    Document doc;
    if (!doc.AllocateNodeTables() || !ReadDocumentBytes(bytes, doc, true)) return std::nullopt;
    const QByteArray header =
        bytes.first(std::min<qsizetype>(bytes.size(), kDocHeaderSize)).toByteArray();
    return QJsonObject{{QStringLiteral("header"), DescribeHeader(header)},
                       {QStringLiteral("state"), DescribeState(doc)},
                       {QStringLiteral("records"), DescribeRecords(doc)}};
}

}  // namespace

std::optional<QJsonObject> DescribeDocumentFile(const QString& path) {
    // Only a regular file is read: a FIFO or a device would block or never end.
    QFile file(path);
    if (!OpenRegularFile(file)) {
        ShowMessage(nullptr, QDir::toNativeSeparators(path) + u'\n', kMsgFileOpenFailed,
                    kStyleStop);
        return std::nullopt;
    }
    if (file.peek(4) != "MSCF") {
        // An inner file is never larger than a cabinet member can be, and is
        // mapped rather than read: the reader looks only at what it needs.
        const qint64 size = file.size();
        const uchar* mapped = size > 0 && size <= kMaxMemberBytes ? file.map(0, size) : nullptr;
        if (!mapped) {
            ShowMessage(kMsgWrongFileFormat, kStyleStop);
            return std::nullopt;
        }
        return DescribeInnerFile(QByteArrayView(reinterpret_cast<const char*>(mapped), size));
    }
    const auto member = ReadCabinet(path);
    if (!member) return std::nullopt;
    auto description = DescribeInnerFile(member->data);
    if (description) description->insert(QStringLiteral("member"), member->name);
    return description;
}

}  // namespace tessaly
