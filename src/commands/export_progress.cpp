#include "commands/export_progress.h"

#include "resources/ui_strings.h"

namespace tessaly {
namespace {
// The part of the bar that painting takes.
constexpr int kPaintSteps = 60;
// Encoders write in small pieces; the window is asked at most this often.
constexpr qint64 kWriteTickMs = 50;
}  // namespace

ExportProgress::ExportProgress() : progress_(ui_text::kExportingImage.toString(), kSteps) {
    watch_.keepWriting = [this] { return Writing(); };
}

bool ExportProgress::Painted(int done, int total) {
    return progress_.Advance(total > 0 ? done * kPaintSteps / total : kPaintSteps);
}

bool ExportProgress::Writing() {
    if (sinceAdvance_.isValid() && sinceAdvance_.elapsed() < kWriteTickMs) return !Cancelled();
    sinceAdvance_.start();
    return progress_.Advance(kPaintSteps);
}

void ExportProgress::Written() { progress_.Advance(kSteps); }

}  // namespace tessaly
