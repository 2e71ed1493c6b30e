#include "app/dialogs/help_dlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "resources/help_texts.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"

namespace tessaly {
namespace {


// "3 / 11": the page at the top of the view and the page count.
QString PageText(int page, int pageCount) {
    return QStringLiteral("%1 / %2").arg(page + 1).arg(pageCount);
}

}  // namespace

CHelpDlg::CHelpDlg(QWidget* parent, QString programFolder)
    : QDialog(parent),
      programFolder_(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : std::move(programFolder)),
      document_(new QPdfDocument(this)),
      view_(new QPdfView(this)) {
    view_->setDocument(document_);
    view_->setPageMode(QPdfView::PageMode::MultiPage);
    view_->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    view_->setDocumentMargins(QMargins(12, 12, 12, 12));
    view_->setPageSpacing(12);

    auto* pageLabel = new QLabel(this);
    connect(view_->pageNavigator(), &QPdfPageNavigator::currentPageChanged, pageLabel,
            [this, pageLabel](int page) { pageLabel->setText(PageText(page, document_->pageCount())); });
    connect(document_, &QPdfDocument::pageCountChanged, pageLabel,
            [this, pageLabel](int count) {
                pageLabel->setText(PageText(view_->pageNavigator()->currentPage(), count));
            });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close =
        buttons->addButton(ui_text::kClose.toString(), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pageLabel);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(view_, 1);
    bottom->setContentsMargins(10, 0, 10, 0);
    layout->addLayout(bottom);
    setSizeGripEnabled(true);
}

QString CHelpDlg::ManualPath() const {
    return QDir(programFolder_).filePath(ManualFileName());
}

bool CHelpDlg::LoadManual() {
    const QString path = ManualPath();
    if (!QFileInfo(path).isFile()) {
        ShowMessage(parent(), ManualFileName() + QLatin1Char('\n'),
                    kMsgFileMissingBesideProgram, kStyleStop);
        return false;
    }
    if (document_->load(path) != QPdfDocument::Error::None || document_->pageCount() < 1) {
        ShowMessage(parent(), QDir::toNativeSeparators(path) + QLatin1Char('\n'),
                    kMsgFileOpenFailed, kStyleStop);
        return false;
    }
    setWindowTitle(LoadString(kStrManualBaseName));
    return true;
}

void CHelpDlg::PlaceOnScreen() {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size(std::min(area.width(), std::max(640, area.width() * 2 / 3)),
                     area.height() * 9 / 10);
    QRect placed(QPoint(), size);
    placed.moveCenter(parentWidget() ? parentWidget()->geometry().center() : area.center());
    // Never partly off the screen.
    placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - size.width()));
    placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - size.height()));
    resize(size);
    move(placed.topLeft());
}

int CHelpDlg::exec() {
    // Without a folder to look in there is nothing to show.
    if (programFolder_.isEmpty() || !LoadManual()) return Rejected;
    PlaceOnScreen();
    return QDialog::exec();
}

}  // namespace tessaly
