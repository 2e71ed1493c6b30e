#pragma once

#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "services/status_service.h"

namespace tessaly::test {

// Stands in for the status bar while it lives and remembers what it was told.
class StatusRecorder final : public StatusSink {
public:
    StatusRecorder();
    ~StatusRecorder() override;

    void SetPaneText(StatusPane pane, const QString& text) override;
    void SetInfoText(const QString& text) override {
        info_ = text;
        infos_.push_back(text);
    }
    void SetProgressRange(int minimum, int maximum) override { range_ = {minimum, maximum}; }
    void SetProgressValue(int value) override { progress_.push_back(value); }

    const QString& Pane(StatusPane pane) const { return panes_[static_cast<int>(pane)]; }
    const QString& Info() const { return info_; }
    // Every info text set, in order.
    const std::vector<QString>& InfoTexts() const { return infos_; }
    std::pair<int, int> Range() const { return range_; }
    const std::vector<int>& ProgressValues() const { return progress_; }

private:
    std::array<QString, kStatusPaneCount> panes_;
    QString info_;
    std::vector<QString> infos_;
    std::pair<int, int> range_{0, 0};
    std::vector<int> progress_;
};

}  // namespace tessaly::test
