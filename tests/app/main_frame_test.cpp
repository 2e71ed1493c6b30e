#include "app/main_frame.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/atelier_doc.h"
#include "app/commands/command_rules.h"
#include "app/my_status_bar.h"
#include "app/dialogs/property_view.h"
#include "app/visual_styles.h"
#include "view/atelier_view.h"
#include "canvas/view_geometry.h"
#include "document/document_io.h"
#include "document/edited_document.h"
#include "document/status_panes.h"
#include "resources/string_table.h"
#include "services/app_settings.h"
#include "services/message_service.h"
#include "services/recent_files.h"
#include "services/settings.h"
#include "services/status_service.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace Qt::StringLiterals;
using tessaly::CMainFrame;
using tessaly::CommandId;
using tessaly::StatusPane;

namespace {

QMenu* MenuNamed(const QList<QAction*>& actions, const QString& title) {
    for (QAction* action : actions) {
        if (action->menu() && action->text() == title) return action->menu();
    }
    return nullptr;
}

QMenu* TopMenu(CMainFrame& frame, const QString& title) {
    return MenuNamed(frame.menuBar()->actions(), title);
}

// The visible entries of a menu, by text; "-" for a separator.
QStringList Items(const QMenu* menu) {
    QStringList items;
    for (QAction* action : menu->actions()) {
        if (action->isVisible()) items << (action->isSeparator() ? u"-"_s : action->text());
    }
    return items;
}

// Every entry of `menu` and of its submenus.
QList<QAction*> AllEntries(const QMenu* menu) {
    QList<QAction*> entries;
    for (QAction* action : menu->actions()) {
        entries << action;
        if (action->menu()) entries << AllEntries(action->menu());
    }
    return entries;
}

QAction* EntryStarting(const QMenu* menu, const QString& prefix) {
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(prefix)) return action;
    }
    return nullptr;
}

// What a menu shows the moment it opens.
void Open(QMenu* menu) {
    Q_EMIT menu->aboutToShow();
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void titleNamesTheDocument();
    void statusBarShowsTheDocumentOnceShown();
    void statusBarIsReleasedWithTheFrame();
    void exitCommandClosesTheWindow();
    void quitKeyAsksLikeTheExitCommand();
    void zoomEntriesAndKeysStepAndFit();
    void canvasViewShowsTheFramedWhiteCanvas();
    void everyEntryHasItsTextAndOnlyFrameKeysAct();
    void toolBarButtonsAreDrawnAndExplained();
    void recentFilesAreListedAndOpened();
    void reopeningFromAFolderThatIsGone();
    void menusReadTheSelectionWhenTheyOpen();
    void arrangementCommandsReachTheDocument();
    void gridCommandsMarkTheDocumentWithoutHistory();
    void viewPropertiesReportAClearedBackground();
    void f2ShowsTheGuideSwitchForASecond();
    void f10TurnsTheAnimationBackOnWithTheStoredCount();
    void f1WithoutTheManualNamesTheMissingFile();
    void undoAndRedoFollowTheHistory();
    void editsEnableUndoAtOnce_data();
    void editsEnableUndoAtOnce();
    void toolBarAndStatusBarCanBeHidden();
    void styleChoiceIsAppliedStoredAndChecked();
    void closingAModifiedDocumentAsks();
    void shutdownRemovesGeneratedFiles();

private:
    // A frame on the document; a shown one is exposed before it is returned.
    std::unique_ptr<CMainFrame> MakeFrame(bool shown = false);
    // Saves the document, filled with `nodes` nodes, in the temporary folder.
    QString SaveWithNodes(const QString& name, int nodes);

    std::unique_ptr<tessaly::test::ScopedTempDir> temp_;
    std::unique_ptr<tessaly::EditedDocument> edited_;
    tessaly::Document* doc_ = nullptr;
    std::unique_ptr<tessaly::RecentFileList> recent_;
    std::unique_ptr<tessaly::CAtelierDoc> atelierDoc_;
};

