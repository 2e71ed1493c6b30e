#pragma once

#include <QString>
#include <QStringView>
#include <chrono>

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

// A tile is written under a name of its own in the output folder and takes
// its final name only once complete. Such names are hidden and begin with no
// digit, so the sequence numbering never reads them.
inline constexpr QStringView kPartialTilePrefix = u".tessaly-tile-";

// A new, empty file for a tile being written in `folder`; empty when it
// cannot be created.
QString NewPartialTile(const QString& folder);

// Removes the partial tiles an interrupted batch left in `folder`: those not
// changed for `age`. A batch that is still writing one changes it within
// seconds, so a fresh one is left alone.
void RemoveStalePartialTiles(const QString& folder, std::chrono::seconds age);

struct PlacedTileFile {
    QString path;           // empty: the tile was not placed
    bool allTaken = false;  // every candidate name already exists
};

// Gives the complete tile `written` the first free name among "base.type",
// "base(1).type", ... in `folder` (at most `candidates` of them) by renaming
// it in one step that fails when the name exists: no existing file is ever
// replaced, even when another program creates it meanwhile, and no name is
// taken before the tile is complete. When the tile is not placed, `written`
// is left where it is.
PlacedTileFile PlaceTileFile(const QString& written, const QString& folder, const QString& base,
                             const QString& type, int candidates = kMaxTileNameCandidates);

}  // namespace tessaly
