#include "app/my_status_bar.h"

#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTimer>
#include <QtTest>

#include "document/document.h"
#include "document/status_panes.h"
#include "services/status_service.h"

using namespace Qt::StringLiterals;
using tessaly::CMyStatusBar;
using tessaly::StatusPane;

namespace {

constexpr StatusPane kAllPanes[] = {StatusPane::kProgress, StatusPane::kObject, StatusPane::kPos,
                                    StatusPane::kSize, StatusPane::kCursor};

}  // namespace

class MyStatusBarTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void panesStartEmptyInOrderWithTooltips();
    void panesAreWideEnoughForTheirTemplates();
    void objectPaneShowsGroupedNodeCount_data();
    void objectPaneShowsGroupedNodeCount();
    void mainSelectionFillsPosAndSize();
    void infoTextReplacesPanesAndKeepsTheirContents();
    void progressBarStaysOnFirstPane();
    void progressFollowsStatusProgress();
    void progressOverInfoTextOnlyWhileMoving();
    void paneMenuShowsAndHidesPanes();
    void rightClickOpensPaneMenu();

private:
    std::unique_ptr<CMyStatusBar> bar_;
    std::unique_ptr<tessaly::Document> doc_;
};

void MyStatusBarTest::init() {
    bar_ = std::make_unique<CMyStatusBar>();
    bar_->resize(1000, bar_->sizeHint().height());
    bar_->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar_.get()));
    tessaly::InstallStatusSink(bar_.get());
    doc_ = std::make_unique<tessaly::Document>();
    QVERIFY(doc_->AllocateNodeTables());
}

void MyStatusBarTest::cleanup() {
    tessaly::InstallStatusSink(nullptr);
    doc_.reset();
    bar_.reset();
}

void MyStatusBarTest::panesStartEmptyInOrderWithTooltips() {
    int previousRight = -1;
    for (const StatusPane pane : kAllPanes) {
        QLabel* label = bar_->PaneWidget(pane);
        QVERIFY(label);
        QVERIFY(label->isVisible());
        QCOMPARE(bar_->PaneText(pane), QString());
        // The progress pane holds the bar and explains nothing itself.
        QCOMPARE(label->toolTip().isEmpty(), pane == StatusPane::kProgress);
        const QRect rect = bar_->PaneRect(pane);
        QVERIFY2(rect.left() > previousRight, qPrintable(label->toolTip()));
        previousRight = rect.right();
    }
    QVERIFY(previousRight < bar_->width());
    QVERIFY(bar_->PaneWidget(StatusPane::kProgress)->alignment() & Qt::AlignLeft);
    QVERIFY(bar_->PaneWidget(StatusPane::kCursor)->alignment() & Qt::AlignHCenter);
    QVERIFY(!bar_->IsInfoShowing());
}

void MyStatusBarTest::panesAreWideEnoughForTheirTemplates() {
    // The widest texts each pane shows: 9,000 images, a 5000 × 5000 node.
    const QStringList templates{u"999999999999999999999999999999"_s, u"9,000"_s, u"9999, 9999"_s,
                                u"5000×5000"_s, u"9999, 9999"_s};
    auto check = [&] {
        for (int i = 0; i < 5; ++i) {
            QLabel* label = bar_->PaneWidget(kAllPanes[i]);
            const int needed = label->fontMetrics().horizontalAdvance(templates[i]);
            QVERIFY2(label->contentsRect().width() >= needed,
                     qPrintable(u"%1: %2 < %3"_s.arg(templates[i])
                                    .arg(label->contentsRect().width())
                                    .arg(needed)));
        }
        // The widest text the panes are made for is drawn whole.
        bar_->SetPaneText(StatusPane::kPos, u"9999, 9999"_s);
        QLabel* pos = bar_->PaneWidget(StatusPane::kPos);
        QVERIFY(pos->contentsRect().width() >= pos->fontMetrics().horizontalAdvance(pos->text()));
    };
    check();
    const int objectWidth = bar_->PaneRect(StatusPane::kObject).width();

    // A larger font must widen the panes, not clip their texts.
    QFont bigger = bar_->font();
    bigger.setPointSizeF(bigger.pointSizeF() * 2);
    bar_->setFont(bigger);
    bar_->resize(1800, bar_->sizeHint().height());
    QCoreApplication::processEvents();
    QVERIFY(bar_->PaneRect(StatusPane::kObject).width() > objectWidth);
    check();
}

