#include "support/document_builder.h"

#include <QBuffer>

#include "document/document_file.h"
#include "support/test_images.h"

namespace tessaly::test {

QByteArray JpegOfExactSize(int size) {
    QByteArray bytes = JpegBytes(8, 8, 50);
    Q_ASSERT(bytes.size() <= size);
    bytes.append(size - bytes.size(), '\0');
    return bytes;
}

int AddNode(Document& doc, int centerX, int centerY, int halfWidth, int halfHeight,
            const QByteArray& encoded) {
    const int i = doc.State().nodeCount++;
    NodeRecord& node = doc.Node(i);
    node = NodeRecord{};
    node.centerX = centerX;
    node.centerY = centerY;
    node.halfWidth = halfWidth;
    node.halfHeight = halfHeight;
    node.visible = 1;
    node.cellColor = MakeColorRef(i % 256, 20, 30);
    node.avgRed[0] = static_cast<std::uint8_t>(i);
    node.reserved[11] = 0x5A;
    if (auto picture = ImageBlob::FromEncoded(encoded)) {
        node.picture = doc.Pictures().Adopt(*std::move(picture));
    }
    return i;
}

void FillDocument(Document& doc, int nodes, bool withBackground) {
    for (int i = 0; i < nodes; ++i) {
        AddNode(doc, 100 + i * 7, 200 + i * 3, 20 + i % 5, 15 + i % 3, JpegBytes(12 + i % 9, 10));
    }
    if (withBackground) {
        doc.State().backPicture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(JpegBytes(64, 40)));
    }
    doc.State().zoom = 0.5f;
    doc.State().canvasWidth = 1600;
    doc.State().backHistogram[5] = 77;
}

QByteArray InnerFileOf(const Document& doc) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteDocumentFile(buffer, doc, true);
    return bytes;
}

}  // namespace tessaly::test
