#include "app/main_frame.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/atelier_doc.h"
#include "app/commands/command_rules.h"
#include "app/my_status_bar.h"
#include "app/visual_styles.h"
#include "canvas/view/atelier_view.h"
#include "document/document_io.h"
#include "document/edited_document.h"
#include "services/app_settings.h"
#include "services/message_service.h"
#include "services/recent_files.h"
#include "services/settings.h"
#include "services/status_service.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"

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

// A menu as text: "-" for a separator, "name >" for a submenu; hidden items
// are left out.
QStringList Items(const QMenu* menu) {
    QStringList items;
    for (QAction* action : menu->actions()) {
        if (!action->isVisible()) continue;
        if (action->isSeparator()) {
            items << u"-"_s;
        } else if (action->menu()) {
            items << action->text() + u" >"_s;
        } else {
            items << action->text();
        }
    }
    return items;
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
    void canvasViewShowsTheFramedWhiteCanvas();
    void menusListEveryItemInOrder();
    void toolBarHoldsTheDrawnButtons();
    void recentFilesAreListedAndOpened();
    void alignmentFollowsTheSelectionWhenTheMenuOpens();
    void hiddenSelectedNodesDoNotCount();
    void gridNoneSwapsShownAndHidden();
    void gridSpacingAndOnTopMarkTheDocument();
    void f2ShowsTheGuideSwitchForASecond();
    void f10TurnsTheAnimationBackOnWithTheStoredCount();
    void undoAndRedoFollowTheHistory();
    void editsEnableUndoAtOnce_data();
    void editsEnableUndoAtOnce();
    void toolBarAndStatusBarCanBeHidden();
    void styleChoiceIsAppliedStoredAndChecked();
    void unknownStoredStyleChecksNothing();
    void closingAModifiedDocumentAsks();
    void shutdownRemovesGeneratedFiles();

private:
    std::unique_ptr<CMainFrame> MakeFrame();

    std::unique_ptr<tessaly::test::ScopedTempDir> temp_;
    std::unique_ptr<tessaly::EditedDocument> edited_;
    tessaly::Document* doc_ = nullptr;
    std::unique_ptr<tessaly::RecentFileList> recent_;
    std::unique_ptr<tessaly::CAtelierDoc> atelierDoc_;
    QString settingsFile_;
};

void MainFrameTest::init() {
    temp_ = std::make_unique<tessaly::test::ScopedTempDir>();
    settingsFile_ = QDir(temp_->Path()).filePath(u"settings.ini"_s);
    tessaly::UseSettingsFile(settingsFile_);
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

std::unique_ptr<CMainFrame> MainFrameTest::MakeFrame() {
    auto frame = std::make_unique<CMainFrame>(*edited_, *atelierDoc_, *recent_);
    // The toggles' one-second wait is not needed to see what they show.
    frame->SetPauseForTesting([](int) {});
    return frame;
}

void MainFrameTest::titleNamesTheDocument() {
    auto frame = MakeFrame();
    QCOMPARE(frame->windowTitle(), u"無題のファイル - Tessaly"_s);

    const QString path = QDir(temp_->Path()).filePath(u"作品.tsd"_s);
    tessaly::test::FillDocument(*doc_, 3);
    QVERIFY(tessaly::SaveDocument(*doc_, path));
    QVERIFY(atelierDoc_->OpenPath(frame.get(), path));
    QCOMPARE(frame->windowTitle(), u"作品.tsd - Tessaly"_s);
    doc_->SetModified();
    Q_EMIT atelierDoc_->titleChanged();
    // No mark for a modified document.
    QCOMPARE(frame->windowTitle(), u"作品.tsd - Tessaly"_s);
}

void MainFrameTest::statusBarShowsTheDocumentOnceShown() {
    auto frame = MakeFrame();
    auto* bar = qobject_cast<tessaly::CMyStatusBar*>(frame->statusBar());
    QVERIFY(bar);
    QCOMPARE(bar, frame->StatusBar());
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    QCOMPARE(bar->PaneText(StatusPane::kObject), u"0"_s);
    QCOMPARE(bar->PaneText(StatusPane::kPos), QString());
    QCOMPARE(bar->PaneText(StatusPane::kSize), QString());
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
    auto frame = MakeFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));

    QMenu* file = TopMenu(*frame, u"ファイル(&F)"_s);
    QVERIFY(file);
    QAction* exit = nullptr;
    for (QAction* action : file->actions()) {
        if (action->text() == u"終了(&X)"_s) exit = action;
    }
    QVERIFY(exit);
    exit->trigger();
    QVERIFY(!frame->isVisible());
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