void MainFrameTest::init() {
    temp_ = std::make_unique<tessaly::test::ScopedTempDir>();
    tessaly::UseSettingsFile(QDir(temp_->Path()).filePath(u"settings.ini"_s));
    tessaly::CurrentSettings() = tessaly::AppSettings{};
    edited_ = std::make_unique<tessaly::EditedDocument>();
    doc_ = &edited_->Doc();
    QVERIFY(doc_->AllocateNodeTables());
    QVERIFY(doc_->ResetDocument());
    recent_ = std::make_unique<tessaly::RecentFileList>();
    atelierDoc_ = std::make_unique<tessaly::CAtelierDoc>(*edited_, *recent_);
}

void MainFrameTest::cleanup() {
    atelierDoc_.reset();
    recent_.reset();
    doc_ = nullptr;
    edited_.reset();
    tessaly::UseSettingsFile({});
    temp_.reset();
}

std::unique_ptr<CMainFrame> MainFrameTest::MakeFrame(bool shown) {
    auto frame = std::make_unique<CMainFrame>(*edited_, *atelierDoc_, *recent_);
    // The toggles' one-second wait is not needed to see what they show.
    frame->SetPauseForTesting([](int) {});
    if (shown) {
        frame->show();
        QTest::qVerify(QTest::qWaitForWindowExposed(frame.get()), "exposed", "", __FILE__,
                       __LINE__);
    }
    return frame;
}

QString MainFrameTest::SaveWithNodes(const QString& name, int nodes) {
    const QString path = QDir(temp_->Path()).filePath(name);
    tessaly::test::FillDocument(*doc_, nodes);
    return tessaly::SaveDocument(*doc_, path) ? path : QString();
}

void MainFrameTest::titleNamesTheDocument() {
    auto frame = MakeFrame();
    QCOMPARE(frame->windowTitle(), u"無題のファイル - Tessaly"_s);

    const QString path = SaveWithNodes(u"作品.tsd"_s, 3);
    QVERIFY(atelierDoc_->OpenPath(frame.get(), path));
    QCOMPARE(frame->windowTitle(), u"作品.tsd - Tessaly"_s);
    doc_->SetModified();
    Q_EMIT atelierDoc_->titleChanged();
    // No mark for a modified document.
    QCOMPARE(frame->windowTitle(), u"作品.tsd - Tessaly"_s);
}

void MainFrameTest::statusBarShowsTheDocumentOnceShown() {
    auto frame = MakeFrame(true);
    auto* bar = qobject_cast<tessaly::CMyStatusBar*>(frame->statusBar());
    QVERIFY(bar);
    QCOMPARE(bar, frame->StatusBar());
    QCOMPARE(bar->PaneText(StatusPane::kObject), u"0"_s);
    QVERIFY(bar->PaneWidget(StatusPane::kObject)->isVisible());

    // The core's status calls reach this frame's bar.
    doc_->State().nodeCount = 2500;
    tessaly::RefreshStatusPanes(*doc_, false);
    QCOMPARE(bar->PaneText(StatusPane::kObject), u"2,500"_s);
    tessaly::SetStatusInfo(u"保存しています"_s);
    QVERIFY(bar->IsInfoShowing());
    doc_->State().nodeCount = 0;
}

void MainFrameTest::statusBarIsReleasedWithTheFrame() {
    {
        auto frame = MakeFrame();
        QVERIFY(tessaly::HasStatusSink());
    }
    QVERIFY(!tessaly::HasStatusSink());
    // Must be skipped, not written into a destroyed bar.
    tessaly::RefreshStatusPanes(*doc_, false);
    tessaly::SetStatusInfo(u"x"_s);
    tessaly::StatusProgress progress(10);
    progress.SetPos(5);
}

void MainFrameTest::exitCommandClosesTheWindow() {
    auto frame = MakeFrame(true);
    QAction* exit = EntryStarting(TopMenu(*frame, u"ファイル(&F)"_s), u"終了(&X)"_s);
    QVERIFY(exit);
    exit->trigger();
    QVERIFY(!frame->isVisible());
}

