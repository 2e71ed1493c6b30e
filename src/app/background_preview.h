#pragma once

#include <QFrame>

#include "document/doc_state.h"
#include "image/image_blob.h"

namespace tessaly {

// The preview of the view properties dialog: the picture fitted into the
// area on the chosen background colour, or "背景イメージなし" on that colour.
class BackgroundPreview : public QFrame {
    Q_OBJECT

public:
    explicit BackgroundPreview(QWidget* parent = nullptr);

    // The picture shown, or nullptr; it must outlive its use here.
    void SetPicture(const ImageBlob* picture);
    void SetBackColour(ColorRef colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ImageBlob* picture_ = nullptr;
    ColorRef backColour_ = 0;
};

}  // namespace tessaly
