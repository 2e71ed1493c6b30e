#include "app/background_preview.h"

#include <QPainter>

#include "canvas/colour_ref.h"
#include "edits/view_property_rules.h"

namespace tessaly {
namespace {

constexpr QStringView kNoPicture = u"背景イメージなし";

}  // namespace

BackgroundPreview::BackgroundPreview(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setMinimumSize(360, 240);
}

void BackgroundPreview::SetPicture(const ImageBlob* picture) {
    picture_ = picture;
    update();
}

void BackgroundPreview::SetBackColour(ColorRef colour) {
    backColour_ = colour;
    update();
}

void BackgroundPreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    const QColor back = QColorOf(backColour_);
    if (!picture_) {
        painter.fillRect(area, back);
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, kNoPicture.toString());
        return;
    }
    const QRect target = PreviewRect(area.size(), picture_->PixelSize()).translated(area.topLeft());
    painter.fillRect(target, back);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage pixels = picture_->DecodeForSize(target.size());
    if (!pixels.isNull()) painter.drawImage(target, pixels);
}

}  // namespace tessaly