void MainFrameTest::quitKeyAsksLikeTheExitCommand() {
    auto frame = MakeFrame(true);
    tessaly::test::MessageRecorder messages;
    doc_->SetModified();
    messages.QueueAnswer(tessaly::kResultCancel);
    QTest::keyClick(frame->View(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(frame->isVisible());
    QCOMPARE(messages.Messages().size(), std::size_t{1});
    messages.QueueAnswer(tessaly::kResultNo);
    QTest::keyClick(frame->View(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!frame->isVisible());
}

// "拡大", "縮小" and "画面に合せて表示" in the view menu, and their keys; the
// keypad's "+" alone stays the cut range's key.
void MainFrameTest::zoomEntriesAndKeysStepAndFit() {
    auto frame = MakeFrame(true);
    QMenu* view = TopMenu(*frame, u"表示(&V)"_s);
    Open(view);
    for (const QString& label : {u"拡大(&I)"_s, u"縮小(&O)"_s, u"画面に合せて表示(&F)"_s}) {
        QAction* entry = EntryStarting(view, label);
        QVERIFY2(entry && entry->isEnabled(), qPrintable(label));
    }
    QCOMPARE(EntryStarting(view, u"拡大(&I)"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Plus));
    const float& zoom = doc_->State().zoom;
    QCOMPARE(zoom, 1.0f);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers keys;
        float zoom;
    } presses[] = {
        {Qt::Key_Plus, Qt::ControlModifier, 2.0f},
        {Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, 1.0f},
        {Qt::Key_Equal, Qt::ControlModifier, 2.0f},
        {Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, 3.0f},
        {Qt::Key_Plus, Qt::KeypadModifier, 3.0f},
        {Qt::Key_Minus, Qt::ControlModifier, 2.0f},
    };
    for (const auto& press : presses) {
        QTest::keyClick(frame->View(), press.key, press.keys);
        QCOMPARE(zoom, press.zoom);
    }
    QTest::keyClick(frame->View(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(zoom, tessaly::ClampZoom(
                       doc_->State(),
                       tessaly::FitZoom(doc_->State(), frame->View()->viewport()->size())));
    QVERIFY(zoom < 1.0f);
}

void MainFrameTest::canvasViewShowsTheFramedWhiteCanvas() {
    auto frame = MakeFrame();
    frame->resize(800, 600);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    QVERIFY(frame->View());
    QCOMPARE(frame->centralWidget(), frame->View());
    const QImage image = frame->View()->viewport()->grab().toImage();
    QVERIFY(!image.isNull());
    // White canvas, its frame line in the default colour along the left edge.
    QCOMPARE(image.pixelColor(400, 300), QColor(Qt::white));
    QCOMPARE(image.pixelColor(0, 300), QColor(0x48, 0x5A, 0x7B));
    // The zoom console floats at its home position.
    QVERIFY(image.pixelColor(79, 79) != QColor(Qt::white));
}

// The menus are built from the command table: an entry the text table lacks
// would show as an empty line and a mistyped id would run nothing.
void MainFrameTest::everyEntryHasItsTextAndOnlyFrameKeysAct() {
    auto frame = MakeFrame();
    int entries = 0;
    for (QAction* top : frame->menuBar()->actions()) {
        QVERIFY(top->menu() && !top->text().isEmpty());
        for (QAction* entry : AllEntries(top->menu())) {
            if (entry->isSeparator() || entry->menu()) continue;
            ++entries;
            QVERIFY2(!entry->text().isEmpty(), qPrintable(top->text()));
            const auto id = static_cast<CommandId>(entry->data().toInt());
            QVERIFY2(frame->CommandAction(id) == entry, qPrintable(entry->text()));
        }
    }
    QVERIFY(entries > 50);

    // The frame's own keys act; the canvas keys are only named.
    QCOMPARE(frame->CommandAction(CommandId::kEditUndo)->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(frame->CommandAction(CommandId::kManual)->shortcut(), QKeySequence(Qt::Key_F1));
    QVERIFY(frame->CommandAction(CommandId::kEditDelete)->text().endsWith(u"\tDelete"_s));
    QVERIFY(frame->CommandAction(CommandId::kEditDelete)->shortcut().isEmpty());
}

void MainFrameTest::toolBarButtonsAreDrawnAndExplained() {
    auto frame = MakeFrame();
    int buttons = 0;
    for (QAction* action : frame->ToolBar()->actions()) {
        if (action->isSeparator()) continue;
        ++buttons;
        QVERIFY2(!action->icon().pixmap(24, 24).isNull(), qPrintable(action->text()));
        // Its own tip, not the one Qt makes of the menu text, and a status prompt.
        QVERIFY2(action->toolTip().startsWith(u'【'), qPrintable(action->text()));
        QVERIFY2(!action->statusTip().isEmpty(), qPrintable(action->text()));
    }
    QCOMPARE(buttons, 9);
}

void MainFrameTest::recentFilesAreListedAndOpened() {
    auto frame = MakeFrame();
    QMenu* file = TopMenu(*frame, u"ファイル(&F)"_s);
    const QString first = SaveWithNodes(u"first.tsd"_s, 2);
    const QString second = SaveWithNodes(u"second.tsd"_s, 2);
    recent_->Add(first);
    recent_->Add(second);

    Open(file);
    const QStringList items = Items(file);
    const qsizetype place = items.indexOf(u"&1 "_s + QDir::toNativeSeparators(second));
    QVERIFY2(place > 0, qPrintable(items.join(u'|')));
    QCOMPARE(items.at(place + 1), u"&2 "_s + QDir::toNativeSeparators(first));
    QVERIFY(!items.contains(u"最近使ったファイル"_s));
    // Opening the menu again does not repeat the entries.
    Open(file);
    QCOMPARE(Items(file), items);

    EntryStarting(file, u"&2 "_s)->trigger();
    QCOMPARE(atelierDoc_->PathName(), QFileInfo(first).absoluteFilePath());
    QCOMPARE(frame->windowTitle(), u"first.tsd - Tessaly"_s);
    QCOMPARE(doc_->State().nodeCount, 2);

    // A listed file that has gone is dropped from the list.
    tessaly::test::MessageRecorder messages;
    QVERIFY(QFile::remove(second));
    Open(file);
    EntryStarting(file, u"&2 "_s)->trigger();
    QVERIFY(!recent_->Files().contains(QFileInfo(second).absoluteFilePath()));
}

// The open document's folder goes away: opening it again from the list says
// so, keeps the document in memory as it was and drops only that entry; the
// other entries still open.
void MainFrameTest::reopeningFromAFolderThatIsGone() {
    auto frame = MakeFrame();
    QMenu* file = TopMenu(*frame, u"ファイル(&F)"_s);
    const QString other = QFileInfo(SaveWithNodes(u"other.tsd"_s, 1)).absoluteFilePath();
    QVERIFY(QDir(temp_->Path()).mkdir(u"folder"_s));
    const QString path = QFileInfo(SaveWithNodes(u"folder/plan.tsd"_s, 3)).absoluteFilePath();
    recent_->Add(other);
    QVERIFY(atelierDoc_->OpenPath(frame.get(), path));
    const QByteArray inMemory = tessaly::test::InnerFileOf(*doc_);
    QVERIFY(QDir(QFileInfo(path).absolutePath()).removeRecursively());

    tessaly::test::MessageRecorder messages;
    Open(file);
    EntryStarting(file, u"&1 "_s)->trigger();
    QCOMPARE(messages.Texts(),
             std::vector<QString>{QDir::toNativeSeparators(path) + u'\n' +
                                  tessaly::LoadString(tessaly::kMsgFileNotFound)});
    QCOMPARE(tessaly::test::InnerFileOf(*doc_), inMemory);
    QVERIFY(!doc_->IsModified());
    QCOMPARE(atelierDoc_->PathName(), path);
    QCOMPARE(frame->windowTitle(), u"plan.tsd - Tessaly"_s);
    QCOMPARE(recent_->Files(), QStringList{other});

    Open(file);
    EntryStarting(file, u"&1 "_s)->trigger();
    QCOMPARE(atelierDoc_->PathName(), other);
    QCOMPARE(doc_->State().nodeCount, 1);
}

// The states are read again as a menu opens, with hidden nodes left out.
void MainFrameTest::menusReadTheSelectionWhenTheyOpen() {
    auto frame = MakeFrame();
    QMenu* align = TopMenu(*frame, u"整列(&A)"_s);
    tessaly::test::FillDocument(*doc_, 3);
    doc_->Mark(0).selected = 1;
    doc_->Mark(1).selected = 1;
    doc_->Node(1).visible = 0;
    doc_->State().mainSelection = 0;
    Open(align);
    QVERIFY(!frame->CommandAction(CommandId::kAlignRight)->isEnabled());
    QVERIFY(frame->CommandAction(CommandId::kCentreVertical)->isEnabled());
    QVERIFY(frame->CommandAction(CommandId::kShowAll)->isEnabled());

    doc_->Node(1).visible = 1;
    doc_->Mark(2).selected = 1;
    Open(align);
    QVERIFY(frame->CommandAction(CommandId::kAlignRight)->isEnabled());
    QVERIFY(frame->CommandAction(CommandId::kSpaceHorizontal)->isEnabled());
}

void MainFrameTest::arrangementCommandsReachTheDocument() {
    tessaly::test::MessageRecorder messages;
    tessaly::test::FillDocument(*doc_, 3);
    auto frame = MakeFrame(true);
    for (const int i : {0, 2}) doc_->Mark(i).selected = 1;
    doc_->State().mainSelection = 0;
    frame->UpdateCommandStates();

    // A menu entry runs its command of the core.
    frame->CommandAction(CommandId::kAlignLeft)->trigger();
    QCOMPARE(doc_->Node(2).centerX - doc_->Node(2).halfWidth,
             doc_->Node(0).centerX - doc_->Node(0).halfWidth);
    QCOMPARE(edited_->UndoCount(), 1);

    // So does a key of the canvas: Delete asks first.
    messages.QueueAnswer(tessaly::kResultYes);
    frame->View()->setFocus();
    QTest::keyClick(frame->View(), Qt::Key_Delete);
    QCOMPARE(doc_->State().nodeCount, 1);
    QCOMPARE(messages.Texts().size(), std::size_t{1});
}

void MainFrameTest::viewPropertiesReportAClearedBackground() {
    tessaly::test::FillDocument(*doc_, 1);
    auto frame = MakeFrame();
    QSignalSpy cleared(frame.get(), &CMainFrame::backgroundCleared);
    // Both entries open the dialog; "クリア" then "保存終了" lets the picture go.
    for (const CommandId id : {CommandId::kViewProperties, CommandId::kSetBackground}) {
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<tessaly::CPropertyView*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == u"クリア(&K)"_s && button->isEnabled()) button->click();
            }
            dialog->accept();
        });
        frame->RunCommand(id);
    }
    QVERIFY(!doc_->State().backPicture);
    QCOMPARE(cleared.count(), 1);  // the second time there was nothing to clear
}

void MainFrameTest::gridCommandsMarkTheDocumentWithoutHistory() {
    auto frame = MakeFrame(true);
    QApplication::processEvents();
    QAction* none = frame->CommandAction(CommandId::kGridNone);
    doc_->State().gridMode = -2;
    none->trigger();
    QCOMPARE(doc_->State().gridMode, 2);
    QVERIFY(!none->isChecked());
    QVERIFY(frame->CommandAction(CommandId::kGrid40)->isChecked());

    doc_->State().gridMode = 5;
    doc_->SetModified(false);
    none->trigger();
    QCOMPARE(doc_->State().gridMode, -5);
    QVERIFY(none->isChecked());
    QVERIFY(doc_->IsModified());

    const int composed = frame->View()->ComposeCount();
    doc_->SetModified(false);
    frame->CommandAction(CommandId::kGrid100)->trigger();
    QCOMPARE(doc_->State().gridMode, 4);
    QVERIFY(doc_->IsModified());
    // The canvas is composed again with the grid.
    QTRY_VERIFY(frame->View()->ComposeCount() > composed);

    const int onTop = doc_->State().gridOnTop;
    frame->CommandAction(CommandId::kGridOnTop)->trigger();
    QCOMPARE(doc_->State().gridOnTop, 1 - onTop);
    QCOMPARE(frame->CommandAction(CommandId::kGridOnTop)->isChecked(), onTop == 0);
    // Grid changes are not steps of the history.
    QCOMPARE(edited_->UndoCount(), 0);
}

void MainFrameTest::f1WithoutTheManualNamesTheMissingFile() {
    // The test program's folder holds no manual.
    QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + u"/Manual.pdf"_s));
    auto frame = MakeFrame(true);
    tessaly::test::MessageRecorder messages;
    QTest::keyClick(frame.get(), Qt::Key_F1);
    QCOMPARE(messages.Texts(),
             std::vector<QString>{u"Manual.pdf\n実行ファイルと同じ場所に上記のファイルがありません"_s});
    QCOMPARE(messages.Messages().front().style, int(tessaly::kStyleStop));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainFrameTest::f2ShowsTheGuideSwitchForASecond() {
    auto frame = MakeFrame(true);
    tessaly::CMyStatusBar* bar = frame->StatusBar();
    QStringList seenDuringPause;
    int pausedFor = 0;
    frame->SetPauseForTesting([&](int ms) {
        pausedFor += ms;
        seenDuringPause << bar->InfoText();
        QVERIFY(bar->IsInfoShowing());
    });

    tessaly::CurrentSettings().dspGuide = 1;
    QTest::keyClick(frame.get(), Qt::Key_F2);
    QCOMPARE(tessaly::CurrentSettings().dspGuide, 0);
    QCOMPARE(seenDuringPause,
             QStringList{u"ステータスバーに操作ガイドを表示しないように設定しました"_s});
    QCOMPARE(pausedFor, 1000);
    QVERIFY(!bar->IsInfoShowing());

    QTest::keyClick(frame.get(), Qt::Key_F2);
    QCOMPARE(tessaly::CurrentSettings().dspGuide, 1);
    QCOMPARE(pausedFor, 1000);
    QVERIFY(bar->IsInfoShowing());
    QCOMPARE(bar->InfoText(), u"ステータスバーに操作ガイドを表示するように設定しました"_s);
    // Neither press wrote the store; the value is kept for the exit.
    QCOMPARE(tessaly::GetProfileInt(u"SYS"_s, u"DspGuide"_s, -7), -7);
}

