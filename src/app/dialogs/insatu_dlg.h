#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "print/print_job.h"
#include "print/print_layout.h"
#include "print/printer_settings.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace tessaly {

class Document;
class NumberEdit;
class PrintPreview;

// The print dialog "印刷": the printer's paper and orientation, the page
// range, the margins and a live preview of one page; "印刷実行(&S)" prints
// the canvas, cut into pages at screen size or fitted on one page. The range
// kind, the one-page box, paper and orientation are stored as they change,
// the margins when printing, the placement when the dialog closes.
class CInsatuDlg : public QDialog {
    Q_OBJECT

public:
    // Reads what the printer can do; nothing when it cannot be used.
    using MetricsReader = std::optional<PrinterMetrics> (*)(const QPrinter&);

    CInsatuDlg(const Document& doc, QPrinter& printer, QWidget* parent = nullptr,
               MetricsReader readMetrics = ReadPrinterMetrics);

    // "印刷実行(&S)": prints, then closes. Returns the pages printed. A job
    // that fails or is cancelled leaves the dialog open.
    int Print();

    // Asks for the PDF file to print to, offering `suggested`; empty when
    // the user declines.
    using PdfFileChooser = std::function<QString(const QString& suggested)>;
    void SetPdfFileChooserForTesting(PdfFileChooser chooser) {
        choosePdfFile_ = std::move(chooser);
    }

    PageGrid Grid() const { return grid_; }
    int CurrentPage() const { return currentPage_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void BuildControls();
    void LoadControls();
    void RestorePlacement();
    void StorePlacement();
    std::optional<PrinterMetrics> PrinterDc();
    void ShowPrinter();
    // Page metrics, labels and the preview picture, after any change.
    void Relayout();
    void OnOrientation(int code);
    void OnSetup();
    // The margins the printer setup dialog was left with, in mm.
    void TakeSetupMargins();
    // The PDF file to print to, asked for at every print; empty when the
    // user declines the name or overwriting the file.
    QString AskPdfFile();
    PrintOutcome PrintOnPrinter(const PrintRequest& request);
    void OnRangeKind(int kind);
    void OnOnePage(bool on);
    void OnMarginTyped(int side);
    void OnMarginDragged(int side, int pixels);
    void OnMinimumMargins();
    void OnStartEdited();
    void OnEndEdited();
    void OnCurrentPageTyped();
    // Sets margin `side` (PageMargins order), kept within its range.
    void SetMargin(int side, int mm);

    const Document& doc_;
    QPrinter& printer_;
    MetricsReader readMetrics_;
    PdfFileChooser choosePdfFile_;

    PrinterMetrics metrics_;
    PaperMm paper_;
    QSize minimum_;
    QSizeF screenDpi_{96, 96};
    PageMargins margins_;
    PageGrid grid_;
    int currentPage_ = 1;
    bool onePage_ = false;
    bool laidOut_ = false;

    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
    QLabel* printerName_ = nullptr;
    QLabel* paperName_ = nullptr;
    QLabel* paperSize_ = nullptr;
    QButtonGroup* range_ = nullptr;
    QLineEdit* start_ = nullptr;
    QLineEdit* end_ = nullptr;
    QCheckBox* onePageBox_ = nullptr;
    // Left, right, top, bottom, as in PageMargins.
    std::array<NumberEdit*, 4> marginEdits_{};
    QCheckBox* showMargins_ = nullptr;
    QLabel* pageCount_ = nullptr;
    QLabel* pageTotal_ = nullptr;
    NumberEdit* current_ = nullptr;
    PrintPreview* preview_ = nullptr;
};

}  // namespace tessaly
