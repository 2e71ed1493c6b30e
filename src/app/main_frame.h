#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <unordered_map>

#include "app/menus.h"
#include "app/work_progress_window.h"

namespace tessaly {

class CAtelierDoc;
class CAtelierView;
class CMosaicDlg;
class CMyStatusBar;
class PrinterSettings;
class Document;
class EditedDocument;
class RecentFileList;
struct CommandContext;

// The editor's one window: menu bar, toolbar "基本", the canvas view and the
// status bar. It owns the command table, answers every enable and check
// state, and runs the commands that change frame-level or display state
// (grid, guide text, hover animation, visual style, undo and redo). The states
// are brought up to date after every command and whenever the document
// reports a change or a new selection. While it exists its status bar is the
// one the core writes to.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(EditedDocument& edited, CAtelierDoc& atelierDoc, RecentFileList& recent,
               QWidget* parent = nullptr);
    // Removes the program's temporary files from the working folder.
    ~CMainFrame() override;

    CMyStatusBar* StatusBar() const { return statusBar_; }
    CAtelierView* View() const { return view_; }
    QToolBar* ToolBar() const { return menus_.toolBar; }

    // The action of a command (menu item, toolbar button or frame key).
    QAction* CommandAction(CommandId id) const;

    // The state the enable and check rules read right now.
    CommandContext CurrentContext() const;

    // Runs a command as its menu item or key would.
    void RunCommand(CommandId id);

    // Shows the photomosaic console, creating it the first time; nothing
    // happens while it is shown.
    void OpenMosaicConsole();
    bool MosaicConsoleShown() const;
    // The console; null until it is first opened.
    CMosaicDlg* MosaicDlg() const { return mosaicDlg_; }

    // The printer the print command prints with; until it is given, the
    // frame prepares one of its own when first printing.
    void SetPrinter(PrinterSettings* printer) { printer_ = printer; }

    // Sets every action's enabled and checked state from the rules.
    void UpdateCommandStates();

    // The F2 and F10 toggles hold a confirmation on screen for a while on
    // the user-interface thread. Tests replace the wait to look at the bar
    // during it.
    using Pause = std::function<void(int milliseconds)>;
    void SetPauseForTesting(Pause pause) { pause_ = std::move(pause); }

Q_SIGNALS:
    // The view properties let go of the background picture (the console,
    // which needs one, hides), or stored a new one (its histogram changed).
    void backgroundCleared();
    void backgroundPictureSet();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void WireCommands();
    void AddHandlers();
    void UpdateTitle();
    void RefreshRecentFiles();
    void OpenRecentFile(const QString& path);

    void EditViewProperties();
    // Runs the print dialog on the program's printer.
    void PrintCanvas();
    void ToggleGuide();
    void ToggleAnimation();
    void ChooseVisualStyle(int number);
    // Shows a confirmation in the information line; unless guides are on,
    // it is taken away again after a second.
    void HoldThenClear(const QString& text, bool clearAfterPause);
    void WaitPainted(int milliseconds);
    // The colour shown where the canvas's context menu was opened becomes the
    // console's no-set colour.
    void PickNoSetColour();

    EditedDocument& edited_;
    Document& doc_;
    CAtelierDoc& atelierDoc_;
    RecentFileList& recent_;
    FrameMenus menus_;
    QList<QAction*> recentActions_;
    CMyStatusBar* statusBar_ = nullptr;
    WorkProgressWindow progressWindow_{this};
    CAtelierView* view_ = nullptr;
    CMosaicDlg* mosaicDlg_ = nullptr;  // a child window of the view
    PrinterSettings* printer_ = nullptr;
    std::unique_ptr<PrinterSettings> ownPrinter_;
    int applicationLook_ = 216;
    bool shownOnce_ = false;
    // What each command does; a command without a handler only follows its
    // enable rule until its feature is built.
    std::unordered_map<CommandId, std::function<void()>> handlers_;
    Pause pause_;
};

}  // namespace tessaly