void MainFrameTest::f10TurnsTheAnimationBackOnWithTheStoredCount() {
    auto frame = MakeFrame(true);
    tessaly::CMyStatusBar* bar = frame->StatusBar();
    QString seen;
    frame->SetPauseForTesting([&](int) { seen = bar->InfoText(); });

    tessaly::WriteProfileInt(u"SYS"_s, u"PlayAnime"_s, 0);
    tessaly::CurrentSettings().playAnime = 0;
    tessaly::CurrentSettings().dspGuide = 0;
    QTest::keyClick(frame.get(), Qt::Key_F10);
    QCOMPARE(tessaly::CurrentSettings().playAnime, 3);
    QCOMPARE(seen, u"イメージ上にマウスカーソルが乗ったとき、アニメを表示するように設定しました"_s);
    QVERIFY(!bar->IsInfoShowing());

    // With guides on the text stays.
    tessaly::CurrentSettings().dspGuide = 1;
    seen.clear();
    QTest::keyClick(frame.get(), Qt::Key_F10);
    QCOMPARE(tessaly::CurrentSettings().playAnime, 0);
    QVERIFY(seen.isEmpty());
    QCOMPARE(bar->InfoText(),
             u"イメージ上にマウスカーソルが乗ったとき、アニメを表示しないように設定しました"_s);

    // A stored count is taken as it is; one that would keep it off gives 3.
    tessaly::WriteProfileInt(u"SYS"_s, u"PlayAnime"_s, 7);
    QTest::keyClick(frame.get(), Qt::Key_F10);
    QCOMPARE(tessaly::CurrentSettings().playAnime, 7);
    QTest::keyClick(frame.get(), Qt::Key_F10);
    tessaly::WriteProfileInt(u"SYS"_s, u"PlayAnime"_s, -4);
    QTest::keyClick(frame.get(), Qt::Key_F10);
    QCOMPARE(tessaly::CurrentSettings().playAnime, 3);
}

