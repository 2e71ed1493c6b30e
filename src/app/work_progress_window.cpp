#include "app/work_progress_window.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "resources/ui_strings.h"

namespace tessaly {
namespace {
// Work shorter than this shows no window at all.
constexpr int kShowAfterMs = 400;
}  // namespace

WorkProgressWindow::WorkProgressWindow(QWidget* parent) : parent_(parent) {}

WorkProgressWindow::~WorkProgressWindow() { End(); }

void WorkProgressWindow::Begin(const QString& label, int total) {
    End();
    dialog_ = new QProgressDialog(label, ui_text::kCancel.toString(), 0, total, parent_);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(kShowAfterMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
    started_.start();
}

bool WorkProgressWindow::Advance(int done) {
    if (!dialog_) return true;
    dialog_->setValue(done);
    // The dialog decides to appear only when its value moves; work that
    // stays at one step for long (an encoder writing the file) shows it too.
    if (!dialog_->isVisible() && started_.elapsed() >= kShowAfterMs) dialog_->show();
    // Once the window is up, setValue lets it paint and take the cancel
    // click; before that the work runs without letting other events in.
    if (dialog_->isVisible()) QCoreApplication::processEvents();
    return !dialog_->wasCanceled();
}

void WorkProgressWindow::End() {
    delete dialog_.data();
}

}  // namespace tessaly
