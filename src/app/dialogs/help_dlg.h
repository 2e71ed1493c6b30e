#pragma once

#include <QDialog>

class QPdfDocument;
class QPdfView;

namespace tessaly {

// The manual "Manual.pdf" from the editor's own folder, shown in a modal
// window with an embedded PDF viewer. When the file is missing the dialog
// names it above message 30173 and closes; when it cannot be read it says so
// instead of showing an empty window.
class CHelpDlg : public QDialog {
    Q_OBJECT

public:
    // `programFolder` empty means the editor's folder.
    explicit CHelpDlg(QWidget* parent = nullptr, QString programFolder = {});

    // Shows the manual until the user closes it. When it cannot be shown the
    // dialog reports why and returns Rejected without opening a window.
    int exec() override;

    // The full path of the manual looked for.
    QString ManualPath() const;

    QPdfDocument* Document() const { return document_; }
    QPdfView* View() const { return view_; }

private:
    // Loads the manual; false (after telling the user) when it cannot be shown.
    bool LoadManual();
    // About two thirds of the screen's width and nearly its height, centred
    // over the window that opened the manual.
    void PlaceOnScreen();

    QString programFolder_;
    QPdfDocument* document_;
    QPdfView* view_;
};

}  // namespace tessaly