void MainFrameTest::undoAndRedoFollowTheHistory() {
    auto frame = MakeFrame(true);
    QAction* undo = frame->CommandAction(CommandId::kEditUndo);
    QAction* redo = frame->CommandAction(CommandId::kEditRedo);
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QVERIFY(!frame->ToolBar()->widgetForAction(undo)->isEnabled());

    tessaly::test::FillDocument(*doc_, 2);
    doc_->State().zoom = 1.0f;
    {
        tessaly::EditScope edit(*edited_, tessaly::SnapshotRule::Always);
        doc_->State().zoom = 2.0f;
        edit.Commit();
    }
    // The edit's notification brings the states up to date at once.
    QVERIFY(undo->isEnabled());
    QVERIFY(frame->ToolBar()->widgetForAction(undo)->isEnabled());
    QVERIFY(!redo->isEnabled());

    QTest::keyClick(frame.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc_->State().zoom, 1.0f);
    QVERIFY(!undo->isEnabled());
    QVERIFY(redo->isEnabled());
    QVERIFY(frame->ToolBar()->widgetForAction(redo)->isEnabled());

    redo->trigger();
    QCOMPARE(doc_->State().zoom, 2.0f);
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    // A disabled command does nothing, however it is reached.
    frame->RunCommand(CommandId::kEditRedo);
    QCOMPARE(edited_->UndoCount(), 1);
}

