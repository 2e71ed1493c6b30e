#pragma once

#include "services/work_progress.h"

namespace tessaly {

// Long work shown on standard error as its label and a percentage, rewritten
// in place, while standard error is a terminal; nothing otherwise. Installed
// for as long as it lives. Stopping is left to the terminal (Ctrl+C), which
// leaves any file being replaced as it was.
class TerminalProgress final : public WorkProgressSink {
public:
    TerminalProgress();
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void Begin(const QString& label, int total) override;
    bool Advance(int done) override;
    void End() override;

private:
    QByteArray label_;
    int total_ = 0;
    int shown_ = -1;  // the percentage on the line, -1 before the first
};

}  // namespace tessaly
