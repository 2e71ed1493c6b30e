#pragma once

#include <QImage>
#include <QString>

namespace tessaly {

// The system clipboard as the copy and paste commands use it. The editor uses
// SystemClipboard(); tests hand the commands a fake.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's content with `image`, offered to other programs
    // as a raster image, together with `text`. A null image puts the text
    // alone.
    virtual void PutImageAndText(const QImage& image, const QString& text) = 0;

    // The plain text on the clipboard; empty when there is none.
    virtual QString Text() const = 0;
    virtual bool HasImage() const = 0;
    // The image on the clipboard; null when there is none or it cannot be
    // read.
    virtual QImage Image() const = 0;
};

// The clipboard of the window system. Needs a QGuiApplication.
Clipboard& SystemClipboard();

}  // namespace tessaly