void MainFrameTest::menusListEveryItemInOrder() {
    auto frame = MakeFrame();
    QStringList titles;
    for (QAction* action : frame->menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles,
             (QStringList{u"ファイル(&F)"_s, u"編集(&E)"_s, u"表示(&V)"_s, u"フォトモザイク(&P)"_s,
                          u"マルチカット(&M)"_s, u"回転(&R)"_s, u"整列(&A)"_s, u"ヘルプ(&H)"_s}));

    QMenu* file = TopMenu(*frame, u"ファイル(&F)"_s);
    Open(file);
    QCOMPARE(Items(file), (QStringList{u"新規作成(&N)\tCtrl+N"_s, u"開く(&O)...\tCtrl+O"_s,
                                       u"上書き保存(&S)\tCtrl+S"_s, u"名前を付けて保存(&A)..."_s,
                                       u"-"_s, u"1枚のイメージとして保存(&I)"_s, u"印刷(&P)"_s,
                                       u"-"_s, u"環境設定(&K)"_s, u"最近使ったファイルの管理(&R)"_s,
                                       u"-"_s, u"最近使ったファイル"_s, u"-"_s, u"終了(&X)"_s}));

    QCOMPARE(
        Items(TopMenu(*frame, u"編集(&E)"_s)),
        (QStringList{u"元に戻す(&U)\tCtrl+Z"_s, u"やり直し(&R)\tCtrl+Y"_s, u"-"_s,
                     u"コピー(&C)\tCtrl+C"_s, u"貼り付け(&P)\tCtrl+V"_s, u"削除(&D)\tDelete"_s}));

    QMenu* view = TopMenu(*frame, u"表示(&V)"_s);
    QCOMPARE(Items(view),
             (QStringList{u"選択イメージを非表示(&H)"_s, u"すべてのイメージを表示(&D)"_s, u"-"_s,
                          u"グリッド(&G) >"_s, u"グリッド最前面(&M)"_s, u"-"_s, u"ツールバー(&T)"_s,
                          u"ステータスバー(&S)"_s, u"-"_s, u"スタイル(&A) >"_s}));
    QCOMPARE(Items(MenuNamed(view->actions(), u"グリッド(&G)"_s)),
             (QStringList{u"なし"_s, u"-"_s, u"中央十字線"_s, u"10ピクセル間隔"_s,
                          u"40ピクセル間隔"_s, u"70ピクセル間隔"_s, u"100ピクセル間隔"_s}));
    QMenu* style = MenuNamed(view->actions(), u"スタイル(&A)"_s);
    QCOMPARE(Items(style),
             (QStringList{u"Windows 2000(&2)"_s, u"Office XP(&X)"_s, u"Windows XP(&W)"_s,
                          u"Office 2003(&3)"_s, u"Visual Studio 200&5"_s, u"Visual Studio 200&8"_s,
                          u"Office 2007(&7) >"_s}));
    QCOMPARE(Items(MenuNamed(style->actions(), u"Office 2007(&7)"_s)),
             (QStringList{u"ブルー スタイル(&B)"_s, u"ブラック スタイル(&L)"_s,
                          u"シルバー スタイル(&S)"_s, u"アクア スタイル(&A)"_s}));

    QCOMPARE(Items(TopMenu(*frame, u"フォトモザイク(&P)"_s)),
             (QStringList{u"①背景イメージのセット(&P)"_s, u"②イメージ追加(&I)\tDrag&&Drop"_s,
                          u"③コンソール表示(&M)"_s, u"-"_s, u"イメージサイズ確認(&S)"_s,
                          u"モザイク用イメージ一括作成(&G)"_s}));
    QCOMPARE(Items(TopMenu(*frame, u"マルチカット(&M)"_s)),
             (QStringList{u"マルチカット処理(&H)\tCtrl+M"_s, u"マルチカット中止(&Q)\tEsc"_s,
                          u"マルチカット実行(&G)"_s, u"マルチカット設定(&S)"_s}));
    QCOMPARE(Items(TopMenu(*frame, u"回転(&R)"_s)),
             (QStringList{u"右へ90度(&R)"_s, u"180度(&U)"_s, u"左へ90度(&L)"_s, u"-"_s,
                          u"左右逆転(&H)"_s, u"上下逆転(&V)"_s}));
    QCOMPARE(
        Items(TopMenu(*frame, u"整列(&A)"_s)),
        (QStringList{u"左揃え"_s, u"右揃え"_s, u"上揃え"_s, u"下揃え"_s, u"-"_s, u"垂直中央揃え"_s,
                     u"水平中央揃え"_s, u"垂直均等揃え"_s, u"水平均等揃え"_s, u"-"_s, u"幅揃え"_s,
                     u"高さ揃え"_s, u"幅と高さ揃え"_s}));
    QCOMPARE(Items(TopMenu(*frame, u"ヘルプ(&H)"_s)),
             (QStringList{u"取扱説明書表示(&H)\tF1"_s, u"バージョン情報(&A)..."_s}));

    // The frame's own keys act; the canvas keys are only named.
    QCOMPARE(frame->CommandAction(CommandId::kEditUndo)->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(frame->CommandAction(CommandId::kManual)->shortcut(), QKeySequence(Qt::Key_F1));
    QVERIFY(frame->CommandAction(CommandId::kEditDelete)->shortcut().isEmpty());
}

void MainFrameTest::toolBarHoldsTheDrawnButtons() {
    auto frame = MakeFrame();
    QToolBar* tools = frame->ToolBar();
    QVERIFY(tools);
    QCOMPARE(tools->windowTitle(), u"基本"_s);
    QStringList tips;
    for (QAction* action : tools->actions()) {
        if (action->isSeparator()) {
            tips << u"-"_s;
            continue;
        }
        QVERIFY2(!action->icon().pixmap(24, 24).isNull(), qPrintable(action->text()));
        tips << action->toolTip();
    }
    QCOMPARE(tips, (QStringList{u"【背景イメージのセット】"_s, u"【イメージ追加】"_s,
                                u"【コンソール表示】"_s, u"-"_s, u"【1枚のイメージとして保存】"_s,
                                u"【印刷】"_s, u"-"_s, u"【元に戻す】"_s, u"【やり直し】"_s, u"-"_s,
                                u"【取扱説明書】"_s, u"【バージョン情報】"_s}));
    QCOMPARE(frame->CommandAction(CommandId::kPrint)->statusTip(),
             u"ビューの表示内容を印刷します"_s);
}

void MainFrameTest::recentFilesAreListedAndOpened() {
    auto frame = MakeFrame();
    QMenu* file = TopMenu(*frame, u"ファイル(&F)"_s);
    const QString first = QDir(temp_->Path()).filePath(u"first.tsd"_s);
    const QString second = QDir(temp_->Path()).filePath(u"second.tsd"_s);
    tessaly::test::FillDocument(*doc_, 2);
    QVERIFY(tessaly::SaveDocument(*doc_, first));
    QVERIFY(tessaly::SaveDocument(*doc_, second));
    recent_->Add(first);
    recent_->Add(second);

    Open(file);
    QStringList items = Items(file);
    const qsizetype place = items.indexOf(u"&1 "_s + QDir::toNativeSeparators(second));
    QVERIFY2(place > 0, qPrintable(items.join(u'|')));
    QCOMPARE(items.at(place + 1), u"&2 "_s + QDir::toNativeSeparators(first));
    QVERIFY(!items.contains(u"最近使ったファイル"_s));
    // Opening the menu again does not repeat the entries.
    Open(file);
    QCOMPARE(Items(file), items);

    QAction* entry = nullptr;
    for (QAction* action : file->actions()) {
        if (action->text().startsWith(u"&2 "_s)) entry = action;
    }
    QVERIFY(entry);
    entry->trigger();
    QCOMPARE(atelierDoc_->PathName(), QFileInfo(first).absoluteFilePath());
    QCOMPARE(frame->windowTitle(), u"first.tsd - Tessaly"_s);
    QCOMPARE(doc_->State().nodeCount, 2);

    // A listed file that has gone is dropped from the list.
    tessaly::test::MessageRecorder messages;
    QVERIFY(QFile::remove(second));
    Open(file);
    for (QAction* action : file->actions()) {
        if (action->text().endsWith(u"second.tsd"_s)) action->trigger();
    }
    QVERIFY(!recent_->Files().contains(QFileInfo(second).absoluteFilePath()));
}

void MainFrameTest::alignmentFollowsTheSelectionWhenTheMenuOpens() {
    auto frame = MakeFrame();
    QMenu* align = TopMenu(*frame, u"整列(&A)"_s);
    tessaly::test::FillDocument(*doc_, 3);
    doc_->Mark(0).selected = 1;
    doc_->State().mainSelection = 0;
    Open(align);
    QVERIFY(!frame->CommandAction(CommandId::kAlignRight)->isEnabled());
    QVERIFY(frame->CommandAction(CommandId::kCentreVertical)->isEnabled());
    QVERIFY(!frame->CommandAction(CommandId::kSpaceHorizontal)->isEnabled());

    doc_->Mark(1).selected = 1;
    doc_->Mark(2).selected = 1;
    Open(align);
    QVERIFY(frame->CommandAction(CommandId::kAlignRight)->isEnabled());
    QVERIFY(frame->CommandAction(CommandId::kSpaceHorizontal)->isEnabled());
}

void MainFrameTest::hiddenSelectedNodesDoNotCount() {
    auto frame = MakeFrame();
    tessaly::test::FillDocument(*doc_, 2);
    doc_->Mark(0).selected = 1;
    doc_->Mark(1).selected = 1;
    doc_->Node(1).visible = 0;
    doc_->State().mainSelection = 0;
    Open(TopMenu(*frame, u"整列(&A)"_s));
    QVERIFY(!frame->CommandAction(CommandId::kAlignLeft)->isEnabled());
    Open(TopMenu(*frame, u"表示(&V)"_s));
    QVERIFY(frame->CommandAction(CommandId::kHideSelected)->isEnabled());
    QVERIFY(frame->CommandAction(CommandId::kShowAll)->isEnabled());
}

void MainFrameTest::gridNoneSwapsShownAndHidden() {
    auto frame = MakeFrame();
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
    QVERIFY(!frame->CommandAction(CommandId::kGridCross)->isChecked());
    QVERIFY(doc_->IsModified());
    // Grid changes are not steps of the history.
    QCOMPARE(edited_->UndoCount(), 0);
}

void MainFrameTest::gridSpacingAndOnTopMarkTheDocument() {
    auto frame = MakeFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    QApplication::processEvents();
    const int composed = frame->View()->ComposeCount();
    doc_->SetModified(false);
    frame->CommandAction(CommandId::kGrid100)->trigger();
    QCOMPARE(doc_->State().gridMode, 4);
    QVERIFY(doc_->IsModified());
    QVERIFY(frame->CommandAction(CommandId::kGrid100)->isChecked());
    // The canvas is composed again with the grid.
    QTRY_VERIFY(frame->View()->ComposeCount() > composed);

    const int onTop = doc_->State().gridOnTop;
    frame->CommandAction(CommandId::kGridOnTop)->trigger();
    QCOMPARE(doc_->State().gridOnTop, 1 - onTop);
    QCOMPARE(frame->CommandAction(CommandId::kGridOnTop)->isChecked(), onTop == 0);
    frame->CommandAction(CommandId::kGridOnTop)->trigger();
    QCOMPARE(doc_->State().gridOnTop, onTop);
}

void MainFrameTest::f2ShowsTheGuideSwitchForASecond() {
    auto frame = MakeFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
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
    auto frame = MakeFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
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
    auto frame = MakeFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
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
    auto frame = MakeFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    tessaly::CAtelierView* view = frame->View();
    view->SetZoom(0.5f);  // the whole canvas in the window, its right edge at x = 500
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString png = QDir(temp_->Path()).filePath(u"red.png"_s);
    QVERIFY(red.save(png));
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
    auto frame = MakeFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    QAction* tools = frame->CommandAction(CommandId::kViewToolBar);
    QAction* status = frame->CommandAction(CommandId::kViewStatusBar);
    QVERIFY(tools->isChecked());
    QVERIFY(status->isChecked());
    tools->trigger();
    QVERIFY(!frame->ToolBar()->isVisible());
    QVERIFY(!tools->isChecked());
    status->trigger();
    QVERIFY(!frame->StatusBar()->isVisible());
    QVERIFY(!status->isChecked());
    tools->trigger();
    status->trigger();
    QVERIFY(frame->ToolBar()->isVisible());
    QVERIFY(frame->StatusBar()->isVisible());
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
    int checked = 0;
    for (int number : {205, 206, 207, 208, 209, 210, 215, 216, 217, 218}) {
        if (frame->CommandAction(static_cast<CommandId>(number))->isChecked()) ++checked;
    }
    QCOMPARE(checked, 1);
    QVERIFY(frame->CommandAction(CommandId::kStyleOffice2007Silver)->isChecked());

    // The next frame starts with the stored look.
    frame.reset();
    auto next = MakeFrame();
    QVERIFY(next->CommandAction(CommandId::kStyleOffice2007Silver)->isChecked());
}

void MainFrameTest::unknownStoredStyleChecksNothing() {
    for (int stored : {219, 300}) {
        tessaly::WriteProfileInt({}, u"ApplicationLook"_s, stored);
        auto frame = MakeFrame();
        for (int number : {205, 206, 207, 208, 209, 210, 215, 216, 217, 218}) {
            QVERIFY(!frame->CommandAction(static_cast<CommandId>(number))->isChecked());
        }
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 tessaly::VisualStyleFor(stored).palette.color(QPalette::Window));
    }
}

void MainFrameTest::closingAModifiedDocumentAsks() {
    auto frame = MakeFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    tessaly::test::MessageRecorder messages;
    doc_->SetModified();
    messages.QueueAnswer(tessaly::kResultCancel);
    QVERIFY(!frame->close());
    QVERIFY(frame->isVisible());
    QCOMPARE(messages.Messages().size(), std::size_t{1});
    QCOMPARE(messages.Messages().front().text, u"無題のファイル への変更を保存しますか?"_s);
    QCOMPARE(messages.Messages().front().style, tessaly::kStyleYesNoCancel);

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
    QCOMPARE(work.entryList({u"TSD*"_s}, QDir::Files).size(), 0);
}

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
