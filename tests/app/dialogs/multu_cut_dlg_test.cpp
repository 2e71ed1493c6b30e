#include "app/dialogs/multu_cut_dlg.h"

#include <QAbstractSpinBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "app/atelier_doc.h"
#include "app/commands/command_rules.h"
#include "app/main_frame.h"
#include "view/atelier_view.h"
#include "document/edited_document.h"
#include "resources/ui_strings.h"
#include "services/app_settings.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/frame_harness.h"
#include "support/test_images.h"

using namespace Qt::StringLiterals;
using tessaly::CommandId;

// The multi-cut commands through the frame, and the settings window: what
// lands in the settings, the document and the cut rectangle.
class MultuCutDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startFromTheMenuOpensTheSettingsAndEscStops();
    void spinStepsFollowTheFittingRule();
    void aCountThatCannotFitIsExplainedUntilAChangeIsTaken();
    void keysAndLineCommandsReachTheRectangleAndTheDocument();

private:
    tessaly::CMultuCutDlg* Dialog() const {
        return h_->Frame().View()->findChild<tessaly::CMultuCutDlg*>();
    }
    tessaly::MultiCutSession& Cut() const { return h_->Frame().View()->MultiCut(); }

    std::unique_ptr<tessaly::test::FrameHarness> h_;
};

void MultuCutDlgTest::init() {
    h_ = std::make_unique<tessaly::test::FrameHarness>();
    tessaly::Document& doc = h_->Doc();
    QVERIFY(doc.ResetDocument());
    // 200 x 100 at (100, 100): the rectangle starts at (150, 125), 100 x 50.
    tessaly::test::AddNode(doc, 200, 150, 100, 50, tessaly::test::JpegBytes(50, 25));
    doc.Mark(0).selected = 1;
    doc.State().mainSelection = 0;
    h_->Frame().CommandAction(CommandId::kMultiCutStart)->trigger();
}

void MultuCutDlgTest::cleanup() {
    h_.reset();
}

void MultuCutDlgTest::startFromTheMenuOpensTheSettingsAndEscStops() {
    QVERIFY(Cut().IsOn());
    QVERIFY(Dialog() && Dialog()->isVisible());
    QCOMPARE(Dialog()->windowTitle(), u"マルチカット設定"_s);
    QCOMPARE(h_->Doc().State().mainSelection, -1);
    QVERIFY(!h_->Frame().CommandAction(CommandId::kMultiCutStart)->isEnabled());
    QVERIFY(h_->Frame().CommandAction(CommandId::kMultiCutExecute)->isEnabled());

    QTest::keyClick(h_->Frame().View(), Qt::Key_Escape);
    QVERIFY(!Cut().IsOn());
    QVERIFY(!Dialog()->isVisible());
    QVERIFY(!h_->Frame().CommandAction(CommandId::kMultiCutStart)->isEnabled());  // nothing selected
}

void MultuCutDlgTest::spinStepsFollowTheFittingRule() {
    const auto spins = Dialog()->findChildren<QAbstractSpinBox*>();
    QCOMPARE(spins.size(), qsizetype{2});
    QAbstractSpinBox* columns = spins.front();
    const tessaly::AppSettings& grid = tessaly::CurrentSettings();
    // cw = 100, ox = 50 on a node 200 wide: one cell fits, two do not.
    columns->stepUp();
    QCOMPARE(grid.multiCntX, 1);
    QCOMPARE(columns->text(), u"1"_s);

    // A typed gap that is no number counts as 0; the box shows what is used.
    auto* gap = Dialog()->findChildren<QLineEdit*>().at(2);
    gap->setText(u"abc"_s);
    Dialog()->findChildren<QToolButton*>().at(0)->click();
    QCOMPARE(grid.multiMaX, 0.0f);
    QCOMPARE(gap->text(), u"0.000"_s);
}

void MultuCutDlgTest::aCountThatCannotFitIsExplainedUntilAChangeIsTaken() {
    QLabel* explanation = nullptr;
    for (QLabel* label : Dialog()->findChildren<QLabel*>()) {
        if (label->text() == tessaly::ui_text::kCutGridRefused) explanation = label;
    }
    QVERIFY(explanation && !explanation->isVisible());

    // ch = 50, oy = 25 on a node 100 high: one row fits, three do not.
    QAbstractSpinBox* rows = Dialog()->findChildren<QAbstractSpinBox*>().at(1);
    rows->setFocus();
    rows->selectAll();
    QTest::keyClicks(rows, u"3"_s);
    QTest::keyClick(rows, Qt::Key_Return);
    QCOMPARE(tessaly::CurrentSettings().multiCntY, 1);
    QCOMPARE(rows->text(), u"1"_s);
    QVERIFY(explanation->isVisible());

    // A gap that fits is taken and the explanation goes.
    auto* gap = Dialog()->findChildren<QLineEdit*>().at(2);
    gap->setText(u"5"_s);
    Dialog()->findChildren<QToolButton*>().at(0)->click();
    QCOMPARE(tessaly::CurrentSettings().multiMaX, 5.0f);
    QVERIFY(!explanation->isVisible());
}

void MultuCutDlgTest::keysAndLineCommandsReachTheRectangleAndTheDocument() {
    tessaly::CAtelierView* view = h_->Frame().View();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Left);  // the right edge, 10 canvas pixels
    QCOMPARE(Cut().Rect(), (tessaly::IntRect{150, 125, 240, 175}));
    QCOMPARE(tessaly::GetProfileInt(u"Last"_s, u"RectSX"_s, 0), 90);
    QVERIFY(h_->Edited().IsModified());

    QTest::keyClick(view, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(Cut().Rect(), (tessaly::IntRect{151, 126, 239, 174}));

    h_->Frame().RunCommand(tessaly::CutLineWidthCommand(3));
    QCOMPARE(h_->Doc().State().cutLineWidth, 3);
    QCOMPARE(h_->Edited().UndoCount(), 0);
}

QTEST_MAIN(MultuCutDlgTest)
#include "multu_cut_dlg_test.moc"
