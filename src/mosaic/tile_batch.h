#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "canvas/image_batch.h"
#include "mosaic/tile_names.h"

class QObject;

namespace tessaly {

// Batch creation of tile images: source image files shrunk into new files of
// the "Images" folder on the desktop. The source files are never changed and
// no existing file is ever overwritten.

inline constexpr int kMinTileSide = 20;
inline constexpr int kMaxTileSide = 1000;
// The most rows the list of source images holds.
inline constexpr int kMaxListedImages = 30000;

// How the entered width and height become a tile's size.
enum class ShrinkMethod : int {
    EnteredSize = 0,      // width x height as entered
    HeightKeepsAspect = 1,  // the entered height, the width from the source's aspect ratio
    WidthKeepsAspect = 2,   // the entered width, the height from the source's aspect ratio
};

enum class TileNaming : int {
    SequenceNumbers = 0,  // "000001", "000002"... after the largest number in the folder
    SourceNames = 1,      // the source file's name
};

// The types a tile may be written as, by "FileType"; 0 keeps each source's type.
inline constexpr int kKeepSourceType = 0;
inline constexpr int kTileTypeCount = 6;

// The choices of the batch dialog, kept in settings section "MakeMosaic".
struct TileBatchSettings {
    int width = 100;   // "Yoko", kMinTileSide..kMaxTileSide
    int height = 100;  // "Tate", kMinTileSide..kMaxTileSide
    ShrinkMethod method = ShrinkMethod::EnteredSize;   // "Houhou"
    TileNaming naming = TileNaming::SequenceNumbers;   // "FileName"
    int fileType = kKeepSourceType;  // "FileType": 1..5 JPEG, GIF, BMP, PNG, TIFF

    // Sizes out of range are clamped, unknown choices give the defaults.
    static TileBatchSettings Load();
    void Save() const;
};

// The size of a tile made from a source of `source` pixels. The aspect ratio
// is worked out in single precision and the derived side truncated; no side
// is less than one pixel.
QSize ShrunkSize(QSize source, QSize entered, ShrinkMethod method);

// The type word a tile is written as: the chosen type, or with
// kKeepSourceType the source's own type ("jpeg", "gif", "bmp", "png", "tiff").
QString TileTypeOf(int fileType, const QString& sourceType);

// The desktop's "Images" folder, where tiles are written.
QString TileOutputFolder();

// The list's candidates from dropped paths: folders are skipped, then the
// existing image files are taken, at most kMaxAddEntries (overflowed says
// more were offered).
CollectedEntries DroppedImages(const QStringList& paths);

// The existing image files among paths chosen in the file dialog.
std::vector<ImageEntry> ChosenImages(const QStringList& paths);

// Of `offered`, those to append to a list that holds `listed`: a path already
// listed or offered before, in any letter case, is left out, and the list
// never grows beyond kMaxListedImages rows.
std::vector<ImageEntry> NewListEntries(const QStringList& listed,
                                       const std::vector<ImageEntry>& offered);

struct TileBatchResult {
    int rows = 0;
    int written = 0;
    int failed = 0;    // tiles that could not be written
    int notTried = 0;  // rows left when the batch stopped after failing writes
    QString lastWritten;          // path of the last tile written
    QStringList withoutFreeName;  // sources skipped because every name was taken
};

// Writes one tile per row into `folder`, in order. A row that cannot be read
// is skipped; so is a row for which all `nameCandidates` names already exist,
// and it is listed in the result. A tile that cannot be written is counted,
// and after ten such tiles in a row the batch stops, the rows left counted
// as not tried. Each tile is written under a partial name and takes its
// final name once complete, so an interrupted batch leaves no damaged tile;
// partial tiles an earlier batch left an hour or more ago are removed first.
// `rowDone` hears the number of rows finished after each row. The sources
// are read, shrunk and written on `workers` threads (0: one per core),
// within a DecodeBudget; the names are given, and `rowDone` called, on the
// calling thread in the rows' order.
TileBatchResult CreateTileFiles(const std::vector<ImageEntry>& rows,
                                const TileBatchSettings& settings, const QString& folder,
                                const std::function<void(int)>& rowDone = {},
                                int nameCandidates = kMaxTileNameCandidates, int workers = 0);

// Tells the user what went wrong in a batch: tiles that could not be written
// (how many of how many, and how many were not tried), else sources without
// a free name, else that nothing was written. True when the batch wrote
// tiles and none failed to be written.
bool ReportTileBatch(QObject* owner, const TileBatchResult& result);

}  // namespace tessaly
