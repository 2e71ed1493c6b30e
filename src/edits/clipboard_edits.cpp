#include "edits/clipboard_edits.h"

#include <new>
#include <vector>

#include "canvas/canvas_image.h"
#include "canvas/node_append.h"
#include "canvas/selection.h"
#include "canvas/view_geometry.h"
#include "edits/image_edits.h"
#include "document/edited_document.h"
#include "image/image_files.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/clipboard.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

// One copied node for other programs: its picture at the size the view shows
// it. Null when it has no picture or no size.
QImage ShownNodePicture(const Document& doc, int node) {
    const NodeRecord& record = doc.Node(node);
    const ImageBlob* picture = doc.Picture(record.picture);
    if (picture == nullptr) return {};
    const float zoom = doc.State().zoom;
    const QSize shown(CanvasToView(zoom, record.Width()), CanvasToView(zoom, record.Height()));
    if (shown.isEmpty()) return {};
    const QImage pixels = picture->DecodeForSize(shown);
    if (pixels.isNull()) return {};
    return pixels.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Several copied nodes for other programs: the canvas under their union at
// 100 %, with whatever else is drawn there.
QImage CanvasUnderNodes(const Document& doc, const std::vector<int>& nodes, bool backgroundOnly) {
    IntRect area;
    for (const int i : nodes) {
        const NodeRecord& r = doc.Node(i);
        area = area.United({r.Left(), r.Top(), r.centerX + r.halfWidth, r.centerY + r.halfHeight});
    }
    CanvasImageRequest request;
    request.zoom = 1.0f;
    request.viewMarks = false;
    request.backgroundOnly = backgroundOnly;
    request.area = area;
    return RenderCanvasImage(doc, request);
}

bool FillStore(const Document& doc, const std::vector<int>& nodes, CopyStore& store) {
    store.Clear();
    try {
        store.nodes.reserve(nodes.size());
    } catch (const std::bad_alloc&) {
        store.Clear();
        return false;
    }
    for (const int i : nodes) {
        StoredNode& stored = store.nodes.emplace_back();
        stored.record = doc.Node(i);
        stored.record.picture = {};
        stored.mark = doc.Mark(i);
        if (const ImageBlob* picture = doc.Picture(doc.Node(i).picture)) stored.picture = *picture;
    }
    return true;
}

}  // namespace

bool CopyNodes(const Document& doc, const CopyRequest& request, CopyStore& store,
               Clipboard& clipboard) {
    if (doc.State().mainSelection == -1) return false;
    std::vector<int> nodes;
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        if (doc.IsSelected(i)) nodes.push_back(i);
    }
    if (nodes.empty() || !FillStore(doc, nodes, store)) {
        ShowMessage(kMsgCopyFailed, kStyleStop);
        return false;
    }
    store.origin = request.origin;
    const QImage picture = nodes.size() == 1
                               ? ShownNodePicture(doc, nodes.front())
                               : CanvasUnderNodes(doc, nodes, request.backgroundOnly);
    clipboard.PutImageAndText(picture, kOwnCopyMarker.toString());
    return true;
}

QPoint PasteCommandOffset(QPoint pending, QPoint copyOrigin, float zoom) {
    if (pending.isNull()) return kPasteStep;
    return {ViewToCanvas(zoom, pending.x() - copyOrigin.x()),
            ViewToCanvas(zoom, pending.y() - copyOrigin.y())};
}

PastedKind PasteFromClipboard(EditedDocument& edited, CopyStore& store,
                              const Clipboard& clipboard, const PastePlace& place) {
    if (clipboard.Text() == kOwnCopyMarker) {
        return PasteNodes(edited, store, place.offset) > 0 ? PastedKind::Nodes
                                                           : PastedKind::Nothing;
    }
    if (!clipboard.HasImage()) return PastedKind::Nothing;
    return PasteImage(edited, clipboard.Image(), place.imageCentre) ? PastedKind::Image
                                                                    : PastedKind::Nothing;
}

int PasteNodes(EditedDocument& edited, CopyStore& store, QPoint offset) {
    if (store.IsEmpty()) return 0;
    EditScope edit(edited, SnapshotRule::Always);
    Document& doc = edit.Doc();
    DocState& s = doc.State();
    const bool selectionCleared = ClearSelection(doc);
    int pasted = 0;
    for (int i = 0; i < store.Count(); ++i) {
        if (!CanAddNode(doc)) break;
        StoredNode& stored = store.nodes[i];
        const int c = s.nodeCount;
        NodeRecord& node = doc.Node(c);
        node = stored.record;
        node.picture = stored.picture ? doc.Pictures().Adopt(*stored.picture) : PictureRef{};
        node.centerX += offset.x();
        node.centerY += offset.y();
        KeepInsideCanvas(doc, c, KeepBy::Edges);
        stored.record.centerX += offset.x();
        stored.record.centerY += offset.y();
        doc.Mark(c) = stored.mark;
        doc.Mark(c).selected = 1;
        if (i == 0) s.mainSelection = c;
        s.nodeCount = c + 1;
        ++pasted;
    }
    edit.Commit(pasted > 0 || selectionCleared);
    return pasted;
}

bool PasteImage(EditedDocument& edited, const QImage& image, QPoint centre) {
    QString failedStep;
    QString path;
    if (image.isNull()) {
        failedStep = ui_text::kClipboardGetStep.toString();
    } else {
        path = SaveBitmapToWorkingFile(image, &failedStep);
    }
    if (!failedStep.isEmpty()) {
        ShowMessage(nullptr, ui_text::kPasteErrorLine.toString().arg(failedStep),
                    kMsgImagePasteFailed, kStyleStop);
        return false;
    }
    if (path.isEmpty()) return false;
    LoadedPicture loaded = LoadImageFile(path, u"jpeg"_qs);
    if (!loaded.picture) return false;
    return AddDroppedPicture(edited, centre, loaded.size, *std::move(loaded.picture),
                             SnapshotRule::Always);
}

}  // namespace tessaly
