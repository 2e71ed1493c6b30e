#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QThread>
#include <QToolBar>

#include "app/atelier_doc.h"
#include "app/commands/multi_cut_control.h"
#include "app/dialogs/insatu_dlg.h"
#include "app/dialogs/mosaic_dlg.h"
#include "app/my_status_bar.h"
#include "app/visual_styles.h"
#include "view/atelier_view.h"
#include "edits/view_properties.h"
#include "edits/view_settings.h"
#include "document/edited_document.h"
#include "image/working_folder.h"
#include "print/printer_settings.h"
#include "resources/string_table.h"
#include "services/app_settings.h"
#include "services/recent_files.h"
#include "services/settings.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

constexpr int kConfirmationMs = 1000;

// A toggle's confirmation says "…する…" when switched on and "…しない…" when
// switched off.
QString ToggleText(int messageId, bool on) {
    QString text = LoadString(messageId);
    if (!on) text.replace(ui_text::kWordOn.toString(), ui_text::kWordOff.toString());
    return text;
}

// The stored hover-animation count that F10 switches back on; a stored value
// that would leave the animation off (0, negative) or is out of range gives 3.
int StoredAnimationCount() {
    const int stored = GetProfileInt(kSystemSection, QStringLiteral("PlayAnime"), 3);
    return stored >= 1 && stored <= 10 ? stored : 3;
}

}  // namespace

CMainFrame::CMainFrame(EditedDocument& edited, CAtelierDoc& atelierDoc, RecentFileList& recent,
                       QWidget* parent)
    : QMainWindow(parent),
      edited_(edited),
      doc_(edited.Doc()),
      atelierDoc_(atelierDoc),
      recent_(recent) {
    applicationLook_ = StoredApplicationLook();
    ApplyVisualStyle(applicationLook_);
    resize(1024, 768);

    menus_ = BuildFrameMenus(*this);

    statusBar_ = new CMyStatusBar(this);
    setStatusBar(statusBar_);
    InstallStatusSink(statusBar_);
    InstallWorkProgressSink(&progressWindow_);

    view_ = new CAtelierView(edited_, this);
    setCentralWidget(view_);
    atelierDoc_.SetView(view_);

    connect(view_, &CAtelierView::commandRequested, this, &CMainFrame::RunCommand);
    connect(view_, &CAtelierView::multiCutChanged, this, &CMainFrame::UpdateCommandStates);
    connect(&edited_, &EditedDocument::documentChanged, this, &CMainFrame::UpdateCommandStates);
    connect(&edited_, &EditedDocument::selectionChanged, this,
            &CMainFrame::UpdateCommandStates);
    connect(&edited_, &EditedDocument::viewSettingChanged, this,
            &CMainFrame::UpdateCommandStates);
    connect(&atelierDoc_, &CAtelierDoc::titleChanged, this, [this] {
        UpdateTitle();
        UpdateCommandStates();
    });
    // The console needs a background picture: it goes when the picture does.
    connect(this, &CMainFrame::backgroundCleared, this, [this] {
        if (mosaicDlg_) mosaicDlg_->HideConsole();
    });
    multiCut_ = new MultiCutControl(*view_, this);
    WireCommands();
    UpdateTitle();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    // The bar goes with this window; the core must not write to it afterwards.
    InstallStatusSink(nullptr);
    InstallWorkProgressSink(nullptr);
    atelierDoc_.SetView(nullptr);
    // The view and its history go first, then the files they leave behind.
    mosaicDlg_ = nullptr;  // goes with the view
    delete takeCentralWidget();
    view_ = nullptr;
    CleanWorkingFolder();
}

QAction* CMainFrame::CommandAction(CommandId id) const {
    const auto found = menus_.actions.find(id);
    return found == menus_.actions.end() ? nullptr : found->second;
}

void CMainFrame::WireCommands() {
    for (const auto& [id, action] : menus_.actions) {
        connect(action, &QAction::triggered, this,
                [this, commandId = id] { RunCommand(commandId); });
    }
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    }
    connect(menus_.fileMenu, &QMenu::aboutToShow, this, &CMainFrame::RefreshRecentFiles);
}

void CMainFrame::ViewPropertiesApplied(const AppliedViewProperties& applied) {
    if (applied.backgroundCleared) Q_EMIT backgroundCleared();
    if (applied.backgroundSet) Q_EMIT backgroundPictureSet();
}

void CMainFrame::ToggleToolBar() { menus_.toolBar->setVisible(menus_.toolBar->isHidden()); }

void CMainFrame::ToggleStatusBar() { statusBar_->setVisible(statusBar_->isHidden()); }

void CMainFrame::PrintCanvas() {
    if (printer_ == nullptr) {
        if (!ownPrinter_) {
            ownPrinter_ = std::make_unique<PrinterSettings>();
            ownPrinter_->Prepare();
        }
        printer_ = ownPrinter_.get();
    }
    CInsatuDlg dialog(doc_, printer_->Printer(), this);
    dialog.exec();
}

