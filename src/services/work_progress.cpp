#include "services/work_progress.h"

namespace tessaly {
namespace {
WorkProgressSink* g_sink = nullptr;
int g_depth = 0;          // pieces of work being followed, nested
bool g_cancelled = false;  // the outermost one was cancelled
}  // namespace

void InstallWorkProgressSink(WorkProgressSink* sink) { g_sink = sink; }

WorkProgress::WorkProgress(const QString& label, int total) : outermost_(g_depth == 0) {
    ++g_depth;
    if (!outermost_) return;
    g_cancelled = false;
    if (g_sink) g_sink->Begin(label, total);
}

WorkProgress::~WorkProgress() {
    --g_depth;
    if (!outermost_) return;
    if (g_sink) g_sink->End();
    g_cancelled = false;
}

bool WorkProgress::Advance(int done) {
    if (g_cancelled) return false;
    if (outermost_ && g_sink && !g_sink->Advance(done)) g_cancelled = true;
    return !g_cancelled;
}

bool WorkProgress::Cancelled() const { return g_cancelled; }

}  // namespace tessaly
