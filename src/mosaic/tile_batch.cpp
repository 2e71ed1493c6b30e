#include "mosaic/tile_batch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <utility>

#include "image/decode_budget.h"
#include "image/image_files.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"
#include "services/ordered_work.h"
#include "services/settings.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

const QString kSection = QStringLiteral("MakeMosaic");

// The type words of "FileType" 1..5.
constexpr QStringView kTileTypes[kTileTypeCount] = {u"", u"jpeg", u"gif", u"bmp", u"png", u"tiff"};

int ReadChoice(const QString& key, int count, int defaultValue) {
    const int value = GetProfileInt(kSection, key, defaultValue);
    return value >= 0 && value < count ? value : defaultValue;
}

int ReadSide(const QString& key, int defaultValue) {
    return std::clamp(GetProfileInt(kSection, key, defaultValue), kMinTileSide, kMaxTileSide);
}

int AtLeastOne(float side) { return std::max(1, static_cast<int>(side)); }

// After this many tiles in a row could not be written, the ones still to
// come would fail alike (a full disk or quota, a folder gone): the batch stops.
constexpr int kFailuresInARowToStop = 10;

// A partial tile this old belongs to no batch still writing.
constexpr std::chrono::hours kStalePartialTileAge{1};

enum class RowOutcome { Skipped, Written, NoFreeName, Failed };

// A tile file under its partial name, removed unless it takes its final one.
class PartialTile {
public:
    PartialTile() = default;
    explicit PartialTile(QString path) : path_(std::move(path)) {}
    PartialTile(PartialTile&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    PartialTile& operator=(PartialTile&& other) noexcept {
        Remove();
        path_ = std::exchange(other.path_, {});
        return *this;
    }
    PartialTile(const PartialTile&) = delete;
    PartialTile& operator=(const PartialTile&) = delete;
    ~PartialTile() { Remove(); }

    const QString& Path() const { return path_; }
    void Placed() { path_.clear(); }

private:
    void Remove() {
        if (!path_.isEmpty()) QFile::remove(path_);
        path_.clear();
    }

    QString path_;
};

// One row's tile as a worker leaves it: written whole under a partial name
// (outcome Written), or why not.
struct DraftTile {
    RowOutcome outcome = RowOutcome::Skipped;
    bool sourceRead = false;  // the source was an image: it takes a sequence number
    QString type;
    PartialTile tile;
};

// Reads, shrinks and writes one row's tile; safe on any thread. The tile is
// decoded no larger than it is to be, and scaled once.
DraftTile DraftTileFor(const ImageEntry& row, const TileBatchSettings& settings,
                       const QString& folder) {
    DraftTile draft;
    if (SourceBaseName(row.path).isEmpty()) return draft;
    const LoadedPicture loaded = LoadImageFile(row.path, row.type);
    if (!loaded.picture) return draft;
    draft.sourceRead = true;
    draft.outcome = RowOutcome::Failed;
    draft.type = TileTypeOf(settings.fileType, row.type);
    const QSize size =
        ShrunkSize(loaded.size, QSize(settings.width, settings.height), settings.method);
    PartialTile tile(NewPartialTile(folder));
    if (tile.Path().isEmpty()) return draft;
    const auto format = OutputFormat::ForTypeName(draft.type);
    if (!format ||
        !SaveScaledPicture(*loaded.picture, size.width(), size.height(), tile.Path(), *format)) {
        return draft;
    }
    draft.outcome = RowOutcome::Written;
    draft.tile = std::move(tile);
    return draft;
}

// Gives the drafted tiles their final names, in the rows' order.
class TilePlacer {
public:
    TilePlacer(const TileBatchSettings& settings, const QString& folder, int nameCandidates)
        : folder_(folder),
          nameCandidates_(nameCandidates),
          numbered_(settings.naming == TileNaming::SequenceNumbers),
          sequence_(numbered_ ? NextSequenceNumber(folder) : 0) {}

    RowOutcome Place(const ImageEntry& row, DraftTile& draft) {
        if (!draft.sourceRead) return RowOutcome::Skipped;
        const QString base = numbered_ ? SequenceName(sequence_++) : SourceBaseName(row.path);
        if (draft.outcome != RowOutcome::Written) return draft.outcome;
        const PlacedTileFile placed =
            PlaceTileFile(draft.tile.Path(), folder_, base, draft.type, nameCandidates_);
        if (placed.path.isEmpty()) {
            return placed.allTaken ? RowOutcome::NoFreeName : RowOutcome::Failed;
        }
        draft.tile.Placed();
        lastWritten_ = placed.path;
        return RowOutcome::Written;
    }

    const QString& LastWritten() const { return lastWritten_; }

private:
    const QString folder_;
    const int nameCandidates_;
    const bool numbered_;
    qint64 sequence_;
    QString lastWritten_;
};

}  // namespace

TileBatchSettings TileBatchSettings::Load() {
    TileBatchSettings s;
    s.height = ReadSide(u"Tate"_qs, s.height);
    s.width = ReadSide(u"Yoko"_qs, s.width);
    s.method = static_cast<ShrinkMethod>(ReadChoice(u"Houhou"_qs, 3, 0));
    s.naming = static_cast<TileNaming>(ReadChoice(u"FileName"_qs, 2, 0));
    s.fileType = ReadChoice(u"FileType"_qs, kTileTypeCount, kKeepSourceType);
    return s;
}

