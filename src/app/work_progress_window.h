#pragma once

#include <QElapsedTimer>
#include <QPointer>

#include "services/work_progress.h"

class QProgressDialog;
class QWidget;

namespace tessaly {

// The editor's face of WorkProgress: a modal window with the work's label, a
// bar and "キャンセル". It appears only when the work lasts beyond a moment,
// and while it is up nothing else in the program takes input.
class WorkProgressWindow final : public WorkProgressSink {
public:
    explicit WorkProgressWindow(QWidget* parent);
    ~WorkProgressWindow() override;

    void Begin(const QString& label, int total) override;
    bool Advance(int done) override;
    void End() override;

private:
    QWidget* parent_;
    QPointer<QProgressDialog> dialog_;
    QElapsedTimer started_;
};

}  // namespace tessaly