void MainFrameTest::editsEnableUndoAtOnce_data() {
    QTest::addColumn<QString>("edit");
    QTest::newRow("file drop") << u"drop"_s;
    QTest::newRow("add from the popup") << u"popup"_s;
    QTest::newRow("canvas edge") << u"edge"_s;
}

// However an edit starts, the undo button is enabled when it ends, without
// waiting for the event loop, and the first Ctrl+Z takes it back.
void MainFrameTest::editsEnableUndoAtOnce() {
    QFETCH(QString, edit);
    tessaly::test::MessageRecorder messages;
    auto frame = MakeFrame(true);
    tessaly::CAtelierView* view = frame->View();
    view->SetZoom(0.5f);  // the whole canvas in the window, its right edge at x = 500
    const QString png = tessaly::test::WriteFile(
        temp_->Path(), u"tile.png"_s, tessaly::test::PngBytes(tessaly::test::Gradient(8, 8)));
    QAction* undo = frame->CommandAction(CommandId::kEditUndo);
    QVERIFY(!undo->isEnabled());

    if (edit == u"drop") {
        messages.QueueAnswer(tessaly::kResultNo);  // no shrinking
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(png)});
        view->Images().Drop(data, QPoint(100, 100));
    } else if (edit == u"popup") {
        view->Images().SetFileChooserForTesting([&](const QString&) { return QStringList{png}; });
        messages.QueueAnswer(tessaly::kResultNo);  // no sample images
        messages.QueueAnswer(tessaly::kResultNo);  // no shrinking
        view->RunPopupCommand(CommandId::kAddImages);
    } else {
        messages.QueueAnswer(tessaly::kResultYes);  // the nodes follow
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(500, 100));
        QTest::mouseMove(view->viewport(), QPoint(600, 100));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(600, 100));
    }
    QVERIFY(doc_->State().nodeCount == 1 || doc_->State().canvasWidth == 1200);
    QVERIFY(undo->isEnabled());
    QVERIFY(frame->ToolBar()->widgetForAction(undo)->isEnabled());

    QTest::keyClick(frame.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc_->State().nodeCount, 0);
    QCOMPARE(doc_->State().canvasWidth, 1000);
    QVERIFY(!undo->isEnabled());
}

