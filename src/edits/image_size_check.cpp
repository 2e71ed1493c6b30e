#include "edits/image_size_check.h"

#include "document/edited_document.h"
#include "image/image_files.h"
#include "resources/string_table.h"
#include "services/environment_settings.h"
#include "services/message_service.h"
#include "services/status_service.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

constexpr QStringView kResizingText = u"ただ今サイズ調整中です。このまま、お待ちください...";

bool IsOversized(QSize size, QSize maximum) {
    return size.width() > maximum.width() || size.height() > maximum.height();
}

const ImageBlob* PictureOf(const Document& doc, int node) {
    return doc.Picture(doc.Node(node).picture);
}

}  // namespace

QSize PhotomosaicMaximumSize() { return StoredShrinkSize(); }

bool HasOversizedPicture(const Document& doc, QSize maximum) {
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        const ImageBlob* picture = PictureOf(doc, i);
        if (picture && IsOversized(picture->PixelSize(), maximum)) return true;
    }
    return false;
}

int ShrinkOversizedPictures(EditedDocument& edited, QSize maximum) {
    WaitCursor wait;
    EditScope edit(edited, SnapshotRule::None);
    Document& doc = edit.Doc();
    const int count = doc.State().nodeCount;
    StatusProgress progress(count);
    SetStatusInfo(kResizingText.toString());
    int resized = 0;
    for (int i = 0; i < count; ++i) {
        const ImageBlob* picture = PictureOf(doc, i);
        if (picture && IsOversized(picture->PixelSize(), maximum)) {
            // ResizePicture hands back the old picture when it fails.
            ImageBlob result = ResizePicture(*picture, maximum.width(), maximum.height());
            if (result.PixelSize() == maximum) {
                NodeRecord& node = doc.Node(i);
                doc.Pictures().Release(node.picture);
                node.picture = doc.Pictures().Adopt(std::move(result));
                node.halfWidth = maximum.width() / 2;
                node.halfHeight = maximum.height() / 2;
                ++resized;
            }
        }
        progress.SetPos(i);
    }
    SetStatusInfo({});
    edit.Commit(resized > 0);
    return resized;
}

void CheckImageSizes(EditedDocument& edited, QObject* owner) {
    if (edited.Doc().State().nodeCount == 0) return;
    const QSize maximum = PhotomosaicMaximumSize();
    if (!HasOversizedPicture(edited.Doc(), maximum)) {
        ShowMessage(owner, {}, kMsgNothingToAdjust, kStyleInformation);
        return;
    }
    const QString leading =
        ui_text::kMaximumSizeLine.toString().arg(maximum.width()).arg(maximum.height());
    if (ShowMessage(owner, leading, kMsgOversizedImages, kStyleYesNo) != kResultYes) return;
    ShrinkOversizedPictures(edited, maximum);
}

}  // namespace tessaly
