#include "app/dialogs/insatu_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>

#include "app/widgets/number_edit.h"
#include "app/widgets/print_preview.h"
#include "canvas/view_geometry.h"
#include "edits/saved_file_prompts.h"
#include "document/document.h"
#include "print/paper_names.h"
#include "print/pdf_output.h"
#include "print/print_job.h"
#include "print/printer_settings.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/settings.h"

namespace tessaly {
namespace {

const QString kSection = QStringLiteral("Insatu");
const std::array<const char*, 4> kMarginKeys = {"MarginLmm", "MarginRmm", "MarginTmm", "MarginBmm"};
const std::array<int, 4> kMarginDefaults = {25, 10, 25, 10};

int Profile(const char* key, int fallback) {
    return GetProfileInt(kSection, QString::fromLatin1(key), fallback);
}
void StoreProfile(const char* key, int value) {
    WriteProfileInt(kSection, QString::fromLatin1(key), value);
}

int& MarginOf(PageMargins& m, int side) {
    switch (side) {
        case 0: return m.left;
        case 1: return m.right;
        case 2: return m.top;
        default: return m.bottom;
    }
}

// The side index of PageMargins for a side of the preview.
int MarginIndex(int previewSide) {
    switch (previewSide) {
        case PrintPreview::kLeft: return 0;
        case PrintPreview::kRight: return 1;
        case PrintPreview::kTop: return 2;
        default: return 3;
    }
}

bool IsHorizontalMargin(int index) { return index < 2; }

// The paper size code last chosen; of codes that share a paper, it names it.
int StoredPaperCode() {
    return Profile("PaperSize", 9);
}

QString ChoosePdfFileByDialog(QWidget* owner, const QString& suggested) {
    QFileDialog dialog(owner, owner->windowTitle(), QString(), QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // printing asks itself
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (!suggested.isEmpty()) dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

CInsatuDlg::CInsatuDlg(const Document& doc, QPrinter& printer, QWidget* parent,
                       MetricsReader readMetrics)
    : QDialog(parent),
      doc_(doc),
      printer_(printer),
      readMetrics_(readMetrics),
      choosePdfFile_(
          [this](const QString& suggested) { return ChoosePdfFileByDialog(this, suggested); }) {
    setWindowTitle(QStringLiteral("印刷"));
    setSizeGripEnabled(true);
    printer_.setFullPage(true);
    BuildControls();
    screenDpi_ = QSizeF(preview_->logicalDpiX(), preview_->logicalDpiY());
    LoadControls();
    RestorePlacement();
}

void CInsatuDlg::BuildControls() {
    auto* printButton = new QPushButton(QStringLiteral("印刷実行(&S)"));
    printButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("中止(&C)"));
    connect(printButton, &QPushButton::clicked, this, [this] { Print(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // 1: the printer.
    auto* printerGroup = new QGroupBox(QStringLiteral("1 プリンタ："));
    auto* printerGrid = new QGridLayout(printerGroup);
    portrait_ = new QRadioButton(QStringLiteral("縦"));
    landscape_ = new QRadioButton(QStringLiteral("横"));
    auto* setup = new QPushButton(QStringLiteral("設定(&P)"));
    printerName_ = new QLabel;
    paperName_ = new QLabel;
    paperSize_ = new QLabel;
    auto* orientationRow = new QHBoxLayout;
    orientationRow->addWidget(portrait_);
    orientationRow->addWidget(landscape_);
    orientationRow->addStretch();
    orientationRow->addWidget(setup);
    printerGrid->addLayout(orientationRow, 0, 0, 1, 2);
    printerGrid->addWidget(new QLabel(QStringLiteral("プリンタ名：")), 1, 0);
    printerGrid->addWidget(printerName_, 1, 1);
    printerGrid->addWidget(new QLabel(QStringLiteral("用紙：")), 2, 0);
    printerGrid->addWidget(paperName_, 2, 1);
    printerGrid->addWidget(new QLabel(QStringLiteral("サイズ：")), 3, 0);
    printerGrid->addWidget(paperSize_, 3, 1);
    printerGrid->setColumnStretch(1, 1);
    connect(portrait_, &QRadioButton::clicked, this, [this] { OnOrientation(1); });
    connect(landscape_, &QRadioButton::clicked, this, [this] { OnOrientation(2); });
    connect(setup, &QPushButton::clicked, this, &CInsatuDlg::OnSetup);

    // 2: the range.
    auto* rangeGroup = new QGroupBox(QStringLiteral("2 印刷範囲："));
    auto* rangeGrid = new QGridLayout(rangeGroup);
    range_ = new QButtonGroup(this);
    const std::array<QString, 3> kinds = {QStringLiteral("すべてのページ(&A)"),
                                          QStringLiteral("現在のページ(&N)"),
                                          QStringLiteral("ページ指定(&R)")};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(kinds[static_cast<std::size_t>(i)]);
        range_->addButton(button, i + 1);
        rangeGrid->addWidget(button, i, 0, 1, 4);
    }
    start_ = new QLineEdit;
    end_ = new QLineEdit;
    for (QLineEdit* edit : {start_, end_}) {
        edit->setMaximumWidth(60);
        edit->setAlignment(Qt::AlignRight);
    }
    rangeGrid->addWidget(new QLabel(QStringLiteral("開始：")), 3, 0);
    rangeGrid->addWidget(start_, 3, 1);
    rangeGrid->addWidget(new QLabel(QStringLiteral("- 終了：")), 3, 2);
    rangeGrid->addWidget(end_, 3, 3);
    onePageBox_ = new QCheckBox(QStringLiteral("全1ページ(&J)"));
    rangeGrid->addWidget(onePageBox_, 4, 0, 1, 4);
    connect(range_, &QButtonGroup::idClicked, this, &CInsatuDlg::OnRangeKind);
    connect(onePageBox_, &QCheckBox::clicked, this, &CInsatuDlg::OnOnePage);
    connect(start_, &QLineEdit::editingFinished, this, &CInsatuDlg::OnStartEdited);
    connect(end_, &QLineEdit::editingFinished, this, &CInsatuDlg::OnEndEdited);

    // 3: the margins, in the order top, bottom, left, right on screen.
    auto* marginGroup = new QGroupBox(QStringLiteral("3 余白：(max : 50ﾐﾘ)"));
    auto* marginGrid = new QGridLayout(marginGroup);
    const std::array<std::pair<int, QString>, 4> order = {
        std::pair{2, QStringLiteral("上")}, std::pair{3, QStringLiteral("下")},
        std::pair{0, QStringLiteral("左")}, std::pair{1, QStringLiteral("右")}};
    for (int i = 0; i < 4; ++i) {
        const auto& [side, label] = order[static_cast<std::size_t>(i)];
        auto* edit = new NumberEdit(0, kMaxMarginMm);
        marginEdits_[static_cast<std::size_t>(side)] = edit;
        auto* caption = new QLabel(label);
        caption->setBuddy(edit);
        marginGrid->addWidget(caption, i / 2, (i % 2) * 2);
        marginGrid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        connect(edit, &NumberEdit::editingFinished, this, [this, s = side] { OnMarginTyped(s); });
        connect(edit->findChild<QLineEdit*>(), &QLineEdit::textChanged, this,
                [this, s = side] { OnMarginTyped(s); });
    }
    auto* minimum = new QPushButton(QStringLiteral("余白最小(&V)"));
    showMargins_ = new QCheckBox(QStringLiteral("余白を表示(&M)"));
    marginGrid->addWidget(minimum, 2, 0, 1, 2);
    marginGrid->addWidget(showMargins_, 2, 2, 1, 2);
    connect(minimum, &QPushButton::clicked, this, &CInsatuDlg::OnMinimumMargins);
    connect(showMargins_, &QCheckBox::toggled, this,
            [this](bool on) { preview_->SetShowMargins(on); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printButton);
    buttons->addWidget(cancelButton);
    auto* left = new QVBoxLayout;
    left->addLayout(buttons);
    left->addWidget(printerGroup);
    left->addWidget(rangeGroup);
    left->addWidget(marginGroup);
    left->addStretch();

    // 4: the preview.
    pageCount_ = new QLabel;
    pageTotal_ = new QLabel;
    current_ = new NumberEdit(1, 1);
    connect(current_, &NumberEdit::editingFinished, this, &CInsatuDlg::OnCurrentPageTyped);
    connect(current_->findChild<QLineEdit*>(), &QLineEdit::textChanged, this,
            &CInsatuDlg::OnCurrentPageTyped);
    auto* previewHead = new QHBoxLayout;
    previewHead->addWidget(new QLabel(QStringLiteral("4 プレビュー：")));
    previewHead->addWidget(pageCount_);
    previewHead->addStretch();
    previewHead->addWidget(current_);
    previewHead->addWidget(pageTotal_);
    preview_ = new PrintPreview;
    connect(preview_, &PrintPreview::marginDragged, this, &CInsatuDlg::OnMarginDragged);
    auto* right = new QVBoxLayout;
    right->addLayout(previewHead);
    right->addWidget(preview_, 1);

    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(right, 1);
    top->setContentsMargins(8, 8, 2, 2);
}

std::optional<PrinterMetrics> CInsatuDlg::PrinterDc() {
    std::optional<PrinterMetrics> metrics = readMetrics_(printer_);
    if (!metrics) {
        ShowMessage(this, QStringLiteral("CreateDC At SetPaperSize\n"), kMsgPrinterDcFailed,
                    kStyleStop);
    }
    return metrics;
}

void CInsatuDlg::ShowPrinter() {
    const bool landscape = printer_.pageLayout().orientation() == QPageLayout::Landscape;
    (landscape ? landscape_ : portrait_)->setChecked(true);
    printerName_->setText(printer_.outputFormat() == QPrinter::PdfFormat
                              ? QStringLiteral("PDF")
                              : printer_.printerName());
    paperName_->setText(
        PaperName(PaperCodeFor(printer_.pageLayout().pageSize(), StoredPaperCode())));
}

void CInsatuDlg::LoadControls() {
    const std::optional<PrinterMetrics> metrics = PrinterDc();
    if (!metrics) return;
    metrics_ = *metrics;
    ShowPrinter();
    minimum_ = MinimumMarginsMm(metrics_);
    for (int side = 0; side < 4; ++side) {
        NumberEdit* edit = marginEdits_[static_cast<std::size_t>(side)];
        const int min = IsHorizontalMargin(side) ? minimum_.width() : minimum_.height();
        edit->SetRange(min, kMaxMarginMm);
        const int stored = std::clamp(
            Profile(kMarginKeys[static_cast<std::size_t>(side)], kMarginDefaults[static_cast<std::size_t>(side)]),
            min, kMaxMarginMm);
        MarginOf(margins_, side) = stored;
        const QSignalBlocker block(edit->findChild<QLineEdit*>());
        edit->SetValue(stored);
    }
    current_->SetValue(1);

    const int kind = Profile("Hani", 1);
    const int checked = kind == 2 || kind == 3 ? kind : 1;
    range_->button(checked)->setChecked(true);
    onePage_ = checked == 3 && Profile("AllOne", 0) != 0;
    onePageBox_->setChecked(onePage_);
    onePageBox_->setEnabled(checked == 3);
    showMargins_->setChecked(Profile("DspYohaku", 0) != 0);
    start_->setText(QStringLiteral("1"));
    laidOut_ = true;
}

void CInsatuDlg::RestorePlacement() {
    setMinimumSize(sizeHint());
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const int x = Profile("PX", -1);
    const int y = Profile("PY", -1);
    if (x >= 0 && y >= 0 && x < screen.width() && y < screen.height()) {
        move(x, y);
        resize(Profile("SX", 640), Profile("SY", 480));
    } else {
        // Nothing stored, or a place on a larger screen than this one: a size
        // that gives the preview room, centred over the owner.
        resize(QSize(960, 680).boundedTo(screen.size() * 9 / 10).expandedTo(minimumSize()));
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        QRect placed(QPoint(), size());
        placed.moveCenter(owner ? owner->frameGeometry().center() : screen.center());
        move(std::clamp(placed.x(), screen.left(), std::max(screen.left(), screen.right() - width())),
             std::clamp(placed.y(), screen.top(), std::max(screen.top(), screen.bottom() - height())));
    }
    if (Profile("Zoomed", 0) == 1) setWindowState(windowState() | Qt::WindowMaximized);
}

void CInsatuDlg::StorePlacement() {
    StoreProfile("DspYohaku", showMargins_->isChecked() ? 1 : 0);
    const bool zoomed = isMaximized();
    StoreProfile("Zoomed", zoomed ? 1 : 0);
    const QRect normal = zoomed ? normalGeometry() : geometry();
    const QPoint place = zoomed ? normal.topLeft() : pos();
    StoreProfile("PX", std::max(0, place.x()));
    StoreProfile("PY", std::max(0, place.y()));
    StoreProfile("SX", normal.width());
    StoreProfile("SY", normal.height());
}

void CInsatuDlg::done(int result) {
    StorePlacement();
    QDialog::done(result);
}

void CInsatuDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Relayout();
}

void CInsatuDlg::Relayout() {
    if (!laidOut_) return;
    const std::optional<PrinterMetrics> metrics = PrinterDc();
    if (!metrics) return;
    metrics_ = *metrics;
    paper_ = PaperSizeMm(metrics_);
    minimum_ = MinimumMarginsMm(metrics_);
    // The printer setup may have brought a printer with other unprintable strips.
    for (int side = 0; side < 4; ++side) {
        marginEdits_[static_cast<std::size_t>(side)]->SetRange(
            IsHorizontalMargin(side) ? minimum_.width() : minimum_.height(), kMaxMarginMm);
    }
    paperSize_->setText(QString::asprintf("%.1f X %.1fmm", paper_.width, paper_.height));

    const DocState& s = doc_.State();
    const QSize canvas(s.canvasWidth, s.canvasHeight);
    const PageGrid before = grid_;
    grid_ = PageGridFor(canvas, screenDpi_, paper_, margins_, onePage_);
    const int count = grid_.Count();
    pageCount_->setText(QString::asprintf("(横 %d × 縦 %d ページ)", grid_.across, grid_.down));
    pageTotal_->setText(QString::asprintf("/ %d ページ", count));
    end_->setText(QString::number(count));
    if (!(before == grid_) || currentPage_ > count) {
        currentPage_ = std::min(currentPage_, count);
        current_->SetRange(1, count);
        const QSignalBlocker block(current_->findChild<QLineEdit*>());
        current_->SetValue(currentPage_);
    }

    PrintPreview::Page page;
    page.sheet = PreviewPageRect(preview_->rect(), paper_);
    const float scale = PreviewScale(page.sheet.width(), static_cast<float>(screenDpi_.width()), paper_);
    page.margins = PreviewMargins(margins_, scale, screenDpi_);
    page.onePage = onePage_;
    page.page = currentPage_;
    page.across = grid_.across;
    const auto px = [&](int mm, bool horizontal) {
        return MmToPreviewPixels(mm, scale,
                                 static_cast<float>(horizontal ? screenDpi_.width() : screenDpi_.height()));
    };
    preview_->SetDragLimits(px(minimum_.width(), true), px(minimum_.height(), false),
                            px(kMaxMarginMm, true), px(kMaxMarginMm, false));

    float zoom = scale;
    if (onePage_) {
        const QRect box = MarginBox(page.sheet, page.margins);
        zoom = std::min(static_cast<float>(box.width()) / static_cast<float>(s.canvasWidth),
                        static_cast<float>(box.height()) / static_cast<float>(s.canvasHeight));
    }
    if (zoom > 0.0f && !page.sheet.isEmpty()) {
        page.picture = RenderWholeCanvas(doc_, zoom);
        if (page.picture.isNull()) {
            ShowMessage(this, QString(), kMsgMemoryAllocFailed, kStyleStop);
            return;
        }
    }
    preview_->SetPage(std::move(page));
}

void CInsatuDlg::OnOrientation(int code) {
    const auto orientation = OrientationForCode(code);
    if (printer_.pageLayout().orientation() == orientation) return;
    printer_.setPageOrientation(orientation);
    Relayout();
    StoreProfile("Orientation", code);
}

void CInsatuDlg::OnSetup() {
    const int paperBefore = PaperCodeFor(printer_.pageLayout().pageSize(), StoredPaperCode());
    const auto orientationBefore = printer_.pageLayout().orientation();
    // The setup dialog's margin fields show this dialog's margins and set them.
    printer_.setPageMargins(QMarginsF(margins_.left, margins_.top, margins_.right, margins_.bottom),
                            QPageLayout::Millimeter);
    QPageSetupDialog setup(&printer_, this);
    if (setup.exec() != QDialog::Accepted) return;
    const int paper = PaperCodeFor(printer_.pageLayout().pageSize(), StoredPaperCode());
    const auto orientation = printer_.pageLayout().orientation();
    if (paper != paperBefore || orientation != orientationBefore) {
        StoreProfile("PaperSize", paper);
        StoreProfile("Orientation", OrientationCode(orientation));
    }
    ShowPrinter();
    TakeSetupMargins();
    Relayout();
}

void CInsatuDlg::TakeSetupMargins() {
    const QMarginsF mm = printer_.pageLayout().margins(QPageLayout::Millimeter);
    const std::array<qreal, 4> sides = {mm.left(), mm.right(), mm.top(), mm.bottom()};
    for (int side = 0; side < 4; ++side)
        SetMargin(side, qRound(sides[static_cast<std::size_t>(side)]));
}

void CInsatuDlg::SetMargin(int side, int mm) {
    NumberEdit* edit = marginEdits_[static_cast<std::size_t>(side)];
    const QSignalBlocker block(edit->findChild<QLineEdit*>());
    edit->SetValue(mm);
    MarginOf(margins_, side) = edit->Read();
}

void CInsatuDlg::OnRangeKind(int kind) {
    StoreProfile("Hani", kind);
    if (kind == 3) {
        onePageBox_->setEnabled(true);
        return;
    }
    onePage_ = false;
    onePageBox_->setChecked(false);
    onePageBox_->setEnabled(false);
    StoreProfile("AllOne", 0);
    Relayout();
}

void CInsatuDlg::OnOnePage(bool on) {
    onePage_ = on;
    StoreProfile("AllOne", on ? 1 : 0);
    Relayout();
}

void CInsatuDlg::OnMarginTyped(int side) {
    if (!laidOut_) return;
    NumberEdit* edit = marginEdits_[static_cast<std::size_t>(side)];
    // While typing, only a number already in range is taken; the box is put
    // right when it is left.
    bool number = false;
    const int typed = edit->findChild<QLineEdit*>()->text().toInt(&number);
    const bool finished = !edit->hasFocus();
    if (!finished && (!number || typed < edit->Minimum() || typed > edit->Maximum())) {
        if (number && typed > edit->Maximum()) edit->SetValue(edit->Maximum());
        return;
    }
    const int value = edit->Read();
    if (MarginOf(margins_, side) == value) return;
    MarginOf(margins_, side) = value;
    Relayout();
}

void CInsatuDlg::OnMarginDragged(int previewSide, int pixels) {
    const int side = MarginIndex(previewSide);
    const float scale = PreviewScale(PreviewPageRect(preview_->rect(), paper_).width(),
                                     static_cast<float>(screenDpi_.width()), paper_);
    const double dpi = IsHorizontalMargin(side) ? screenDpi_.width() : screenDpi_.height();
    SetMargin(side, PreviewPixelsToMm(pixels, scale, static_cast<float>(dpi)));
    Relayout();
}

void CInsatuDlg::OnMinimumMargins() {
    for (int side = 0; side < 4; ++side)
        SetMargin(side, IsHorizontalMargin(side) ? minimum_.width() : minimum_.height());
    Relayout();
}

void CInsatuDlg::OnStartEdited() {
    if (start_->text().trimmed().isEmpty()) start_->setText(QStringLiteral("1"));
    const int start = start_->text().toInt();
    const int end = end_->text().toInt();
    if (start < 1) start_->setText(QStringLiteral("1"));
    if (end < start) start_->setText(end_->text());
}

void CInsatuDlg::OnEndEdited() {
    const int count = grid_.Count();
    const QString text = end_->text().trimmed();
    const int end = text.toInt();
    if (count < end) {
        end_->setText(QString::number(count));
    } else if (text.isEmpty() || end < start_->text().toInt()) {
        end_->setText(start_->text());
    }
}

void CInsatuDlg::OnCurrentPageTyped() {
    if (!laidOut_) return;
    bool number = false;
    const int typed = current_->findChild<QLineEdit*>()->text().toInt(&number);
    if (current_->hasFocus() && (!number || typed < 1 || typed > grid_.Count())) return;
    const int page = current_->Read();
    if (page == currentPage_) return;
    currentPage_ = page;
    Relayout();
}

int CInsatuDlg::Print() {
    for (int side = 0; side < 4; ++side) {
        MarginOf(margins_, side) = marginEdits_[static_cast<std::size_t>(side)]->Read();
        StoreProfile(kMarginKeys[static_cast<std::size_t>(side)], MarginOf(margins_, side));
    }
    const std::optional<PrinterMetrics> metrics = PrinterDc();
    if (!metrics) return 0;
    const DocState& s = doc_.State();
    grid_ = PageGridFor({s.canvasWidth, s.canvasHeight}, screenDpi_, PaperSizeMm(*metrics),
                        margins_, onePage_);
    printer_.setDocName(QStringLiteral("Tessaly"));

    PrintRequest request;
    request.metrics = *metrics;
    request.margins = margins_;
    request.screenDpi = screenDpi_;
    request.onePage = onePage_;
    request.across = grid_.across;
    request.pages = PagesToPrint(static_cast<PageRangeKind>(std::max(range_->checkedId(), 1)),
                                 currentPage_, start_->text().toInt(), end_->text().toInt(),
                                 grid_.Count());
    PrintOutcome outcome;
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        const QString file = AskPdfFile();
        if (file.isEmpty()) return 0;
        outcome = PrintCanvasToPdf(file, printer_.pageLayout(), doc_, request, this);
    } else {
        outcome = PrintOnPrinter(request);
    }
    if (outcome.failed || outcome.cancelled) return 0;
    accept();
    return outcome.pages;
}

QString CInsatuDlg::AskPdfFile() {
    // The name of the last print in this run is offered again.
    const QString file = choosePdfFile_(printer_.outputFileName());
    if (file.isEmpty() || !ConfirmOverwrite(file, this)) return {};
    printer_.setOutputFileName(file);
    return file;
}

PrintOutcome CInsatuDlg::PrintOnPrinter(const PrintRequest& request) {
    QPainter painter;
    if (!painter.begin(&printer_)) {
        ShowMessage(this, printer_.printerName() + u'\n', kMsgPrinterInitFailed, kStyleStop);
        return {0, false, true};
    }
    const PrintOutcome outcome = PrintCanvas(printer_, painter, doc_, request);
    if (outcome.cancelled) printer_.abort();
    painter.end();
    return outcome;
}

}  // namespace tessaly
