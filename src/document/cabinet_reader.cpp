#include "document/cabinet_reader.h"

#include <zlib.h>

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>

namespace tessaly {
namespace {

// Header flags.
constexpr quint16 kPreviousCabinet = 0x0001;
constexpr quint16 kNextCabinet = 0x0002;
constexpr quint16 kReservePresent = 0x0004;
// Compression types (low four bits of a folder's type).
constexpr quint16 kCompressionNone = 0;
constexpr quint16 kCompressionMszip = 1;
// A member name in UTF-8 rather than the writer's code page.
constexpr quint16 kNameIsUtf8 = 0x80;
// MSZIP blocks start with "CK" and decompress to at most 32 KiB each.
constexpr int kMszipBlockMax = 32768;

// Little-endian fields read at a cursor, each checked against the end.
class Cursor {
public:
    Cursor(QByteArrayView data, qsizetype at) : data_(data), at_(at) {}

    bool Ok() const { return ok_; }
    qsizetype At() const { return at_; }

    template <typename T>
    T Read() {
        if (!Has(sizeof(T))) return T{};
        const T value = qFromLittleEndian<T>(data_.data() + at_);
        at_ += qsizetype(sizeof(T));
        return value;
    }

    QByteArrayView Take(qsizetype size) {
        if (!Has(size)) return {};
        const QByteArrayView part = data_.sliced(at_, size);
        at_ += size;
        return part;
    }

    void Skip(qsizetype size) { Take(size); }

    // A NUL-terminated string of at most 256 bytes.
    QByteArrayView String() {
        const qsizetype limit = std::min<qsizetype>(data_.size(), at_ + 257);
        for (qsizetype end = at_; end < limit; ++end) {
            if (data_[end] == '\0') {
                const QByteArrayView text = data_.sliced(at_, end - at_);
                at_ = end + 1;
                return text;
            }
        }
        ok_ = false;
        return {};
    }

private:
    bool Has(qsizetype size) {
        if (!ok_ || size < 0 || at_ > data_.size() - size) ok_ = false;
        return ok_;
    }

    QByteArrayView data_;
    qsizetype at_;
    bool ok_ = true;
};

struct Folder {
    quint32 dataStart;
    quint16 blockCount;
    quint16 compression;
};

struct Member {
    quint32 size;
    quint32 offset;  // within the uncompressed folder
    quint16 folder;
    quint16 attributes;
    QByteArrayView name;
};

// Makes room for `size` bytes, doubling as the data comes in: the room
// follows what was actually decompressed, never what a header claims.
void GrowFor(QByteArray& out, qsizetype size) {
    if (out.capacity() < size) out.reserve(std::max(2 * out.capacity(), size));
}

// Inflates MSZIP blocks one after the other; each block may refer back into
// the previous 32 KiB of output.
class MszipInflater {
public:
    MszipInflater() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~MszipInflater() {
        if (ok_) inflateEnd(&stream_);
    }
    MszipInflater(const MszipInflater&) = delete;
    MszipInflater& operator=(const MszipInflater&) = delete;

    // Appends the block's output (exactly `expected` bytes) to `out`.
    bool Inflate(QByteArrayView block, int expected, QByteArray& out) {
        if (!ok_ || block.size() < 2 || block[0] != 'C' || block[1] != 'K') return false;
        if (inflateReset(&stream_) != Z_OK) return false;
        const qsizetype history = std::min<qsizetype>(out.size(), kMszipBlockMax);
        if (history > 0 &&
            inflateSetDictionary(&stream_,
                                 reinterpret_cast<const Bytef*>(out.constData() + out.size() - history),
                                 static_cast<uInt>(history)) != Z_OK) {
            return false;
        }
        const qsizetype start = out.size();
        GrowFor(out, start + expected);
        out.resize(start + expected);
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.data() + 2));
        stream_.avail_in = static_cast<uInt>(block.size() - 2);
        stream_.next_out = reinterpret_cast<Bytef*>(out.data() + start);
        stream_.avail_out = static_cast<uInt>(expected);
        const int result = inflate(&stream_, Z_FINISH);
        return result == Z_STREAM_END && stream_.avail_out == 0;
    }

private:
    z_stream stream_{};
    bool ok_ = false;
};

