#include "terminal_progress.h"

#include <unistd.h>

#include <cstdio>

namespace tessaly {

TerminalProgress::TerminalProgress() {
    if (::isatty(STDERR_FILENO) == 1) InstallWorkProgressSink(this);
}

TerminalProgress::~TerminalProgress() { InstallWorkProgressSink(nullptr); }

void TerminalProgress::Begin(const QString& label, int total) {
    label_ = label.toUtf8();
    total_ = total;
    shown_ = -1;
}

bool TerminalProgress::Advance(int done) {
    const int percent = total_ > 0 ? done * 100 / total_ : 100;
    if (percent != shown_) {
        shown_ = percent;
        std::fprintf(stderr, "\r%s %3d%%", label_.constData(), percent);
        std::fflush(stderr);
    }
    return true;
}

void TerminalProgress::End() {
    if (shown_ >= 0) std::fputs("\n", stderr);
    shown_ = -1;
}

}  // namespace tessaly
