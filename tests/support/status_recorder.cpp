#include "support/status_recorder.h"

namespace tessaly::test {

StatusRecorder::StatusRecorder() { InstallStatusSink(this); }

StatusRecorder::~StatusRecorder() { InstallStatusSink(nullptr); }

void StatusRecorder::SetPaneText(StatusPane pane, const QString& text) {
    panes_[static_cast<int>(pane)] = text;
}

}  // namespace tessaly::test
