#include "mosaic/tile_batch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>

#include "image/image_files.h"
#include "services/settings.h"

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

    void Write(const ImageEntry& row) {
        const QString sourceName = SourceBaseName(row.path);
        if (sourceName.isEmpty()) return;
        const LoadedPicture loaded = LoadImageFile(row.path, row.type);
        if (!loaded.picture) return;
        const QString base = numbered_ ? SequenceName(sequence_++) : sourceName;
        const QString type = TileTypeOf(settings_.fileType, row.type);
        const ReservedTileFile file = ReserveTileFile(folder_, base, type, nameCandidates_);
        if (file.allTaken) result.withoutFreeName << row.path;
        if (file.path.isEmpty()) return;
        const QSize size = ShrunkSize(loaded.size, QSize(settings_.width, settings_.height),
                                      settings_.method);
        if (!SaveScaledPicture(*loaded.picture, size.width(), size.height(), file.path, type)) {
            QFile::remove(file.path);  // the empty file reserved above
            return;
        }
        ++result.written;
        result.lastWritten = file.path;
    }

    TileBatchResult result;

private:
    const TileBatchSettings& settings_;
    const QString folder_;
    const int nameCandidates_;
    const bool numbered_;
    qint64 sequence_;
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
    TileWriter writer(settings, folder, nameCandidates);
    int done = 0;
    for (const ImageEntry& row : rows) {
        writer.Write(row);
        if (rowDone) rowDone(++done);
    }
    return writer.result;
}

}  // namespace tessaly
