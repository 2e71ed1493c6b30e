#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "services/message_service.h"

namespace tessaly::test {

// Stands in for message boxes while it lives: records every message and
// answers with the queued answers, then with the default answer.
class MessageRecorder final : public MessagePresenter {
public:
    struct Shown {
        QString caption;
        QString text;
        int style;
    };

    MessageRecorder();
    ~MessageRecorder() override;

    int Present(QObject* owner, const QString& caption, const QString& text, int style) override;

    void QueueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<Shown>& Messages() const { return shown_; }
    // The texts shown, in order.
    std::vector<QString> Texts() const;
    void Clear() { shown_.clear(); }

private:
    std::vector<Shown> shown_;
    std::deque<int> answers_;
};

}  // namespace tessaly::test
