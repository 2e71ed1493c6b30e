#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

namespace tessaly {

class Document;

// The inner document file: a 10-byte header, the settings block, the
// background picture, the node count, the records and the node pictures.
// Lengths and the count are big-endian; the block and the records are stored
// byte for byte as in memory (little-endian).
inline constexpr int kDocHeaderSize = 10;
inline constexpr char kDocHeaderTemplate[] = "TSD00132  ";
inline constexpr char kDocPointerWidth[] = "64";

// The inner file of the document, composed in memory. With `quiet` the
// status bar shows no text (the progress bar moves all the same).
QByteArray ComposeDocumentFile(const Document& doc, bool quiet);

// Writes the inner file in one piece; fails if the device refuses it.
bool WriteDocumentFile(QIODevice& file, const Document& doc, bool quiet);

// Reads a document written by WriteDocumentFile and, only when the whole file
// is sound, replaces the document with it; on failure the document is left
// exactly as it was and the reason has been shown. Every length and count is
// checked against what is left of the file before anything is taken from it.
bool ReadDocumentFile(QIODevice& file, Document& doc, bool quiet);

// The same, from the bytes of an inner file.
bool ReadDocumentBytes(QByteArrayView bytes, Document& doc, bool quiet);

}  // namespace tessaly
