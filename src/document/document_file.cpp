#include "document/document_file.h"

#include <QFile>
#include <QIODevice>
#include <QtEndian>
#include <cstring>
#include <optional>
#include <vector>

#include "document/document.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/status_service.h"

namespace tessaly {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "the settings block and records are stored as they lie in memory, little-endian");

namespace {

// What a stored picture field holds: only zero or non-zero has a meaning,
// and a fixed marker keeps saved files free of memory addresses.
constexpr PictureRef kStoredPictureMarker{1};

constexpr QStringView kSavingText = u"ただ今保存中です。このまま、お待ちください...";
constexpr QStringView kLoadingText = u"ただ今読込み中です。このまま、お待ちください...";

// The status-bar text of a long read or write, cleared however it ends.
class InfoTextScope {
public:
    InfoTextScope(bool quiet, QStringView text) : quiet_(quiet) {
        if (!quiet_) SetStatusInfo(text.toString());
    }
    ~InfoTextScope() {
        if (!quiet_) SetStatusInfo({});
    }
    InfoTextScope(const InfoTextScope&) = delete;
    InfoTextScope& operator=(const InfoTextScope&) = delete;

private:
    bool quiet_;
};

// Appends to the inner file being composed in memory.
void Append(QByteArray& out, const void* data, qsizetype size) {
    out.append(static_cast<const char*>(data), size);
}

void AppendBigEndian32(QByteArray& out, quint32 value) {
    const quint32 big = qToBigEndian(value);
    Append(out, &big, sizeof big);
}

void AppendBlob(QByteArray& out, const ImageBlob& picture) {
    AppendBigEndian32(out, static_cast<quint32>(picture.Encoded().size()));
    out.append(picture.Encoded());
}

PictureRef StoredRef(const Document& doc, PictureRef ref) {
    return doc.Picture(ref) ? kStoredPictureMarker : PictureRef{};
}

// Reads the file's bytes front to back, refusing to take more than they hold.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView data) : data_(data) {}

    qsizetype Remaining() const { return data_.size() - at_; }

    bool Read(void* into, qint64 size) {
        if (size < 0 || size > Remaining()) return false;
        if (size == 0) return true;
        std::memcpy(into, data_.data() + at_, static_cast<std::size_t>(size));
        at_ += size;
        return true;
    }

    std::optional<quint32> ReadBigEndian32() {
        quint32 big = 0;
        if (!Read(&big, sizeof big)) return std::nullopt;
        return qFromBigEndian(big);
    }

    // A length-prefixed picture. Nothing at all when the length runs past the
    // end; a present but empty optional when the bytes are no picture.
    std::optional<std::optional<ImageBlob>> ReadBlob() {
        const auto length = ReadBigEndian32();
        if (!length || *length > quint64(Remaining())) return std::nullopt;
        QByteArray bytes(data_.data() + at_, qsizetype(*length));
        at_ += qsizetype(*length);
        return ImageBlob::FromEncoded(std::move(bytes));
    }

private:
    QByteArrayView data_;
    qsizetype at_ = 0;
};

// Everything a document file holds, read in full before the document is touched.
struct FileContent {
    DocState state{};
    std::optional<ImageBlob> background;
    std::vector<NodeRecord> records;
    std::vector<std::optional<ImageBlob>> pictures;
};

bool FailFormat() {
    ShowMessage(kMsgWrongFileFormat, kStyleStop);
    return false;
}

bool ReadHeader(ByteReader& in) {
    char header[kDocHeaderSize];
    if (!in.Read(header, sizeof header) || std::memcmp(header, "TSD", 3) != 0) return FailFormat();
    if (std::memcmp(header + 6, kDocPointerWidth, 2) != 0) {
        ShowMessage(kMsgPointerWidthMismatch, kStyleStop);
        return false;
    }
    const QByteArray version(header + 3, 3);
    if (version != "001" && version != "002") {
        ShowMessage(nullptr, QStringLiteral("ver %1\n").arg(QString::fromLatin1(version)),
                    kMsgUnsupportedVersion, kStyleStop);
        return false;
    }
    return true;
}