void TileBatchSettings::Save() const {
    WriteProfileInt(kSection, u"Tate"_qs, height);
    WriteProfileInt(kSection, u"Yoko"_qs, width);
    WriteProfileInt(kSection, u"Houhou"_qs, static_cast<int>(method));
    WriteProfileInt(kSection, u"FileName"_qs, static_cast<int>(naming));
    WriteProfileInt(kSection, u"FileType"_qs, fileType);
}

QSize ShrunkSize(QSize source, QSize entered, ShrinkMethod method) {
    if (method == ShrinkMethod::EnteredSize || source.isEmpty()) return entered;
    const float aspect = static_cast<float>(source.width()) / static_cast<float>(source.height());
    if (method == ShrinkMethod::HeightKeepsAspect)
        return {AtLeastOne(static_cast<float>(entered.height()) * aspect), entered.height()};
    return {entered.width(), AtLeastOne(static_cast<float>(entered.width()) / aspect)};
}

QString TileTypeOf(int fileType, const QString& sourceType) {
    if (fileType <= kKeepSourceType || fileType >= kTileTypeCount) return sourceType;
    return kTileTypes[fileType].toString();
}

QString TileOutputFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))
        .filePath(u"Images"_qs);
}

CollectedEntries DroppedImages(const QStringList& paths) {
    return CollectImageEntries(paths, true);
}

std::vector<ImageEntry> ChosenImages(const QStringList& paths) {
    std::vector<ImageEntry> entries;
    for (const QString& path : paths) {
        const QString type = ImageTypeOf(path);
        if (!type.isEmpty() && QFileInfo(path).isFile()) entries.push_back({path, type});
    }
    return entries;
}

std::vector<ImageEntry> NewListEntries(const QStringList& listed,
                                       const std::vector<ImageEntry>& offered) {
    QSet<QString> known;
    for (const QString& path : listed) known.insert(path.toCaseFolded());
    std::vector<ImageEntry> added;
    for (const ImageEntry& entry : offered) {
        if (listed.size() + static_cast<qsizetype>(added.size()) >= kMaxListedImages) break;
        const QString key = entry.path.toCaseFolded();
        if (known.contains(key)) continue;
        known.insert(key);
        added.push_back(entry);
    }
    return added;
}

TileBatchResult CreateTileFiles(const std::vector<ImageEntry>& rows,
                                const TileBatchSettings& settings, const QString& folder,
                                const std::function<void(int)>& rowDone, int nameCandidates,
                                int workers) {
    RemoveStalePartialTiles(folder, kStalePartialTileAge);
    if (workers <= 0) workers = std::max(1, QThread::idealThreadCount());
    DecodeBudget budget(DecodeBudget::DefaultLimit());
    TilePlacer placer(settings, folder, nameCandidates);
    TileBatchResult result;
    result.rows = static_cast<int>(rows.size());
    int failedInARow = 0;
    const std::function<DraftTile(int)> draft = [&](int i) {
        const ImageEntry& row = rows[static_cast<std::size_t>(i)];
        const DecodeBudget::Reservation reserved(budget, DecodedBytesOf(row.path));
        return DraftTileFor(row, settings, folder);
    };
    const std::function<bool(int, DraftTile&)> place = [&](int i, DraftTile& tile) {
        const ImageEntry& row = rows[static_cast<std::size_t>(i)];
        switch (placer.Place(row, tile)) {
        case RowOutcome::Written:
            ++result.written;
            failedInARow = 0;
            break;
        case RowOutcome::Failed:
            ++result.failed;
            ++failedInARow;
            break;
        case RowOutcome::NoFreeName:
            result.withoutFreeName << row.path;
            break;
        case RowOutcome::Skipped:
            break;
        }
        const int done = i + 1;
        if (rowDone) rowDone(done);
        if (failedInARow == kFailuresInARowToStop && done < result.rows) {
            result.notTried = result.rows - done;
            return false;
        }
        return true;
    };
    RunInOrder(result.rows, workers, draft, place);
    result.lastWritten = placer.LastWritten();
    return result;
}

bool ReportTileBatch(QObject* owner, const TileBatchResult& result) {
    if (result.failed > 0) {
        QString leading = ui_text::kTilesNotWrittenLine.toString()
                              .arg(FormatThousands(result.failed + result.notTried),
                                   FormatThousands(result.rows));
        if (result.notTried > 0)
            leading += ui_text::kTilesNotTriedLine.toString().arg(FormatThousands(result.notTried));
        ShowMessage(owner, leading, kMsgTileWriteFailed, kStyleStop);
        return false;
    }
    if (!result.withoutFreeName.isEmpty()) {
        const QString leading =
            ui_text::kNoFreeNameLine.toString().arg(FormatThousands(result.withoutFreeName.size()));
        ShowMessage(owner, leading, kMsgCreateFailed, kStyleStop);
    } else if (result.written == 0) {
        ShowMessage(owner, {}, kMsgCreateFailed, kStyleStop);
    }
    return result.written > 0;
}

}  // namespace tessaly