void MyStatusBarTest::objectPaneShowsGroupedNodeCount_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << 0 << u"0"_s;
    QTest::newRow("999") << 999 << u"999"_s;
    QTest::newRow("1000") << 1000 << u"1,000"_s;
}

void MyStatusBarTest::objectPaneShowsGroupedNodeCount() {
    QFETCH(int, count);
    QFETCH(QString, shown);
    doc_->State().nodeCount = count;
    doc_->State().mainSelection = -1;
    tessaly::RefreshStatusPanes(*doc_, false);
    QCOMPARE(bar_->PaneText(StatusPane::kObject), shown);
    QCOMPARE(bar_->PaneText(StatusPane::kPos), QString());
    QCOMPARE(bar_->PaneText(StatusPane::kSize), QString());
}

void MyStatusBarTest::mainSelectionFillsPosAndSize() {
    doc_->State().nodeCount = 1;
    doc_->State().mainSelection = 0;
    tessaly::NodeRecord& node = doc_->Node(0);
    node.centerX = 100;
    node.centerY = 80;
    node.halfWidth = 30;
    node.halfHeight = 20;
    node.visible = 1;
    bar_->SetPaneText(StatusPane::kCursor, u"5, 6"_s);

    tessaly::RefreshStatusPanes(*doc_, false);
    QCOMPARE(bar_->PaneText(StatusPane::kPos), u"70, 60"_s);
    QCOMPARE(bar_->PaneText(StatusPane::kSize), u"60×40"_s);

    tessaly::RefreshStatusPanes(*doc_, true);
    QCOMPARE(bar_->PaneText(StatusPane::kObject), u"1"_s);
    QCOMPARE(bar_->PaneText(StatusPane::kPos), QString());
    QCOMPARE(bar_->PaneText(StatusPane::kSize), QString());
    // The cursor pane belongs to the canvas; a refresh leaves it alone.
    QCOMPARE(bar_->PaneText(StatusPane::kCursor), u"5, 6"_s);
}

void MyStatusBarTest::infoTextReplacesPanesAndKeepsTheirContents() {
    doc_->State().nodeCount = 1234;
    tessaly::RefreshStatusPanes(*doc_, false);
    bar_->SetPaneText(StatusPane::kCursor, u"10, 20"_s);

    tessaly::SetStatusInfo(u"ドキュメントを読み込んでいます"_s);
    QVERIFY(bar_->IsInfoShowing());
    QCOMPARE(bar_->InfoText(), u"ドキュメントを読み込んでいます"_s);
    for (const StatusPane pane : kAllPanes)
        QVERIFY(!bar_->PaneWidget(pane)->isVisible());
    QVERIFY(!bar_->ProgressBar()->isVisible());

    // Panes written while hidden show their new text when they come back.
    doc_->State().nodeCount = 1235;
    tessaly::RefreshStatusPanes(*doc_, false);

    tessaly::SetStatusInfo(QString());
    QVERIFY(!bar_->IsInfoShowing());
    for (const StatusPane pane : kAllPanes)
        QVERIFY(bar_->PaneWidget(pane)->isVisible());
    QVERIFY(bar_->ProgressBar()->isVisible());
    QCOMPARE(bar_->PaneText(StatusPane::kObject), u"1,235"_s);
    QCOMPARE(bar_->PaneText(StatusPane::kCursor), u"10, 20"_s);
}

void MyStatusBarTest::progressBarStaysOnFirstPane() {
    QProgressBar* progress = bar_->ProgressBar();
    QCOMPARE(progress->parentWidget(), bar_.get());
    QVERIFY(progress->isVisible());
    QVERIFY(!progress->isTextVisible());
    QVERIFY(!bar_->PaneRect(StatusPane::kProgress).isEmpty());
    QCOMPARE(progress->geometry(), bar_->PaneRect(StatusPane::kProgress));

    for (const int width : {640, 1280, 900}) {
        bar_->resize(width, bar_->height() + 6);
        QCoreApplication::processEvents();
        QCOMPARE(progress->geometry(), bar_->PaneRect(StatusPane::kProgress));
    }

    // A font change reflows the panes; the bar follows pane 1.
    const QRect before = progress->geometry();
    QFont bigger = bar_->font();
    bigger.setPointSizeF(bigger.pointSizeF() * 1.5);
    bar_->setFont(bigger);
    QCoreApplication::processEvents();
    QVERIFY(progress->geometry() != before);
    QCOMPARE(progress->geometry(), bar_->PaneRect(StatusPane::kProgress));
}

