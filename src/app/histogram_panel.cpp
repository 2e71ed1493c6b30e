#include "app/histogram_panel.h"

#include <QPainter>

#include "canvas/histogram_painter.h"
#include "document/document.h"

namespace tessaly {

HistogramPanel::HistogramPanel(const Document& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HistogramPanel::Refresh() {
    images_ = ComputeImagesHistogram(doc_);
    update();
}

void HistogramPanel::paintEvent(QPaintEvent*) {
    const DocState& s = doc_.State();
    QPainter painter(this);
    PaintHistogramPanel(painter, rect(), s.backPicture ? &s.backHistogram : nullptr, images_,
                        s.zoom);
}

}  // namespace tessaly
