#include "mosaic/tile_batch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>

#include "image/image_files.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"
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

// Writes the tiles of one batch, one source at a time, each decoded, scaled
// once and let go before the next.
class TileWriter {
public:
    TileWriter(const TileBatchSettings& settings, const QString& folder, int nameCandidates)
        : settings_(settings),
          folder_(folder),
          nameCandidates_(nameCandidates),
          numbered_(settings.naming == TileNaming::SequenceNumbers),
          sequence_(numbered_ ? NextSequenceNumber(folder) : 0) {}

    // Writes the tile beside its final name, then gives it that name.
    RowOutcome Write(const ImageEntry& row) {
        const QString sourceName = SourceBaseName(row.path);
        if (sourceName.isEmpty()) return RowOutcome::Skipped;
        const LoadedPicture loaded = LoadImageFile(row.path, row.type);
        if (!loaded.picture) return RowOutcome::Skipped;
        const QString base = numbered_ ? SequenceName(sequence_++) : sourceName;
        const QString type = TileTypeOf(settings_.fileType, row.type);
        const QSize size = ShrunkSize(loaded.size, QSize(settings_.width, settings_.height),
                                      settings_.method);
        const QString partial = NewPartialTile(folder_);
        if (partial.isEmpty()) return RowOutcome::Failed;
        if (!SaveScaledPicture(*loaded.picture, size.width(), size.height(), partial, type)) {
            QFile::remove(partial);
            return RowOutcome::Failed;
        }
        const PlacedTileFile placed = PlaceTileFile(partial, folder_, base, type, nameCandidates_);
        if (placed.path.isEmpty()) {
            QFile::remove(partial);
            return placed.allTaken ? RowOutcome::NoFreeName : RowOutcome::Failed;
        }
        lastWritten_ = placed.path;
        return RowOutcome::Written;
    }

    const QString& LastWritten() const { return lastWritten_; }

private:
    const TileBatchSettings& settings_;
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
                                const std::function<void(int)>& rowDone, int nameCandidates) {
    RemoveStalePartialTiles(folder, kStalePartialTileAge);
    TileWriter writer(settings, folder, nameCandidates);
    TileBatchResult result;
    result.rows = static_cast<int>(rows.size());
    int failedInARow = 0;
    int done = 0;
    for (const ImageEntry& row : rows) {
        if (failedInARow == kFailuresInARowToStop) {
            result.notTried = result.rows - done;
            break;
        }
        switch (writer.Write(row)) {
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
        ++done;
        if (rowDone) rowDone(done);
    }
    result.lastWritten = writer.LastWritten();
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
