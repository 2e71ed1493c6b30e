#include "edits/node_image_files.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include "edits/saved_file_prompts.h"
#include "edits/selected_nodes.h"
#include "document/document.h"
#include "image/image_files.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

constexpr int kSavedQuality = 100;

// The picture upright at its own pixel size; null when it cannot be decoded.
QImage PicturePixels(const ImageBlob& picture) {
    const QSize size = picture.PixelSize();
    QImage pixels = picture.Decode();
    if (pixels.isNull() || size.isEmpty() || pixels.size() == size) return pixels;
    return pixels.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

bool ChangeNodeImage(const Document& doc, const ChooseFile& choose,
                     const ReplaceWithFile& replace) {
    if (!HasMainSelection(doc)) return false;
    const QString path = choose();
    if (path.isEmpty() || !QFileInfo::exists(path)) return false;
    const QString type = ImageTypeOf(path);
    if (type.isEmpty()) return false;
    return replace(doc.State().mainSelection, path, type);
}

bool SaveNodeImage(const Document& doc, const ChooseFile& choose, QObject* owner) {
    if (!HasMainSelection(doc)) return false;
    const ImageBlob* picture = doc.Picture(doc.Node(doc.State().mainSelection).picture);
    if (picture == nullptr) return false;
    const QString path = choose();
    if (path.isEmpty()) return false;
    const auto format = OutputFormat::ForTypeName(ImageTypeOf(path), kSavedQuality);
    if (!format) return false;
    if (!ConfirmOverwrite(path, owner)) return false;
    const QImage pixels = PicturePixels(*picture);
    if (pixels.isNull()) return false;

    bool written = false;
    {
        const WaitCursor wait;
        written = SaveBitmapFile(pixels, path, pixels.width(), pixels.height(), *format, false);
    }
    if (!written) {
        ShowMessage(owner, QDir::toNativeSeparators(path) + u'\n', kMsgFileSaveFailed, kStyleStop);
        return false;
    }
    OfferToShowSavedFile(path, owner);
    return true;
}

}  // namespace tessaly
