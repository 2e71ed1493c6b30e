#include "document/cabinet.h"

#include <libgcab.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

#include "image/regular_file.h"
#include "image/safe_file.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

// Owning pointers for the GLib objects used here.
struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

struct GBytesUnref {
    void operator()(GBytes* bytes) const { g_bytes_unref(bytes); }
};

struct GDateTimeUnref {
    void operator()(GDateTime* time) const { g_date_time_unref(time); }
};

// File attributes kept in the cabinet: read-only, hidden, system, archive.
constexpr guint32 kAttributeMask = 0x27;
constexpr guint32 kAttributeReadOnly = 0x01;
constexpr guint32 kAttributeArchive = 0x20;

guint32 AttributesOf(const QFileInfo& info) {
    guint32 attributes = kAttributeArchive;
    if (!info.isWritable()) attributes |= kAttributeReadOnly;
    return attributes & kAttributeMask;
}

// The cabinet holding `data` as its one member, built in memory: the library
// never writes a file of its own, so no partial output of it can ever take a
// document's place.
std::optional<QByteArray> Compress(const QByteArray& data, const QString& memberName,
                                   const QDateTime& written, guint32 attributes) {
    const std::unique_ptr<GBytes, GBytesUnref> bytes(
        g_bytes_new_static(data.constData(), gsize(data.size())));
    GPtr<GCabFile> member(gcab_file_new_with_bytes(memberName.toUtf8().constData(), bytes.get()));
    const std::unique_ptr<GDateTime, GDateTimeUnref> date(
        g_date_time_new_from_unix_local(written.toSecsSinceEpoch()));
    gcab_file_set_date_time(member.get(), date.get());
    gcab_file_set_attributes(member.get(), attributes & kAttributeMask);

    GError* rawError = nullptr;
    GPtr<GCabFolder> folder(gcab_folder_new(GCAB_COMPRESSION_MSZIP));
    if (!gcab_folder_add_file(folder.get(), member.get(), FALSE, nullptr, &rawError)) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        return std::nullopt;
    }
    GPtr<GCabCabinet> cabinet(gcab_cabinet_new());
    if (!gcab_cabinet_add_folder(cabinet.get(), folder.get(), &rawError)) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        return std::nullopt;
    }

    GPtr<GOutputStream> output(g_memory_output_stream_new_resizable());
    const bool writtenOk = gcab_cabinet_write_simple(cabinet.get(), output.get(), nullptr,
                                                     nullptr, nullptr, &rawError);
    std::unique_ptr<GError, GErrorFree> writeError(rawError);
    rawError = nullptr;
    const bool closed = g_output_stream_close(output.get(), nullptr, &rawError);
    std::unique_ptr<GError, GErrorFree> closeError(rawError);
    if (!writtenOk || !closed) return std::nullopt;
    auto* memory = G_MEMORY_OUTPUT_STREAM(output.get());
    return QByteArray(static_cast<const char*>(g_memory_output_stream_get_data(memory)),
                      qsizetype(g_memory_output_stream_get_data_size(memory)));
}

}  // namespace

std::optional<QByteArray> CompressToCabinet(const QByteArray& data, const QString& memberName) {
    return Compress(data, memberName, QDateTime::currentDateTime(), kAttributeArchive);
}

bool CompressCabinet(const QString& sourcePath, const QString& memberName,
                     const QString& cabinetPath) {
    QFile source(sourcePath);
    if (OpenRegularFile(source)) {
        const QByteArray data = source.readAll();
        const QFileInfo info(sourcePath);
        const auto cabinet = Compress(data, memberName, info.lastModified(), AttributesOf(info));
        SafeFile file(cabinetPath);
        if (cabinet && data.size() == source.size() && file.open(QIODevice::WriteOnly) &&
            file.write(*cabinet) == cabinet->size() && file.Commit()) {
            return true;
        }
    }
    ShowMessage(kMsgNoWriteAccess, kStyleInformation);
    return false;
}

std::optional<CabinetMember> ReadCabinet(const QString& path) {
    std::optional<CabinetMember> member;
    QFile file(path);
    if (OpenRegularFile(file) && file.size() > 0) {
        // Mapped rather than read: the whole file is not copied first.
        if (const uchar* mapped = file.map(0, file.size())) {
            member = ReadCabinetMember(
                QByteArrayView(reinterpret_cast<const char*>(mapped), file.size()));
            file.unmap(const_cast<uchar*>(mapped));
        }
    }
    if (!member) {
        const QString leading =
            QDir::toNativeSeparators(path) + u'\n' + ui_text::kFileCopyLine.toString();
        ShowMessage(nullptr, leading, kMsgExtractFailed, kStyleStop);
    }
    return member;
}

}  // namespace tessaly
