#pragma once

#include <QMainWindow>

namespace tessaly {

class CMyStatusBar;
class Document;

// The editor's one window: menu bar, status bar and (for now) a placeholder
// where the canvas view will go. While it exists its status bar is the one
// the core writes to.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(Document& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CMyStatusBar* StatusBar() const { return statusBar_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateMenus();
    void UpdateTitle();

    Document& doc_;
    CMyStatusBar* statusBar_ = nullptr;
    bool shownOnce_ = false;
};

}  // namespace tessaly
