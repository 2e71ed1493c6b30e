#include "app/dialogs/node_dlg.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>
#include <functional>

#include "app/atelier_doc.h"
#include "app/main_frame.h"
#include "app/widgets/number_edit.h"
#include "document/edited_document.h"
#include "services/app_settings.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/frame_harness.h"
#include "support/test_images.h"

using namespace Qt::StringLiterals;
using tessaly::CommandId;

// The image properties command through the frame: what the dialog shows and
// what its buttons leave in the document.
class NodeDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buttonsReachTheNodeAsOneUndoStep();

private:
    // Runs the command and `steps` in the dialog it opens, then closes it.
    void RunDialog(const std::function<void(tessaly::CNodeDlg&)>& steps);
    const tessaly::NodeRecord& Node() const { return h_->Doc().Node(0); }
    QSize PictureSize() const { return h_->Doc().Picture(Node().picture)->PixelSize(); }

    std::unique_ptr<tessaly::test::FrameHarness> h_;
};

namespace {

QPushButton* Button(QWidget& dialog, const QString& text) {
    for (auto* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

bool Shows(QWidget& dialog, const QString& text) {
    const auto labels = dialog.findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(),
                       [&](QLabel* label) { return label->text() == text; });
}

}  // namespace

void NodeDlgTest::init() {
    h_ = std::make_unique<tessaly::test::FrameHarness>();
    tessaly::Document& doc = h_->Doc();
    QVERIFY(doc.ResetDocument());
    doc.State().canvasWidth = 1000;
    doc.State().canvasHeight = 1000;
    // A 640 x 480 picture shown at 320 x 240.
    tessaly::test::AddNode(doc, 300, 300, 160, 120, tessaly::test::JpegBytes(640, 480));
    doc.Mark(0).selected = 1;
    doc.State().mainSelection = 0;
    h_->Frame();
}

void NodeDlgTest::cleanup() {
    h_.reset();
}

void NodeDlgTest::RunDialog(const std::function<void(tessaly::CNodeDlg&)>& steps) {
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<tessaly::CNodeDlg*>(QApplication::activeModalWidget());
        if (!dialog) return;
        const auto close = qScopeGuard([dialog] { Button(*dialog, u"戻る(&C)"_s)->click(); });
        ran = true;
        steps(*dialog);
    });
    h_->Frame().RunCommand(CommandId::kImageProperties);
    QVERIFY(ran);
}

void NodeDlgTest::buttonsReachTheNodeAsOneUndoStep() {
    RunDialog([this](tessaly::CNodeDlg& dialog) {
        QCOMPARE(dialog.windowTitle(), u"イメージのプロパティ"_s);
        QVERIFY(Shows(dialog, u"50 %"_s));
        QVERIFY(Shows(dialog, u"640 × 480"_s));
        QVERIFY(!Button(dialog, u"縦横比同じにする(&R)"_s)->isEnabled());

        Button(dialog, u"実寸にする(&M)"_s)->click();
        QCOMPARE(Node().Width(), 640);
        QCOMPARE(Node().Height(), 480);

        // A page step of the width spin: 650 wide.
        QTest::keyClick(dialog.findChildren<tessaly::NumberEdit*>().front(), Qt::Key_PageUp);
        QCOMPARE(Node().Width(), 650);

        Button(dialog, u"ビューのイメージの大きさにする(&F)"_s)->click();
        QCOMPARE(PictureSize(), QSize(650, 487));  // the height follows the width
        QVERIFY(Shows(dialog, u"100 %"_s));
        QVERIFY(!Button(dialog, u"実寸にする(&M)"_s)->isEnabled());
        QVERIFY(!Button(dialog, u"ビューのイメージの大きさにする(&F)"_s)->isEnabled());
    });
    QCOMPARE(h_->Edited().UndoCount(), 1);
    QVERIFY(h_->Edited().Undo());
    QCOMPARE(Node().Width(), 320);
    QCOMPARE(PictureSize(), QSize(640, 480));
}

QTEST_MAIN(NodeDlgTest)
#include "node_dlg_test.moc"