// The data-block checksum: the block's bytes as little-endian 32-bit words,
// a last partial word taken with its first byte highest, all XORed onto
// `seed`.
quint32 BlockChecksum(QByteArrayView bytes, quint32 seed) {
    quint32 sum = seed;
    const qsizetype whole = bytes.size() / 4 * 4;
    for (qsizetype i = 0; i < whole; i += 4) sum ^= qFromLittleEndian<quint32>(bytes.data() + i);
    quint32 rest = 0;
    for (qsizetype i = whole; i < bytes.size(); ++i) {
        rest = (rest << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return sum ^ rest;
}

// Whether a block's stored checksum matches it; 0 means none was written.
// The sum covers the data, then the two size fields. Writers disagree on
// whether a data reserve is summed as well; either way is accepted.
bool ChecksumHolds(quint32 stored, QByteArrayView sizes, QByteArrayView reserve,
                   QByteArrayView data) {
    if (stored == 0) return true;
    const quint32 overData = BlockChecksum(data, 0);
    if (BlockChecksum(sizes, overData) == stored) return true;
    return !reserve.isEmpty() && BlockChecksum(sizes, BlockChecksum(reserve, overData)) == stored;
}

// The uncompressed bytes of `folder` up to `needed`, or nothing.
std::optional<QByteArray> ReadFolder(QByteArrayView cabinet, const Folder& folder,
                                     quint8 dataReserve, qint64 needed) {
    const quint16 type = folder.compression & 0x000F;
    if (type != kCompressionNone && type != kCompressionMszip) return std::nullopt;
    MszipInflater inflater;
    QByteArray out;
    // Documents compress little (their pictures are JPEG): room for a few
    // times the compressed bytes avoids most regrowing without trusting the
    // sizes the header declares.
    const qint64 present = std::max<qint64>(0, cabinet.size() - qint64(folder.dataStart));
    out.reserve(std::min<qint64>(needed, 4 * present + kMszipBlockMax));
    Cursor at(cabinet, folder.dataStart);
    for (int block = 0; block < folder.blockCount && out.size() < needed; ++block) {
        const quint32 checksum = at.Read<quint32>();
        const qsizetype sizesAt = at.At();
        const quint16 packed = at.Read<quint16>();
        const quint16 unpacked = at.Read<quint16>();
        const QByteArrayView reserve = at.Take(dataReserve);
        const QByteArrayView data = at.Take(packed);
        if (!at.Ok() || unpacked > kMszipBlockMax) return std::nullopt;
        if (!ChecksumHolds(checksum, cabinet.sliced(sizesAt, 4), reserve, data)) {
            return std::nullopt;
        }
        if (type == kCompressionNone) {
            if (packed != unpacked) return std::nullopt;
            GrowFor(out, out.size() + data.size());
            out.append(data.data(), data.size());
        } else if (!inflater.Inflate(data, unpacked, out)) {
            return std::nullopt;
        }
    }
    if (out.size() < needed) return std::nullopt;
    return out;
}

QString MemberName(const Member& member) {
    if (member.attributes & kNameIsUtf8) return QString::fromUtf8(member.name);
    return QString::fromLatin1(member.name);
}

}  // namespace

std::optional<CabinetMember> ReadCabinetMember(QByteArrayView cabinet) {
    Cursor header(cabinet, 0);
    if (header.Take(4) != QByteArrayView("MSCF")) return std::nullopt;
    header.Skip(4 + 4 + 4);                     // reserved, cabinet size, reserved
    const quint32 filesStart = header.Read<quint32>();
    header.Skip(4 + 2);                         // reserved, version
    const quint16 folderCount = header.Read<quint16>();
    const quint16 fileCount = header.Read<quint16>();
    const quint16 flags = header.Read<quint16>();
    header.Skip(2 + 2);                         // set id, cabinet number
    quint16 headerReserve = 0;
    quint8 folderReserve = 0;
    quint8 dataReserve = 0;
    if (flags & kReservePresent) {
        headerReserve = header.Read<quint16>();
        folderReserve = header.Read<quint8>();
        dataReserve = header.Read<quint8>();
        header.Skip(headerReserve);
    }
    // A document is one cabinet: a set spread over several is not one.
    if (flags & (kPreviousCabinet | kNextCabinet)) return std::nullopt;
    if (!header.Ok() || folderCount == 0 || fileCount == 0) return std::nullopt;

    std::vector<Folder> folders;
    for (int i = 0; i < folderCount; ++i) {
        Folder folder{};
        folder.dataStart = header.Read<quint32>();
        folder.blockCount = header.Read<quint16>();
        folder.compression = header.Read<quint16>();
        header.Skip(folderReserve);
        folders.push_back(folder);
    }
    if (!header.Ok()) return std::nullopt;

    Cursor files(cabinet, filesStart);
    Member last{};
    for (int i = 0; i < fileCount; ++i) {
        last.size = files.Read<quint32>();
        last.offset = files.Read<quint32>();
        last.folder = files.Read<quint16>();
        files.Skip(2 + 2);  // date, time
        last.attributes = files.Read<quint16>();
        last.name = files.String();
    }
    // Folder indexes from 0xFFFD up continue a member from or into another cabinet.
    const qint64 end = qint64(last.offset) + last.size;
    if (!files.Ok() || last.folder >= folders.size() || end > kMaxMemberBytes) return std::nullopt;

    auto data = ReadFolder(cabinet, folders[last.folder], dataReserve, end);
    if (!data) return std::nullopt;
    data->truncate(end);
    data->remove(0, last.offset);
    return CabinetMember{MemberName(last), *std::move(data)};
}

}  // namespace tessaly
