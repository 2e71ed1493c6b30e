#pragma once

#include <QString>
#include <vector>

#include "services/work_progress.h"

namespace tessaly::test {

// Stands in for the progress window while it lives: remembers each piece of
// work and its steps, and presses "キャンセル" at the `cancelAtCall`-th
// Advance of a piece of work (1 = the first; 0 never).
class WorkProgressRecorder final : public WorkProgressSink {
public:
    explicit WorkProgressRecorder(int cancelAtCall = 0) : cancelAtCall_(cancelAtCall) {
        InstallWorkProgressSink(this);
    }
    ~WorkProgressRecorder() override { InstallWorkProgressSink(nullptr); }

    struct Work {
        QString label;
        int total = 0;
        std::vector<int> steps;
        bool ended = false;
    };

    void Begin(const QString& label, int total) override { works_.push_back({label, total, {}, false}); }
    bool Advance(int done) override {
        Work& work = works_.back();
        work.steps.push_back(done);
        return cancelAtCall_ == 0 || static_cast<int>(work.steps.size()) < cancelAtCall_;
    }
    void End() override { works_.back().ended = true; }

    const std::vector<Work>& Works() const { return works_; }

private:
    int cancelAtCall_;
    std::vector<Work> works_;
};

}  // namespace tessaly::test
