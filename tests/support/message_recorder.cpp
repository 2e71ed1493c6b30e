#include "support/message_recorder.h"

namespace tessaly::test {

MessageRecorder::MessageRecorder() { InstallMessagePresenter(this); }

MessageRecorder::~MessageRecorder() { InstallMessagePresenter(nullptr); }

int MessageRecorder::Present(QObject*, const QString& caption, const QString& text, int style) {
    shown_.push_back({caption, text, style});
    if (answers_.empty()) return DefaultAnswer(style);
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<QString> MessageRecorder::Texts() const {
    std::vector<QString> texts;
    for (const Shown& m : shown_) texts.push_back(m.text);
    return texts;
}

}  // namespace tessaly::test
