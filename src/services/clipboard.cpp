#include "services/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tessaly {
namespace {

class GuiClipboard final : public Clipboard {
public:
    void PutImageAndText(const QImage& image, const QString& text) override {
        // One mime object carries both, so neither replaces the other.
        auto* data = new QMimeData;
        if (!image.isNull()) data->setImageData(image);
        data->setText(text);
        QGuiApplication::clipboard()->setMimeData(data);
    }

    QString Text() const override { return QGuiApplication::clipboard()->text(); }

    bool HasImage() const override {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data != nullptr && data->hasImage();
    }

    QImage Image() const override { return QGuiApplication::clipboard()->image(); }
};

}  // namespace

Clipboard& SystemClipboard() {
    static GuiClipboard clipboard;
    return clipboard;
}

}  // namespace tessaly
