#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <optional>

#include "print/print_layout.h"

namespace tessaly {

// The printer the program prints with, prepared once at start-up and then
// used by printing: the default printer with the paper size and orientation
// last chosen ("Insatu" / "PaperSize", "Orientation"). With no printer
// installed a PDF printer stands in, so the program still starts and can
// print to a file.
class PrinterSettings {
public:
    PrinterSettings() = default;
    PrinterSettings(const PrinterSettings&) = delete;
    PrinterSettings& operator=(const PrinterSettings&) = delete;

    // Points the printer at the default printer (or at PDF output) and
    // applies the stored paper size and orientation.
    void Prepare();

    QPrinter& Printer() { return printer_; }
    const QPrinter& Printer() const { return printer_; }
    // True when no printer was found and output goes to a PDF file.
    bool PrintsToPdf() const { return printer_.outputFormat() == QPrinter::PdfFormat; }

private:
    QPrinter printer_{QPrinter::HighResolution};
};

// 2 for landscape, 1 for portrait.
int OrientationCode(QPageLayout::Orientation orientation);

// The printer's resolution, unprintable strips and sheet in device pixels;
// nothing when the printer cannot be used.
std::optional<PrinterMetrics> ReadPrinterMetrics(const QPrinter& printer);

// 2 is landscape; 1 and every other value portrait.
QPageLayout::Orientation OrientationForCode(int code);

}  // namespace tessaly
