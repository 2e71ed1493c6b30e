// Turns the user manual, written as HTML with its screenshots beside it, into
// the PDF the editor shows from its help menu.
//
//   tessaly-make-manual <manual.html> <output.pdf>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

namespace {

constexpr int kResolution = 300;
constexpr int kMarginMillimetres = 18;

// Printing works on a copy of the document that keeps its resources but not
// its base URL, so every picture is loaded here, from beside the manual.
bool AddPictures(QTextDocument& document, const QDir& folder) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
            if (!format.isValid()) continue;
            const QImage picture(folder.filePath(format.name()));
            if (picture.isNull()) {
                std::fprintf(stderr, "tessaly-make-manual: cannot read picture %s\n",
                             qPrintable(format.name()));
                return false;
            }
            document.addResource(QTextDocument::ImageResource, QUrl(format.name()), picture);
        }
    }
    return true;
}

int Fail(const char* what, const QString& path) {
    std::fprintf(stderr, "tessaly-make-manual: %s: %s\n", what, qPrintable(path));
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Fonts need a platform; the build has no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tessaly-make-manual <manual.html> <output.pdf>\n");
        return 2;
    }
    const QString source = args.at(1);
    const QString output = args.at(2);

    QFile html(source);
    if (!html.open(QIODevice::ReadOnly)) return Fail("cannot read", source);

    QTextDocument document;
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setHtml(QString::fromUtf8(html.readAll()));
    // Pictures are named relative to the manual's own folder.
    if (!AddPictures(document, QFileInfo(source).absoluteDir())) return 1;

    QDir().mkpath(QFileInfo(output).absolutePath());
    QFile::remove(output);
    {
        QPdfWriter writer(output);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Tessaly"));
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMillimetres, kMarginMillimetres,
                                                   kMarginMillimetres, kMarginMillimetres),
                                         QPageLayout::Millimeter));
        document.print(&writer);
    }
    if (QFileInfo(output).size() == 0) return Fail("nothing was written to", output);
    return 0;
}
