#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "app/commands/command.h"
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
// status bar. It builds its menus from the command table, runs the commands
// as their units say, and is their one environment: what a command reaches
// of the program. The enable and check states are brought up to date after
// every command and whenever the document reports a change or a new
// selection. While it exists its status bar is the
// one the core writes to.
class CMainFrame : public QMainWindow, public CommandEnvironment {
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
    void OpenMosaicConsole() override;
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
    // What the commands reach.
    EditedDocument& Edited() override { return edited_; }
    CAtelierDoc& AtelierDoc() override { return atelierDoc_; }
    CAtelierView& Canvas() override { return *view_; }
    RecentFileList& Recent() override { return recent_; }
    MultiCutControl& MultiCut() override { return *multiCut_; }
    QWidget* Owner() override { return this; }
    void ToggleToolBar() override;
    void ToggleStatusBar() override;
    void ToggleGuide() override;
    void ToggleAnimation() override;
    void ChooseVisualStyle(int number) override;
    void ViewPropertiesApplied(const AppliedViewProperties& applied) override;
    // Runs the print dialog on the program's printer.
    void PrintCanvas() override;
    void PickNoSetColour() override;
    void CloseWindow() override { close(); }

    void WireCommands();
    void UpdateTitle();
    void RefreshRecentFiles();
    void OpenRecentFile(const QString& path);

    // Shows a confirmation in the information line; unless guides are on,
    // it is taken away again after a second.
    void HoldThenClear(const QString& text, bool clearAfterPause);
    void WaitPainted(int milliseconds);

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
    MultiCutControl* multiCut_ = nullptr;  // a child of this window
    Pause pause_;
};

}  // namespace tessaly
