#pragma once

#include <QPlainTextEdit>

namespace tessaly {

// The console's read-only explanation of its settings, on white, with
// 10-pixel margins left and right and long lines wrapped.
class ExplanationPanel : public QPlainTextEdit {
public:
    explicit ExplanationPanel(QWidget* parent = nullptr);
};

}  // namespace tessaly
