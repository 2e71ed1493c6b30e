#pragma once

#include <QElapsedTimer>

#include "image/safe_file.h"
#include "services/work_progress.h"

namespace tessaly {

// An export of the canvas followed as long work ("イメージを保存しています..."):
// painting the picture moves the bar over its first part; while the file is
// written the window stays live and its cancel button stops the writing, so
// the earlier file stays; the written file fills the bar.
class ExportProgress {
public:
    static constexpr int kSteps = 100;

    ExportProgress();

    // For CanvasImageRequest::progress: `done` of `total` bands painted.
    bool Painted(int done, int total);
    // For the writer of the file.
    WriteWatch* Watch() { return &watch_; }
    // The file is in place.
    void Written();
    bool Cancelled() const { return progress_.Cancelled(); }

private:
    bool Writing();

    WorkProgress progress_;
    WriteWatch watch_;
    QElapsedTimer sinceAdvance_;
};

}  // namespace tessaly