void MainFrameTest::toolBarAndStatusBarCanBeHidden() {
    auto frame = MakeFrame(true);
    const std::pair<CommandId, QWidget*> bars[] = {{CommandId::kViewToolBar, frame->ToolBar()},
                                                   {CommandId::kViewStatusBar, frame->StatusBar()}};
    for (const auto& [id, bar] : bars) {
        QAction* toggle = frame->CommandAction(id);
        QVERIFY(toggle->isChecked());
        toggle->trigger();
        QVERIFY(!bar->isVisible());
        QVERIFY(!toggle->isChecked());
        toggle->trigger();
        QVERIFY(bar->isVisible());
    }
}

void MainFrameTest::styleChoiceIsAppliedStoredAndChecked() {
    auto frame = MakeFrame();
    // The default look is the black Office 2007 one.
    QVERIFY(frame->CommandAction(CommandId::kStyleOffice2007Black)->isChecked());

    frame->CommandAction(CommandId::kStyleWindows2000)->trigger();
    QCOMPARE(tessaly::GetProfileInt({}, u"ApplicationLook"_s, 0), 205);
    QCOMPARE(QApplication::style()->name(), u"windows"_s);
    QVERIFY(frame->CommandAction(CommandId::kStyleWindows2000)->isChecked());
    QVERIFY(!frame->CommandAction(CommandId::kStyleOffice2007Black)->isChecked());

    frame->CommandAction(CommandId::kStyleOffice2007Silver)->trigger();
    QCOMPARE(tessaly::GetProfileInt({}, u"ApplicationLook"_s, 0), 217);
    QCOMPARE(QApplication::style()->name(), u"fusion"_s);

    // The next frame starts with the stored look; one no entry carries still
    // gets its look.
    frame.reset();
    QVERIFY(MakeFrame()->CommandAction(CommandId::kStyleOffice2007Silver)->isChecked());
    for (int stored : {219, 300}) {
        tessaly::WriteProfileInt({}, u"ApplicationLook"_s, stored);
        auto next = MakeFrame();
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 tessaly::VisualStyleFor(stored).palette.color(QPalette::Window));
    }
}

