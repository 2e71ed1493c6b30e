#pragma once

#include <QString>

namespace tessaly {

// A long piece of work the user can follow and stop: exporting or printing
// the canvas, adding many images. The editor shows a progress window with a
// cancel button; tests install a recorder that can press it.
class WorkProgressSink {
public:
    virtual ~WorkProgressSink() = default;
    virtual void Begin(const QString& label, int total) = 0;
    // Shows `done` of the total; returns false once the user asked to stop.
    virtual bool Advance(int done) = 0;
    virtual void End() = 0;
};

void InstallWorkProgressSink(WorkProgressSink* sink);

// Follows one piece of work from construction to destruction. Without an
// installed sink nothing is shown and the work is never cancelled. Work
// started while other work is followed belongs to it: it shows nothing of
// its own and stops when the outer work is cancelled.
class WorkProgress {
public:
    WorkProgress(const QString& label, int total);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // Records that `done` of the total is finished; returns false when the
    // work is to stop, and keeps returning false from then on.
    bool Advance(int done);
    bool Cancelled() const;

private:
    bool outermost_;
};

}  // namespace tessaly
