#include "document/cabinet.h"

#include <libgcab.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

#include "app/services/message_service.h"
#include "resources/string_table.h"

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

GFile* FileFor(const QString& path) {
    return g_file_new_for_path(QFile::encodeName(path).constData());
}

bool Compress(const QString& sourcePath, const QString& memberName, const QString& cabinetPath) {
    const QFileInfo source(sourcePath);
    if (!source.isFile()) return false;

    GPtr<GFile> input(FileFor(sourcePath));
    GPtr<GCabFile> member(gcab_file_new_with_file(memberName.toUtf8().constData(), input.get()));
    const std::unique_ptr<GDateTime, GDateTimeUnref> written(
        g_date_time_new_from_unix_local(source.lastModified().toSecsSinceEpoch()));
    gcab_file_set_date_time(member.get(), written.get());
    gcab_file_set_attributes(member.get(), AttributesOf(source));

    GError* rawError = nullptr;
    GPtr<GCabFolder> folder(gcab_folder_new(GCAB_COMPRESSION_MSZIP));
    if (!gcab_folder_add_file(folder.get(), member.get(), FALSE, nullptr, &rawError)) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        return false;
    }
    GPtr<GCabCabinet> cabinet(gcab_cabinet_new());
    if (!gcab_cabinet_add_folder(cabinet.get(), folder.get(), &rawError)) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        return false;
    }

    GPtr<GFile> target(FileFor(cabinetPath));
    GPtr<GFileOutputStream> output(g_file_replace(target.get(), nullptr, FALSE,
                                                  G_FILE_CREATE_REPLACE_DESTINATION, nullptr,
                                                  &rawError));
    if (!output) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        return false;
    }
    const bool writtenOk =
        gcab_cabinet_write_simple(cabinet.get(), G_OUTPUT_STREAM(output.get()), nullptr, nullptr,
                                  nullptr, &rawError);
    std::unique_ptr<GError, GErrorFree> writeError(rawError);
    rawError = nullptr;
    const bool closed = g_output_stream_close(G_OUTPUT_STREAM(output.get()), nullptr, &rawError);
    std::unique_ptr<GError, GErrorFree> closeError(rawError);
    return writtenOk && closed;
}

// What the extraction learns about the members as it goes.
struct ExtractionState {
    QString lastMember;
    bool refused = false;
};

gboolean AcceptMember(GCabFile* file, gpointer data) {
    auto* state = static_cast<ExtractionState*>(data);
    const auto name = SafeMemberFileName(QString::fromUtf8(gcab_file_get_name(file)));
    if (!name || qint64(gcab_file_get_size(file)) > kMaxMemberBytes) {
        state->refused = true;
        return FALSE;
    }
    gcab_file_set_extract_name(file, name->toUtf8().constData());
    state->lastMember = *name;
    return TRUE;
}

std::optional<QString> Extract(const QString& cabinetPath, const QString& destinationFolder) {
    GError* rawError = nullptr;
    GPtr<GFile> source(FileFor(cabinetPath));
    GPtr<GFileInputStream> input(g_file_read(source.get(), nullptr, &rawError));
    if (!input) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        return std::nullopt;
    }
    GPtr<GCabCabinet> cabinet(gcab_cabinet_new());
    if (!gcab_cabinet_load(cabinet.get(), G_INPUT_STREAM(input.get()), nullptr, &rawError)) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        return std::nullopt;
    }
    // Refuse the whole cabinet before writing anything if any member is unsafe.
    ExtractionState check;
    GPtrArray* folders = gcab_cabinet_get_folders(cabinet.get());
    for (guint i = 0; folders && i < folders->len; ++i) {
        auto* folder = static_cast<GCabFolder*>(g_ptr_array_index(folders, i));
        GSList* files = gcab_folder_get_files(folder);
        for (GSList* f = files; f; f = f->next) AcceptMember(static_cast<GCabFile*>(f->data), &check);
        g_slist_free(files);
    }
    if (check.refused || check.lastMember.isEmpty()) return std::nullopt;

    ExtractionState state;
    GPtr<GFile> destination(FileFor(destinationFolder));
    if (!gcab_cabinet_extract_simple(cabinet.get(), destination.get(), AcceptMember, &state,
                                     nullptr, &rawError)) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        return std::nullopt;
    }
    if (state.refused || state.lastMember.isEmpty()) return std::nullopt;
    return state.lastMember;
}

}  // namespace

std::optional<QString> SafeMemberFileName(const QString& memberName) {
    // Cabinets separate folders with backslashes; some tools write slashes.
    const qsizetype cut = std::max(memberName.lastIndexOf(u'\\'), memberName.lastIndexOf(u'/'));
    const QString name = memberName.mid(cut + 1);
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(QChar(0))) {
        return std::nullopt;
    }
    return name;
}

bool CompressCabinet(const QString& sourcePath, const QString& memberName,
                     const QString& cabinetPath) {
    if (Compress(sourcePath, memberName, cabinetPath)) return true;
    ShowMessage(kMsgNoWriteAccess, kStyleInformation);
    return false;
}

std::optional<QString> ExtractCabinet(const QString& cabinetPath,
                                      const QString& destinationFolder) {
    auto member = Extract(cabinetPath, destinationFolder);
    if (!member) {
        ShowMessage(nullptr, ui_text::kFileCopyLine.toString(), kMsgExtractFailed, kStyleStop);
    }
    return member;
}

}  // namespace tessaly
