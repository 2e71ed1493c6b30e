#pragma once

#include <QMainWindow>

namespace tessaly {

class CAtelierView;
class CMyStatusBar;
class Document;

// The editor's one window: menu bar, the canvas view and the status bar. While it exists its status bar is the one
// the core writes to.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(Document& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CMyStatusBar* StatusBar() const { return statusBar_; }
    CAtelierView* View() const { return view_; }

    // Opens a .tsd document into the window; false (after the reason was
    // shown) when it could not be read, the current document then stays.
    bool OpenFile(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateMenus();
    void UpdateTitle();

    Document& doc_;
    CMyStatusBar* statusBar_ = nullptr;
    CAtelierView* view_ = nullptr;
    bool shownOnce_ = false;
    QString documentName_;
};

}  // namespace tessaly
