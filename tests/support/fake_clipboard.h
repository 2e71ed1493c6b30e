#pragma once

#include "services/clipboard.h"

namespace tessaly::test {

// A clipboard of the test's own: what was put on it stays in the fields,
// and the test sets what a paste finds.
class FakeClipboard final : public Clipboard {
public:
    void PutImageAndText(const QImage& putImage, const QString& putText) override {
        image = putImage;
        text = putText;
    }
    QString Text() const override { return text; }
    bool HasImage() const override { return claimsImage || !image.isNull(); }
    QImage Image() const override { return image; }

    QImage image;
    QString text;
    bool claimsImage = false;  // says it holds an image even when it cannot give one
};

}  // namespace tessaly::test
