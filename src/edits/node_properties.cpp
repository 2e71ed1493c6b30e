#include "edits/node_properties.h"

#include <QFile>
#include <algorithm>

#include "canvas/selection.h"
#include "image/image_files.h"
#include "image/image_limits.h"
#include "image/picture_io.h"
#include "image/working_folder.h"
#include "mosaic/colour_features.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

// The smallest side "実寸にする" gives a node.
constexpr int kLeastActualSide = 10;

bool HasArea(QSize size) { return size.width() > 0 && size.height() > 0; }

// The rules work in single precision and truncate toward zero.
int Truncated(float value) { return static_cast<int>(value); }

int Percent(int shown, int picture) {
    return picture > 0 ? Truncated(float(shown) / float(picture) * 100.0f) : 0;
}

}  // namespace

SizeRatios RatiosOf(QSize shown, QSize picture) {
    return {Percent(shown.width(), picture.width()), Percent(shown.height(), picture.height())};
}

bool HasPictureAspect(QSize shown, QSize picture) {
    if (!HasArea(shown) || !HasArea(picture)) return false;
    return Truncated(float(picture.height()) * 10.0f / float(shown.height())) ==
           Truncated(float(picture.width()) * 10.0f / float(shown.width()));
}

QSize ActualSize(QSize picture, QSize canvas) {
    return {std::min(canvas.width(), std::max(picture.width(), kLeastActualSide)),
            std::min(canvas.height(), std::max(picture.height(), kLeastActualSide))};
}

std::optional<QSize> AspectSize(QSize shown, QSize picture, AspectBasis basis) {
    if (!HasArea(shown) || !HasArea(picture)) return std::nullopt;
    const float dw = float(shown.width()), dh = float(shown.height());
    const float pw = float(picture.width()), ph = float(picture.height());
    if (basis == AspectBasis::Width) {
        const float r = ph / pw;
        if (r == dh / dw) return std::nullopt;
        return QSize(shown.width(), Truncated(dw * r));
    }
    const float r = pw / ph;
    if (r == dw / dh) return std::nullopt;
    return QSize(Truncated(dh * r), shown.height());
}

ImageButtonStates ImageButtonsFor(QSize boxes, QSize shown, QSize picture) {
    if (RatiosOf(boxes, picture) == SizeRatios{100, 100}) return {false, false, false};
    return {true, !HasPictureAspect(shown, picture), true};
}

std::optional<QRgb> SwatchColour(const NodeRecord& node, int sectionCount, int row,
                                 int column) {
    const int side = SectionGridSide(sectionCount);
    if (row < 0 || column < 0 || row >= side || column >= side) return std::nullopt;
    const int k = row * side + column;
    return qRgb(node.avgRed[k], node.avgGreen[k], node.avgBlue[k]);
}

NodeProperties::NodeProperties(EditedDocument& edited) : edited_(edited) {
    const Document& doc = edited.Doc();
    const int main = doc.State().mainSelection;
    if (main < 0 || main >= doc.State().nodeCount) return;
    if (doc.Picture(doc.Node(main).picture) == nullptr) return;
    node_ = main;
    scope_.emplace(edited, SnapshotRule::BelowNodeLimit);
}

NodeProperties::~NodeProperties() {
    ForgetUndoPicture();
}

NodeRecord& NodeProperties::Node() { return scope_->Doc().Node(node_); }
const NodeRecord& NodeProperties::Node() const { return edited_.Doc().Node(node_); }

QSize NodeProperties::CanvasSize() const {
    const DocState& s = Doc().State();
    return {s.canvasWidth, s.canvasHeight};
}

QSize NodeProperties::Shown() const { return {Node().Width(), Node().Height()}; }

const ImageBlob* NodeProperties::Picture() const { return Doc().Picture(Node().picture); }

QSize NodeProperties::PictureSize() const { return PixelSize(Picture()); }

qint64 NodeProperties::PictureBytes() const { return EncodedSize(Picture()); }

void NodeProperties::Changed() {
    scope_->Commit();
    scope_->Publish();
}

void NodeProperties::SetShownSize(QSize size) {
    Node().halfWidth = size.width() / 2;
    Node().halfHeight = size.height() / 2;
}

void NodeProperties::SetShownWidth(int width) {
    Node().halfWidth = width / 2;
    Changed();
}

void NodeProperties::SetShownHeight(int height) {
    Node().halfHeight = height / 2;
    Changed();
}

void NodeProperties::MoveBy(int dx, int dy) {
    Node().centerX += dx;
    Node().centerY += dy;
    Changed();
}

std::optional<QSize> NodeProperties::MakeActualSize() {
    const QSize picture = PictureSize();
    if (picture.isNull()) return std::nullopt;
    const QSize size = ActualSize(picture, CanvasSize());
    SetShownSize(size);
    KeepInsideCanvas(scope_->Doc(), node_, KeepBy::Edges);
    Changed();
    return size;
}

std::optional<QSize> NodeProperties::MatchAspect(AspectBasis basis) {
    const std::optional<QSize> size = AspectSize(Shown(), PictureSize(), basis);
    if (!size) return std::nullopt;
    SetShownSize(*size);
    KeepInsideCanvas(scope_->Doc(), node_, KeepBy::Edges);
    Changed();
    return size;
}

bool NodeProperties::KeepPictureForUndo() {
    const ImageBlob* picture = Picture();
    if (picture == nullptr) return false;
    if (undoFile_.isEmpty()) undoFile_ = NewTempFile();
    QFile file(undoFile_);
    const bool kept = !undoFile_.isEmpty() &&
                      file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                      SaveImageBlob(file, *picture, false) && file.flush();
    // A half-written file must not come back as the picture.
    if (!kept) ForgetUndoPicture();
    return kept;
}

void NodeProperties::ForgetUndoPicture() {
    if (!undoFile_.isEmpty()) QFile::remove(undoFile_);
    undoFile_.clear();
}

std::optional<QSize> NodeProperties::ResampleToShown(AspectBasis basis, QObject* owner) {
    const ImageBlob* picture = Picture();
    if (picture == nullptr) return std::nullopt;
    KeepPictureForUndo();
    const QSize target = AspectSize(Shown(), PictureSize(), basis).value_or(Shown());
    std::optional<ImageBlob> resampled;
    if (IsAcceptablePictureSize(target)) {
        WaitCursor wait;
        // ResizePicture hands back the same picture when it fails.
        ImageBlob result = ResizePicture(*picture, target.width(), target.height());
        if (result.Serial() != picture->Serial() && result.PixelSize() == target)
            resampled = std::move(result);
    }
    if (!resampled) {
        // The node keeps the picture it has: nothing is lost.
        ShowMessage(owner, {}, kMsgImageGetFailed, kStyleStop);
        return std::nullopt;
    }
    PicturePool& pictures = scope_->Doc().Pictures();
    pictures.Release(Node().picture);
    Node().picture = pictures.Adopt(*std::move(resampled));
    SetShownSize(target);
    Changed();
    return target;
}

bool NodeProperties::UndoResample() {
    if (undoFile_.isEmpty()) return false;
    QFile file(undoFile_);
    if (!file.open(QIODevice::ReadOnly)) return false;
    std::optional<ImageBlob> picture = LoadImageBlob(file, file.size());
    file.close();
    if (!picture) return false;
    PicturePool& pictures = scope_->Doc().Pictures();
    pictures.Release(Node().picture);
    Node().picture = pictures.Adopt(*std::move(picture));
    ForgetUndoPicture();
    Changed();
    return true;
}

}  // namespace tessaly
