#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tessaly {

// The about box "バージョン情報": the program's icon, its name and what it
// is, and the version history, newest first. "確認(&Y)" closes it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The read-only edit that holds the version history.
    QPlainTextEdit* HistoryEdit() const { return history_; }

private:
    QPlainTextEdit* history_ = nullptr;
};

}  // namespace tessaly