bool ReadContent(ByteReader& in, FileContent& content, bool quiet) {
    if (!ReadHeader(in)) return false;
    if (!in.Read(&content.state, sizeof content.state)) return FailFormat();

    if (content.state.backPicture) {
        auto blob = in.ReadBlob();
        if (!blob) return FailFormat();
        content.background = std::move(*blob);
    }

    const auto count = in.ReadBigEndian32();
    if (!count) return FailFormat();
    if (*count > quint32(kMaxNodes)) {
        ShowMessage(nullptr, QStringLiteral("%1 > %2\n").arg(*count).arg(kMaxNodes),
                    kMsgMaxImageCountExceeded, kStyleStop);
        return false;
    }
    const int n = static_cast<int>(*count);
    content.records.resize(static_cast<std::size_t>(n));
    if (!in.Read(content.records.data(), qint64(n) * qint64(sizeof(NodeRecord)))) {
        return FailFormat();
    }

    InfoTextScope info(quiet, kLoadingText);
    StatusProgress progress(n);
    content.pictures.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (content.records[static_cast<std::size_t>(i)].picture) {
            auto blob = in.ReadBlob();
            if (!blob) return FailFormat();
            content.pictures[static_cast<std::size_t>(i)] = std::move(*blob);
        }
        progress.SetPos(i);
    }
    return true;
}

// Replaces the document with what was read. The pictures of the file become
// the document's; the stored picture values are never used.
void Adopt(FileContent& content, Document& doc) {
    doc.ReleaseAllPictures();
    if (!doc.HasTables() && !doc.AllocateNodeTables()) {
        ApplyNewDocumentValues(doc.State());
        return;
    }
    DocState& state = doc.State();
    state = content.state;
    ClampToValidRanges(state);
    state.backPicture = content.background ? doc.Pictures().Adopt(std::move(*content.background))
                                           : PictureRef{};
    const int n = static_cast<int>(content.records.size());
    state.nodeCount = n;
    for (int i = 0; i < n; ++i) {
        NodeRecord& record = doc.Node(i);
        record = content.records[static_cast<std::size_t>(i)];
        auto& picture = content.pictures[static_cast<std::size_t>(i)];
        record.picture = picture ? doc.Pictures().Adopt(std::move(*picture)) : PictureRef{};
        doc.Mark(i) = NodeMark{};
    }
}

}  // namespace

QByteArray ComposeDocumentFile(const Document& doc, bool quiet) {
    const int n = doc.HasTables() ? doc.State().nodeCount : 0;
    DocState state = doc.State();
    const ImageBlob* background = doc.Picture(state.backPicture);
    state.backPicture = StoredRef(doc, state.backPicture);

    qsizetype total = kDocHeaderSize + qsizetype(sizeof state) + 4 + qsizetype(n) * 120;
    if (background) total += 4 + background->Encoded().size();
    for (int i = 0; i < n; ++i) {
        if (const ImageBlob* picture = doc.Picture(doc.Node(i).picture)) {
            total += 4 + picture->Encoded().size();
        }
    }
    QByteArray out;
    out.reserve(total);

    char header[kDocHeaderSize];
    std::memcpy(header, kDocHeaderTemplate, kDocHeaderSize);
    std::memcpy(header + 6, kDocPointerWidth, 2);
    Append(out, header, kDocHeaderSize);
    Append(out, &state, sizeof state);
    if (background) AppendBlob(out, *background);

    AppendBigEndian32(out, static_cast<quint32>(n));
    for (int i = 0; i < n; ++i) {
        NodeRecord record = doc.Node(i);
        record.picture = StoredRef(doc, record.picture);
        Append(out, &record, sizeof record);
    }

    StatusProgress progress(n);
    InfoTextScope info(quiet, kSavingText);
    for (int i = 0; i < n; ++i) {
        if (const ImageBlob* picture = doc.Picture(doc.Node(i).picture)) AppendBlob(out, *picture);
        progress.SetPos(i);
    }
    return out;
}

bool WriteDocumentFile(QIODevice& file, const Document& doc, bool quiet) {
    const QByteArray bytes = ComposeDocumentFile(doc, quiet);
    return file.write(bytes) == bytes.size();
}

bool ReadDocumentBytes(QByteArrayView bytes, Document& doc, bool quiet) {
    ByteReader in(bytes);
    FileContent content;
    if (!ReadContent(in, content, quiet)) return false;
    Adopt(content, doc);
    return true;
}

bool ReadDocumentFile(QIODevice& file, Document& doc, bool quiet) {
    // A file is mapped rather than read: no copy and no system call per node.
    if (auto* plain = qobject_cast<QFile*>(&file)) {
        const qint64 from = plain->pos();
        const qint64 length = plain->size() - from;
        if (length > 0) {
            if (uchar* mapped = plain->map(from, length)) {
                const bool read = ReadDocumentBytes(
                    QByteArrayView(reinterpret_cast<const char*>(mapped), length), doc, quiet);
                plain->unmap(mapped);
                return read;
            }
        }
    }
    return ReadDocumentBytes(file.readAll(), doc, quiet);
}

}  // namespace tessaly