void MyStatusBarTest::progressFollowsStatusProgress() {
    QProgressBar* progress = bar_->ProgressBar();
    {
        tessaly::StatusProgress run(50);
        QCOMPARE(progress->minimum(), 0);
        QCOMPARE(progress->maximum(), 50);
        QCOMPARE(progress->value(), 0);
        run.SetPos(20);
        QCOMPARE(progress->value(), 20);
        // A position past the end fills the bar rather than being dropped.
        run.SetPos(70);
        QCOMPARE(progress->value(), 50);
    }
    QCOMPARE(progress->value(), 0);

    // No steps at all: an empty bar, not the endless busy animation.
    {
        tessaly::StatusProgress nothing(0);
        QVERIFY(progress->maximum() > progress->minimum());
        QCOMPARE(progress->value(), progress->minimum());
    }
    QCOMPARE(progress->value(), 0);
}

void MyStatusBarTest::progressOverInfoTextOnlyWhileMoving() {
    QProgressBar* progress = bar_->ProgressBar();
    tessaly::SetStatusInfo(u"イメージを追加しています"_s);
    {
        tessaly::StatusProgress run(10);
        QVERIFY(!progress->isVisible());
        run.SetPos(3);
        // Long operations show their text and their progress together.
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->geometry(), bar_->PaneRect(StatusPane::kProgress));
        QLabel* info = bar_->InfoWidget();
        QVERIFY(info->isVisible());
        // The text starts to the right of the bar instead of under it.
        const int textLeft =
            info->mapTo(bar_.get(), info->contentsRect().topLeft()).x() + info->indent();
        QVERIFY(textLeft > progress->geometry().right());
    }
    QVERIFY(!progress->isVisible());
    tessaly::SetStatusInfo(QString());
    QVERIFY(progress->isVisible());
}

void MyStatusBarTest::paneMenuShowsAndHidesPanes() {
    bar_->SetPaneText(StatusPane::kSize, u"60×40"_s);
    {
        const std::unique_ptr<QMenu> menu = bar_->CreatePaneMenu();
        for (const QAction* action : menu->actions()) {
            QVERIFY(action->isCheckable());
            QVERIFY(action->isChecked());
        }
        menu->actions().at(3)->trigger();  // SIZE
        menu->actions().at(0)->trigger();  // the progress pane
    }
    QVERIFY(!bar_->PaneWidget(StatusPane::kSize)->isVisible());
    QVERIFY(!bar_->PaneWidget(StatusPane::kProgress)->isVisible());
    QVERIFY(!bar_->ProgressBar()->isVisible());
    QVERIFY(bar_->PaneWidget(StatusPane::kPos)->isVisible());
    QVERIFY(bar_->PaneWidget(StatusPane::kCursor)->isVisible());

    const std::unique_ptr<QMenu> menu = bar_->CreatePaneMenu();
    QVERIFY(!menu->actions().at(0)->isChecked());
    QVERIFY(menu->actions().at(1)->isChecked());
    QVERIFY(!menu->actions().at(3)->isChecked());
    menu->actions().at(3)->trigger();
    menu->actions().at(0)->trigger();
    QCoreApplication::processEvents();
    QVERIFY(bar_->PaneWidget(StatusPane::kSize)->isVisible());
    QCOMPARE(bar_->PaneText(StatusPane::kSize), u"60×40"_s);
    QVERIFY(bar_->ProgressBar()->isVisible());
    QCOMPARE(bar_->ProgressBar()->geometry(), bar_->PaneRect(StatusPane::kProgress));
}

void MyStatusBarTest::rightClickOpensPaneMenu() {
    QStringList seen;
    QTimer::singleShot(0, this, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions())
                seen << action->text();
            menu->close();
        }
    });
    // Clicking on a pane reaches the bar's menu too.
    QLabel* object = bar_->PaneWidget(StatusPane::kObject);
    const QPoint local = object->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, local, object->mapToGlobal(local));
    QApplication::sendEvent(object, &event);
    QCOMPARE(seen.size(), 5);
    QCOMPARE(seen.at(1), u"OBJECT"_s);
}

QTEST_MAIN(MyStatusBarTest)
#include "my_status_bar_test.moc"
