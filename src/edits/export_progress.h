#pragma once

#include <QElapsedTimer>

#include "image/safe_file.h"
#include "services/work_progress.h"

namespace tessaly {

// An export of the canvas followed as long work ("イメージを保存しています..."):
// the bar moves with the bands painted and written; between bands the
// window stays live while the encoder writes, and its cancel button stops
// the writing, so the earlier file stays.
class ExportProgress {
public:
    static constexpr int kSteps = 100;

    ExportProgress();

    // For ImageWriteRequest::progress: `done` of `total` bands written.
    bool Band(int done, int total);
    // For the writer of the file.
    WriteWatch* Watch() { return &watch_; }
    bool Cancelled() const { return progress_.Cancelled(); }

private:
    bool Writing();

    WorkProgress progress_;
    WriteWatch watch_;
    QElapsedTimer sinceAsked_;
    int done_ = 0;
};

}  // namespace tessaly
