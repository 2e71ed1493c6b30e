#pragma once

#include <QImage>
#include <QWidget>

#include "print/print_layout.h"

namespace tessaly {

// The preview of one printed page: the sheet with its shadow, the part of
// the canvas the page shows inside the margins, and, when asked, the margin
// lines, which can then be dragged.
class PrintPreview : public QWidget {
    Q_OBJECT

public:
    enum Side { kLeft, kTop, kRight, kBottom, kNone };

    explicit PrintPreview(QWidget* parent = nullptr);

    // Everything painted: the sheet in widget pixels, the margins in preview
    // pixels, the canvas picture at preview scale, and which part to show.
    struct Page {
        QRect sheet;
        PageMargins margins;
        QImage picture;
        bool onePage = false;
        int page = 1;
        int across = 1;
    };
    void SetPage(Page page);
    void SetShowMargins(bool show);
    // How far each margin line may be dragged from its paper edge, preview pixels.
    void SetDragLimits(int minimumX, int minimumY, int maximumX, int maximumY);

Q_SIGNALS:
    // A margin line was dropped `pixels` from its paper edge.
    void marginDragged(int side, int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect Box() const;
    Side HitSide(QPoint p) const;
    int DragDistance(QPoint p) const;

    Page page_;
    bool showMargins_ = false;
    Side dragging_ = kNone;
    int dragPixels_ = 0;
    int minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
};

}  // namespace tessaly