void MainFrameTest::closingAModifiedDocumentAsks() {
    auto frame = MakeFrame(true);
    tessaly::test::MessageRecorder messages;
    doc_->SetModified();
    messages.QueueAnswer(tessaly::kResultCancel);
    QVERIFY(!frame->close());
    QVERIFY(frame->isVisible());
    QCOMPARE(messages.Messages().size(), std::size_t{1});

    messages.QueueAnswer(tessaly::kResultNo);
    QVERIFY(frame->close());
    QVERIFY(!frame->isVisible());

    // An unmodified document closes without a question.
    messages.Clear();
    doc_->SetModified(false);
    frame->show();
    QVERIFY(frame->close());
    QVERIFY(messages.Messages().empty());
}

void MainFrameTest::shutdownRemovesGeneratedFiles() {
    const QDir work(temp_->WorkingFolderPath());
    QVERIFY(work.mkpath(u"."_s));
    QVERIFY(work.mkpath(u"TSDfolder"_s));
    const QStringList generated{u"TSD1A.tmp"_s, u"tsd2b"_s, u"TsD"_s};
    const QStringList kept{u"xTSD.tmp"_s, u"notes.txt"_s};
    for (const QString& name : generated + kept) {
        QFile file(work.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    {
        auto frame = MakeFrame();
        tessaly::test::FillDocument(*doc_, 1);
        tessaly::EditScope edit(*edited_, tessaly::SnapshotRule::Always);
        edit.Commit();
    }
    for (const QString& name : generated)
        QVERIFY2(!work.exists(name), qPrintable(name));
    for (const QString& name : kept)
        QVERIFY2(work.exists(name), qPrintable(name));
    QVERIFY(work.exists(u"TSDfolder"_s));
}

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
