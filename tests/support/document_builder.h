#pragma once

#include <QByteArray>

#include "document/document.h"

namespace tessaly::test {

// A JPEG stream of exactly `size` bytes (a small picture padded after its end
// marker), so file sizes can be predicted.
QByteArray JpegOfExactSize(int size);

// Appends a visible node with its own picture made of `encoded`.
int AddNode(Document& doc, int centerX, int centerY, int halfWidth, int halfHeight,
            const QByteArray& encoded);

// A document of `nodes` nodes, each with a distinct picture, and a background.
void FillDocument(Document& doc, int nodes, bool withBackground = true);

// The inner file the document writes, as bytes.
QByteArray InnerFileOf(const Document& doc);

}  // namespace tessaly::test