void CMainFrame::RunCommand(CommandId id) {
    // A disabled command does nothing, whichever way it was reached.
    if (!StateOf(id, CurrentContext()).enabled) return;
    if (const Command* command = Commands().Find(id); command != nullptr && command->run) {
        command->run(*this);
    }
    UpdateCommandStates();
}

CommandContext CMainFrame::CurrentContext() const {
    CommandContext context = ReadDocumentContext(doc_);
    context.undoCount = edited_.UndoCount();
    context.redoCount = edited_.RedoCount();
    context.toolBarShown = menus_.toolBar && !menus_.toolBar->isHidden();
    context.statusBarShown = statusBar_ && !statusBar_->isHidden();
    context.applicationLook = applicationLook_;
    context.consoleShown = MosaicConsoleShown();
    context.multiCutMode = view_ && view_->MultiCut().IsOn();
    return context;
}

void CMainFrame::OpenMosaicConsole() {
    if (!mosaicDlg_) mosaicDlg_ = new CMosaicDlg(edited_, *view_);
    mosaicDlg_->Open();
}

bool CMainFrame::MosaicConsoleShown() const {
    return view_ && view_->MosaicConsoleShown();
}

void CMainFrame::PickNoSetColour() {
    if (!mosaicDlg_ || !MosaicConsoleShown()) return;
    const QColor shown = view_->ShownColourAt(view_->ViewToClient(view_->InsertPoint()));
    if (shown.isValid()) mosaicDlg_->SetNoSetColour(MakeColorRef(shown.red(), shown.green(), shown.blue()));
}

void CMainFrame::UpdateCommandStates() {
    const CommandContext context = CurrentContext();
    for (const auto& [id, action] : menus_.actions) {
        const CommandState state = StateOf(id, context);
        action->setEnabled(state.enabled);
        if (action->isCheckable()) action->setChecked(state.checked);
    }
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(QStringLiteral("%1 - %2").arg(atelierDoc_.Title(), ui_text::kAppTitle));
}

void CMainFrame::RefreshRecentFiles() {
    QMenu* file = menus_.fileMenu;
    for (QAction* action : recentActions_) {
        file->removeAction(action);
        action->deleteLater();
    }
    recentActions_.clear();
    const QStringList& files = recent_.Files();
    const int count = std::min<int>(static_cast<int>(files.size()), kRecentFileCommands);
    for (int i = 0; i < count; ++i) {
        const QString path = files.at(i);
        auto* action = new QAction(RecentFileMenuText(i, QDir::toNativeSeparators(path)), file);
        action->setData(static_cast<int>(RecentFileCommand(i)));
        connect(action, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
        file->insertAction(menus_.recentFilesPlace, action);
        recentActions_.append(action);
    }
    menus_.recentFilesPlace->setVisible(count == 0);
}

void CMainFrame::OpenRecentFile(const QString& path) {
    // Opening from the list replaces the document just as "開く" does.
    if (!atelierDoc_.SaveModified(this)) return;
    if (!atelierDoc_.OpenPath(this, path)) recent_.Remove(path);
    UpdateCommandStates();
}

void CMainFrame::ToggleGuide() {
    AppSettings& settings = CurrentSettings();
    settings.dspGuide = 1 - settings.dspGuide;
    HoldThenClear(ToggleText(kMsgGuideSwitched, settings.dspGuide != 0), settings.dspGuide == 0);
}

void CMainFrame::ToggleAnimation() {
    AppSettings& settings = CurrentSettings();
    settings.playAnime = settings.playAnime <= 0 ? StoredAnimationCount() : 0;
    if (settings.playAnime == 0) view_->StopHoverAnimation();
    HoldThenClear(ToggleText(kMsgAnimationSwitched, settings.playAnime > 0),
                  CurrentSettings().dspGuide == 0);
}

void CMainFrame::HoldThenClear(const QString& text, bool clearAfterPause) {
    SetStatusInfo(text);
    if (!clearAfterPause) return;
    WaitPainted(kConfirmationMs);
    SetStatusInfo({});
}

void CMainFrame::WaitPainted(int milliseconds) {
    if (pause_) {
        pause_(milliseconds);
        return;
    }
    // The wait blocks the event loop, so the text is painted and handed to
    // the window system first.
    statusBar_->repaint();
    QGuiApplication::sync();
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void CMainFrame::ChooseVisualStyle(int number) {
    applicationLook_ = number;
    ApplyVisualStyle(number);
    StoreApplicationLook(number);
    update();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (atelierDoc_.PathName().isEmpty()) view_->InitialUpdate(false);
    view_->setFocus();
    UpdateCommandStates();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!atelierDoc_.SaveModified(this)) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool CMainFrame::event(QEvent* event) {
    // Prompts of menu items and toolbar buttons use the information line, so
    // the panes come back when the pointer leaves.
    if (event->type() == QEvent::StatusTip) {
        if (statusBar_ && statusBar_->isVisible()) {
            statusBar_->SetInfoText(static_cast<QStatusTipEvent*>(event)->tip());
        }
        return true;
    }
    return QMainWindow::event(event);
}

}  // namespace tessaly
