#include "print/printer_settings.h"

#include <QPrinterInfo>

#include "print/paper_names.h"
#include "services/settings.h"

namespace tessaly {

QPageLayout::Orientation OrientationForCode(int code) {
    return code == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

int OrientationCode(QPageLayout::Orientation orientation) {
    return orientation == QPageLayout::Landscape ? 2 : 1;
}

std::optional<PrinterMetrics> ReadPrinterMetrics(const QPrinter& printer) {
    if (!printer.isValid()) return std::nullopt;
    // A printer that has gone away since it was chosen cannot be printed on.
    if (printer.outputFormat() == QPrinter::NativeFormat &&
        QPrinterInfo::printerInfo(printer.printerName()).isNull()) {
        return std::nullopt;
    }
    const int dpi = printer.resolution();
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Inch);
    const QMarginsF strip = layout.minimumMargins();
    PrinterMetrics metrics{dpi,
                           dpi,
                           static_cast<int>(strip.left() * dpi),
                           static_cast<int>(strip.top() * dpi),
                           paper.width(),
                           paper.height()};
    if (!metrics.IsValid()) return std::nullopt;
    return metrics;
}

void PrinterSettings::Prepare() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer_.setOutputFormat(QPrinter::NativeFormat);
        printer_.setPrinterName(info.printerName());
    }
    const QString section = QStringLiteral("Insatu");
    printer_.setPageSize(
        QPageSize(PageSizeForPaperCode(GetProfileInt(section, QStringLiteral("PaperSize"), 9))));
    printer_.setPageOrientation(
        OrientationForCode(GetProfileInt(section, QStringLiteral("Orientation"), 1)));
}

}  // namespace tessaly
