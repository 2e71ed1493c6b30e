#include "print/pdf_output.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>

#include "image/safe_file.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {

PrintOutcome PrintCanvasToPdf(const QString& path, const QPageLayout& layout, const Document& doc,
                              const PrintRequest& request, QObject* owner) {
    SafeFile file(path);
    const auto fail = [&] {
        ShowMessage(owner, QDir::toNativeSeparators(path) + u'\n', kMsgFileSaveFailed, kStyleStop);
        return PrintOutcome{0, false, true};
    };
    if (!file.open(QIODevice::WriteOnly)) return fail();
    PrintOutcome outcome;
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("Tessaly"));
        writer.setResolution(request.metrics.dpiX);
        // The painter's origin is the paper's corner, as on a printer.
        writer.setPageLayout(QPageLayout(layout.pageSize(), layout.orientation(), QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer)) return fail();
        outcome = PrintCanvas(writer, painter, doc, request);
        painter.end();
    }
    // Unless committed, the new file goes with `file`.
    if (outcome.cancelled) return {0, true, false};
    if (file.Error() != 0 || !file.Commit()) return fail();
    return outcome;
}

}  // namespace tessaly
