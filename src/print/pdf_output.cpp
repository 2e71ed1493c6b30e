#include "print/pdf_output.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

// Passes the writer's output on to `file` and remembers a write that did not
// go through whole: a large write that a full disk cuts short is no error to
// the file itself.
class WholeWrites final : public QIODevice {
public:
    explicit WholeWrites(QIODevice& file) : file_(file) { open(QIODevice::WriteOnly); }
    bool Failed() const { return failed_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        failed_ = failed_ || file_.write(data, length) != length;
        return failed_ ? -1 : length;
    }

private:
    QIODevice& file_;
    bool failed_ = false;
};

}  // namespace

PrintOutcome PrintCanvasToPdf(const QString& path, const QPageLayout& layout, const Document& doc,
                              const PrintRequest& request, QObject* owner) {
    QSaveFile file(path);
    const auto fail = [&] {
        ShowMessage(owner, QDir::toNativeSeparators(path) + u'\n', kMsgFileSaveFailed, kStyleStop);
        return PrintOutcome{0, false, true};
    };
    if (!file.open(QIODevice::WriteOnly)) return fail();
    PrintOutcome outcome;
    WholeWrites output(file);
    {
        QPdfWriter writer(&output);
        writer.setTitle(QStringLiteral("Tessaly"));
        writer.setResolution(request.metrics.dpiX);
        // The painter's origin is the paper's corner, as on a printer.
        writer.setPageLayout(QPageLayout(layout.pageSize(), layout.orientation(), QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer)) return fail();
        outcome = PrintCanvas(writer, painter, doc, request);
        painter.end();
    }
    // Unless committed, the temporary file goes with `file`.
    if (outcome.cancelled) return {0, true, false};
    if (output.Failed() || !file.flush() || !file.commit()) return fail();
    return outcome;
}

}  // namespace tessaly
