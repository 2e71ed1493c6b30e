#pragma once

#include <QDialog>
#include <functional>

namespace tessaly {

// The manual "Manual.pdf" in the editor's own folder, shown by the desktop's
// PDF viewer. The dialog finds the file and hands it to the viewer; when the
// file is missing it names it above message 30173 and closes, and when no
// viewer can be started it says so instead of pretending it showed anything.
class CHelpDlg : public QDialog {
    Q_OBJECT

public:
    // Starts the viewer on a file; false when it could not be started.
    using Viewer = std::function<bool(const QString& path)>;

    // `programFolder` empty means the editor's folder; `viewer` empty means
    // the desktop's default application for PDF files.
    explicit CHelpDlg(QWidget* parent = nullptr, QString programFolder = {}, Viewer viewer = {});

    // Shows the manual and returns Accepted, or reports why it cannot and
    // returns Rejected. No window of its own stays open either way.
    int exec() override;

    // The full path of the manual looked for.
    QString ManualPath() const;

private:
    QString programFolder_;
    Viewer viewer_;
};

}  // namespace tessaly
