#include "print/printer_settings.h"

#include <QPrinterInfo>

#include "services/settings.h"

namespace tessaly {

QPageSize::PageSizeId PageSizeForPaperCode(int code) {
    switch (code) {
        case 1:
            return QPageSize::Letter;
        case 5:
            return QPageSize::Legal;
        case 8:
            return QPageSize::A3;
        case 11:
            return QPageSize::A5;
        // The paper table's B4 and B5 are the JIS sizes (257 x 364 and
        // 182 x 257 mm), not ISO B.
        case 12:
            return QPageSize::JisB4;
        case 13:
            return QPageSize::JisB5;
        default:
            return QPageSize::A4;
    }
}

QPageLayout::Orientation OrientationForCode(int code) {
    return code == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

int PaperCodeFor(const QPageSize& size) {
    return size.isValid() ? size.windowsId() : 0;
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
