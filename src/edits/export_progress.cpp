#include "edits/export_progress.h"

#include "resources/ui_strings.h"

namespace tessaly {
namespace {
// Encoders write in small pieces; the window is asked at most this often.
constexpr qint64 kWriteTickMs = 50;
}  // namespace

ExportProgress::ExportProgress() : progress_(ui_text::kExportingImage.toString(), kSteps) {
    watch_.keepWriting = [this] { return Writing(); };
}

bool ExportProgress::Band(int done, int total) {
    done_ = total > 0 ? done * kSteps / total : kSteps;
    return progress_.Advance(done_);
}

bool ExportProgress::Writing() {
    if (sinceAsked_.isValid() && sinceAsked_.elapsed() < kWriteTickMs) return !Cancelled();
    sinceAsked_.start();
    return progress_.Advance(done_);
}

}  // namespace tessaly
