#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <optional>

#include "document/edited_document.h"

class QObject;

namespace tessaly {

class ImageBlob;

// The size rules of the image properties dialog. `shown` is a node's size on
// the canvas (twice its half sizes), `picture` its picture's pixel size.

// Shown size over picture size in percent, each truncated: "横の比率",
// "縦の比率". 0 on an axis where the picture has no pixels.
struct SizeRatios {
    int width = 0;
    int height = 0;
    bool operator==(const SizeRatios&) const = default;
};
SizeRatios RatiosOf(QSize shown, QSize picture);

// Whether the shown size has the picture's aspect to one decimal place:
// trunc(ph x 10 / dh) == trunc(pw x 10 / dw). False when either has no area.
bool HasPictureAspect(QSize shown, QSize picture);

// "実寸にする": the picture's size, at least 10 and at most the canvas on each axis.
QSize ActualSize(QSize picture, QSize canvas);

// Which side "縦横比同じにする" keeps: "幅基準" or "高さ基準".
enum class AspectBasis { Width, Height };

// The shown size brought to the picture's aspect: the height follows the
// width (or the width the height), truncated. Nothing when it already has
// that aspect or either size has no area.
std::optional<QSize> AspectSize(QSize shown, QSize picture, AspectBasis basis);

// Which of "実寸にする", "縦横比同じにする" and "ビューのイメージの大きさにする"
// can be pressed: none when the size boxes read the picture's size exactly,
// all but the aspect button when the shown size has the picture's aspect.
struct ImageButtonStates {
    bool actualSize = true;
    bool sameAspect = true;
    bool resample = true;
    bool operator==(const ImageButtonStates&) const = default;
};
ImageButtonStates ImageButtonsFor(QSize boxes, QSize shown, QSize picture);

// The colour of the swatch in `row` and `column` (0..4) of the 5 x 5 block:
// the node's average of section row x s + column, where s x s is the
// document's section count; nothing for a cell outside the s x s corner.
std::optional<QRgb> SwatchColour(const NodeRecord& node, int sectionCount, int row, int column);

// The edits of the image properties dialog on the main selection's node,
// live: each step shows at once in the view. Opening takes the undo snapshot
// (below kSnapshotNodeLimit nodes) that brings back the node as it was
// before; everything done until the session ends is that one step of undo,
// or none when nothing changed.
class NodeProperties {
public:
    // Opens on the main selection; IsOpen() is false, and nothing is
    // recorded, without a main selection or when that node has no picture.
    explicit NodeProperties(EditedDocument& edited);
    ~NodeProperties();
    NodeProperties(const NodeProperties&) = delete;
    NodeProperties& operator=(const NodeProperties&) = delete;

    bool IsOpen() const { return scope_.has_value(); }
    int NodeIndex() const { return node_; }
    const Document& Doc() const { return edited_.Doc(); }
    QSize CanvasSize() const;
    QSize Shown() const;
    const ImageBlob* Picture() const;
    QSize PictureSize() const;
    qint64 PictureBytes() const;

    // A size spin stepped to `width` (`height`): the half size becomes half of it.
    void SetShownWidth(int width);
    void SetShownHeight(int height);

    // One canvas pixel in any direction; the canvas does not limit it.
    void MoveBy(int dx, int dy);

    // "実寸にする": the node takes ActualSize, kept inside the canvas by its
    // edges. Returns the size for the boxes; nothing when the picture has no
    // pixels.
    std::optional<QSize> MakeActualSize();

    // "縦横比同じにする": the node takes AspectSize, kept inside the canvas
    // by its edges. Returns the new size; nothing when nothing changed.
    std::optional<QSize> MatchAspect(AspectBasis basis);

    // "ビューのイメージの大きさにする": keeps the picture for UndoResample,
    // then resamples it to AspectSize (or the shown size) as a JPEG of
    // quality 100; the node takes that size, its colour averages stay.
    // Returns the new size. When the picture cannot be resampled, message
    // 30028 is shown and the node keeps its picture and size.
    std::optional<QSize> ResampleToShown(AspectBasis basis, QObject* owner);

    // Whether a resampled picture can be brought back.
    bool CanUndoResample() const { return !undoFile_.isEmpty(); }

    // Gives the node back the picture it had before the last resampling; its
    // size stays. False, changing nothing, when there is none or it cannot
    // be read.
    bool UndoResample();

private:
    NodeRecord& Node();
    const NodeRecord& Node() const;
    void Changed();
    void SetShownSize(QSize size);
    bool KeepPictureForUndo();
    void ForgetUndoPicture();

    EditedDocument& edited_;
    int node_ = -1;
    std::optional<EditScope> scope_;
    QString undoFile_;  // the picture before the last resampling
};

}  // namespace tessaly
