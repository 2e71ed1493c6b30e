#pragma once

#include <QWidget>

#include "mosaic/colour_features.h"

namespace tessaly {

class Document;

// The console's colour histogram comparison: the background picture's
// histogram above the histogram of the composing images. The images'
// histogram is taken when Refresh is called; the background's is the
// document's own.
class HistogramPanel : public QWidget {
public:
    explicit HistogramPanel(const Document& doc, QWidget* parent = nullptr);

    // Recounts the composing images and repaints.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Document& doc_;
    ColourHistogram images_{};
};

}  // namespace tessaly
