// Feeds arbitrary bytes to the cabinet reader, as a downloaded or damaged .tsd
// would. Besides the sanitizers, it checks:
//  - the member read from memory and the one read from the file agree;
//  - a member never exceeds the size limit;
//  - reading writes nothing: afterwards the private temporary folder holds
//    the input file and nothing else;
//  - where libgcab (the library the program writes cabinets with) also reads
//    a plain one-member cabinet, both give the same bytes (and the same name,
//    when it is plain ASCII).
#include <libgcab.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "document/cabinet.h"
#include "document/cabinet_reader.h"
#include "fuzz_support.h"

using namespace tessaly;

namespace {

QString g_input;  // the input, written as a file

template <typename T>
struct GObjectDeleter {
    void operator()(T* object) const { g_object_unref(object); }
};
template <typename T>
using GOwned = std::unique_ptr<T, GObjectDeleter<T>>;

struct ErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};

bool IsPlainAscii(const QString& name) {
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E || c == u'/' || c == u'\\') return false;
    }
    return true;
}

// The member libgcab reads from a cabinet of one folder holding one file,
// uncompressed or MSZIP; nothing when it refuses or the cabinet is another kind.
std::optional<CabinetMember> ReadWithGcab(QByteArrayView cabinet) {
    GOwned<GInputStream> input(g_memory_input_stream_new_from_data(
        cabinet.data(), static_cast<gssize>(cabinet.size()), nullptr));
    GOwned<GCabCabinet> cab(gcab_cabinet_new());
    GError* rawError = nullptr;
    if (!gcab_cabinet_load(cab.get(), input.get(), nullptr, &rawError)) {
        std::unique_ptr<GError, ErrorDeleter> error(rawError);
        return std::nullopt;
    }
    GPtrArray* folders = gcab_cabinet_get_folders(cab.get());
    if (!folders || folders->len != 1) return std::nullopt;
    auto* folder = static_cast<GCabFolder*>(g_ptr_array_index(folders, 0));
    const int compression = gcab_folder_get_comptype(folder);
    if (compression != GCAB_COMPRESSION_NONE && compression != GCAB_COMPRESSION_MSZIP) {
        return std::nullopt;
    }
    GSList* files = gcab_folder_get_files(folder);
    const bool single = files && !files->next;
    GCabFile* file = single ? static_cast<GCabFile*>(files->data) : nullptr;
    g_slist_free(files);
    if (!file) return std::nullopt;
    // Without a folder libgcab extracts into memory, onto the file object.
    if (!gcab_cabinet_extract(cab.get(), nullptr, nullptr, nullptr, nullptr, nullptr, &rawError)) {
        std::unique_ptr<GError, ErrorDeleter> error(rawError);
        return std::nullopt;
    }
    GBytes* bytes = gcab_file_get_bytes(file);
    if (!bytes) return std::nullopt;
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    return CabinetMember{QString::fromLatin1(gcab_file_get_name(file)),
                         QByteArray(data, static_cast<qsizetype>(size))};
}

// libgcab reads the file entries right after the folder entries, whatever the
// header says their offset is; only where the two agree (as with every writer)
// do both readers look at the same entries.
bool FilesFollowFolders(QByteArrayView cabinet) {
    auto u8 = [&](qsizetype at) { return quint32(quint8(cabinet[at])); };
    auto u16 = [&](qsizetype at) { return u8(at) | u8(at + 1) << 8; };
    if (cabinet.size() < 40) return false;
    const quint32 filesStart = u16(16) | u16(18) << 16;
    const quint32 folderCount = u16(26);
    const bool reserves = u16(30) & 0x0004;
    const quint32 foldersStart = reserves ? 36 + 4 + u16(36) : 36;
    const quint32 folderSize = 8 + (reserves ? u8(38) : 0);
    return filesStart == foldersStart + folderCount * folderSize;
}

void CompareWithGcab(QByteArrayView cabinet, const CabinetMember& ours) {
    if (!FilesFollowFolders(cabinet)) return;
    const auto theirs = ReadWithGcab(cabinet);
    if (!theirs) return;
    if (theirs->data != ours.data) {
        fuzz::FuzzFailure("the member differs from what libgcab reads",
                          QStringLiteral("%1 bytes here, %2 there")
                              .arg(ours.data.size())
                              .arg(theirs->data.size()));
    }
    if (IsPlainAscii(ours.name) && theirs->name != ours.name) {
        fuzz::FuzzFailure("the member name differs from what libgcab reads",
                          ours.name + QStringLiteral(" / ") + theirs->name);
    }
}

void CheckNothingWritten() {
    QDirIterator it(fuzz::FuzzTempRoot(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path != g_input && path != fuzz::FuzzRuntimeFolder()) {
            fuzz::FuzzFailure("reading a cabinet left something on disk", path);
        }
    }
}

bool Same(const std::optional<CabinetMember>& a, const std::optional<CabinetMember>& b) {
    if (bool(a) != bool(b)) return false;
    return !a || (a->name == b->name && a->data == b->data);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::InitializeFuzzEnvironment(argc, argv);
    // Our reader ignores data checksums (damage shows in the data itself);
    // libgcab is told to do the same, so that both read the same damaged files.
    setenv("GCAB_SKIP_CHECKSUM", "1", 1);
    g_input = QDir(fuzz::FuzzTempRoot()).filePath(QStringLiteral("input.tsd"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Straight on libFuzzer's buffer, so that any read past the end is caught.
    const QByteArrayView cabinet(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<CabinetMember> member = ReadCabinetMember(cabinet);
    if (member && member->data.size() > kMaxMemberBytes) {
        fuzz::FuzzFailure("a member above the size limit was read",
                          QString::number(member->data.size()));
    }

    {
        QFile file(g_input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(cabinet.data(), cabinet.size()) != cabinet.size()) {
            fuzz::FuzzFailure("cannot write the input cabinet", g_input);
        }
    }
    if (!Same(member, ReadCabinet(g_input))) {
        fuzz::FuzzFailure("the cabinet file reads differently from its bytes");
    }
    CheckNothingWritten();

    if (member) CompareWithGcab(cabinet, *member);
    return 0;
}
