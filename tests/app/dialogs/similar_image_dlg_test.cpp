#include "app/dialogs/similar_image_dlg.h"

#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "app/main_frame.h"
#include "document/edited_document.h"
#include "image/image_blob.h"
#include "support/document_builder.h"
#include "support/frame_harness.h"
#include "support/test_images.h"

using namespace Qt::StringLiterals;
using tessaly::CommandId;

// The similar-images command through the frame: which images the window
// offers and what choosing one leaves in the document.
class SimilarImageDlgTest : public QObject {
    Q_OBJECT

private slots:
    void choosingPutsTheCandidateInThePlaceAndAnOutsideChangeCloses();
};

void SimilarImageDlgTest::choosingPutsTheCandidateInThePlaceAndAnOutsideChangeCloses() {
    tessaly::test::FrameHarness h;
    tessaly::Document& doc = h.Doc();
    QVERIFY(doc.ResetDocument());
    doc.State().canvasWidth = 800;
    doc.State().canvasHeight = 600;
    doc.State().comparePrecision = 25;  // every image is a candidate
    doc.State().backPicture = doc.Pictures().Adopt(
        *tessaly::ImageBlob::FromEncoded(tessaly::test::PngBytes(tessaly::test::Gradient(80, 60))));
    // Node 0's place, then four more nodes at other places and sizes.
    for (int i = 0; i < 5; ++i) {
        tessaly::test::AddNode(doc, 100 + 120 * i, 80 + 90 * i, 30 + i, 20 + 2 * i,
                               tessaly::test::PngBytes(tessaly::test::Gradient(8 + i, 6)));
        doc.Node(i).avgRed[0] = static_cast<std::uint8_t>(40 * i);
    }
    doc.Node(4).visible = 0;
    doc.Mark(0).selected = 1;
    doc.State().mainSelection = 0;
    h.Frame().RunCommand(CommandId::kSwapWithSimilar);
    QPointer<tessaly::CSimilarImageDlg> window = h.Frame().findChild<tessaly::CSimilarImageDlg*>();
    QVERIFY(window);
    QVERIFY(window->isVisible());

    auto* list = window->findChild<QListWidget*>();
    QCOMPARE(list->count(), 4);
    const int second = window->Candidates()[1].node;
    const tessaly::NodeRecord place = doc.Node(0), secondsPlace = doc.Node(second);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(doc.Node(second).centerX, place.centerX);
    QCOMPARE(doc.Node(second).halfHeight, place.halfHeight);
    QCOMPARE(doc.Node(0).centerY, secondsPlace.centerY);
    QCOMPARE(doc.Node(0).halfWidth, secondsPlace.halfWidth);
    QCOMPARE(h.Edited().UndoCount(), 1);

    // "元に戻す" gives the place back as another step.
    auto* giveBack = window->findChild<QPushButton*>();
    QCOMPARE(giveBack->text(), u"元に戻す(&R)"_s);
    giveBack->click();
    QCOMPARE(doc.Node(0).centerX, place.centerX);
    QCOMPARE(doc.Node(second).centerX, secondsPlace.centerX);
    QVERIFY(!giveBack->isEnabled());
    QCOMPARE(h.Edited().UndoCount(), 2);

    // An undo from the main window leaves the list behind: the window goes.
    QVERIFY(h.Edited().Undo());
    QTRY_VERIFY(!window);
    QCOMPARE(doc.Node(second).centerX, place.centerX);
}

QTEST_MAIN(SimilarImageDlgTest)
#include "similar_image_dlg_test.moc"
