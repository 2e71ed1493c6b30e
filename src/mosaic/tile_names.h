#pragma once

#include <QString>

namespace tessaly {

// The most names tried for one tile file: the base name, then the base name
// with "(1)" up to "(29999)".
inline constexpr int kMaxTileNameCandidates = 30000;

// The number the next sequence-numbered tile takes in `folder`: every file
// name there (folders do not count) is read as a decimal number from its
// leading digits, none giving 0, and the largest is followed. 1 when the
// folder has no files.
qint64 NextSequenceNumber(const QString& folder);

// A sequence number as a base name: six digits with leading zeros.
QString SequenceName(qint64 number);

// The part of `path` between its last folder separator and its last ".";
// empty when it has no separator or no extension after it.
QString SourceBaseName(const QString& path);

struct ReservedTileFile {
    QString path;           // empty: no file was reserved
    bool allTaken = false;  // every candidate name already exists
};

// Claims the first free name among "base.type", "base(1).type", ... in
// `folder` (at most `candidates` of them) by creating it, empty, in one step
// that fails when the file exists: an existing file is never opened for
// writing, even when another program creates it meanwhile. The caller then
// writes the tile over the empty file or removes it.
ReservedTileFile ReserveTileFile(const QString& folder, const QString& base, const QString& type,
                                 int candidates = kMaxTileNameCandidates);

}  // namespace tessaly
