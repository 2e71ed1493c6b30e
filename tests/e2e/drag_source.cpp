// A window that starts a drag of the files named on its command line when a
// mouse button goes down on it, as a file manager does. The end-to-end tests
// move the pointer across to the editor with xdotool and let go there.
//
//   drag_source FILE...
//
// Prints the action the drop target accepted ("copy", "move", "link" or
// "ignore") when the drag is over. It keeps running until it is ended: the
// target may ask for the dropped data after the drag is over.

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <cstdio>

namespace {

const char* ActionName(Qt::DropAction action) {
    switch (action) {
        case Qt::CopyAction:
            return "copy";
        case Qt::MoveAction:
            return "move";
        case Qt::LinkAction:
            return "link";
        default:
            return "ignore";
    }
}

class DragSource : public QLabel {
public:
    explicit DragSource(QList<QUrl> urls)
        : QLabel(QStringLiteral("%1 files: press here and drag").arg(urls.size())),
          urls_(std::move(urls)) {
        setWindowTitle(QStringLiteral("drag source"));
        setAlignment(Qt::AlignCenter);
        setAutoFillBackground(true);
        setStyleSheet(QStringLiteral("background: #3050a0; color: white"));
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        auto* files = new QMimeData;
        files->setUrls(urls_);
        auto* drag = new QDrag(this);
        drag->setMimeData(files);
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
        std::printf("%s\n", ActionName(action));
        std::fflush(stdout);
    }

private:
    QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : QApplication::arguments().mid(1))
        urls.append(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    if (urls.isEmpty()) {
        std::fprintf(stderr, "usage: drag_source FILE...\n");
        return 2;
    }
    DragSource window(std::move(urls));
    window.resize(240, 160);
    window.show();
    return app.exec();
}
