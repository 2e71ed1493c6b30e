#include "app/dialogs/mosaic_dlg.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "app/atelier_doc.h"
#include "app/main_frame.h"
#include "app/my_status_bar.h"
#include "app/widgets/colour_button.h"
#include "app/widgets/number_edit.h"
#include "view/atelier_view.h"
#include "document/document_io.h"
#include "document/edited_document.h"
#include "image/image_blob.h"
#include "mosaic/colour_features.h"
#include "services/app_settings.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/frame_harness.h"
#include "support/message_recorder.h"
#include "support/test_images.h"

using namespace Qt::StringLiterals;
using tessaly::CommandId;

class MosaicDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void editBoxIsClampedWhenTheRunReadsIt();
    void storedPlaceIsKeptOnTheDesktop();
    void rearrangeFromTheFramePlacesAndUndoes();
    void pickedColourGoesToTheButtonOnly();
    void consoleKeysWinOverTheFrameMenus();
    void hiddenConsoleShowsTheNextDocumentsSettings();
    void showUnplacedSelectsThemAndCountsThem();

private:
    tessaly::CMosaicDlg& OpenConsole();
    QString Field(const char* name) { return OpenConsole().findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    void ClickRearrange() {
        QTest::mouseClick(OpenConsole().findChild<QPushButton*>(u"rearrange"_s), Qt::LeftButton);
    }

    std::unique_ptr<tessaly::test::FrameHarness> h_;
    std::unique_ptr<tessaly::test::MessageRecorder> messages_;
};

void MosaicDlgTest::init() {
    h_ = std::make_unique<tessaly::test::FrameHarness>();
    messages_ = std::make_unique<tessaly::test::MessageRecorder>();
    QVERIFY(h_->Doc().AllocateNodeTables());
    QVERIFY(h_->Doc().ResetDocument());
    h_->Frame();
}

void MosaicDlgTest::cleanup() {
    messages_.reset();
    h_.reset();
}

tessaly::CMosaicDlg& MosaicDlgTest::OpenConsole() {
    if (!h_->Frame().MosaicDlg()) h_->Frame().OpenMosaicConsole();
    return *h_->Frame().MosaicDlg();
}

void MosaicDlgTest::editBoxIsClampedWhenTheRunReadsIt() {
    auto* columns = OpenConsole().findChild<tessaly::NumberEdit*>(u"gridColumns"_s);
    QVERIFY(columns);
    columns->selectAll();
    QTest::keyClicks(columns, u"700"_s);
    ClickRearrange();
    QCOMPARE(h_->Doc().State().gridColumns, 500);
    QCOMPARE(columns->text(), u"500"_s);
    QVERIFY(OpenConsole().isVisible());
}

void MosaicDlgTest::storedPlaceIsKeptOnTheDesktop() {
    tessaly::WriteProfileInt(u"Mosaic"_s, u"LastPX"_s, -30);
    tessaly::WriteProfileInt(u"Mosaic"_s, u"LastPY"_s, 0);
    QCOMPARE(OpenConsole().pos(), QPoint(0, 0));
    // A side panel widens the console, never beyond the desktop; one panel
    // replaces the other, and hiding it gives back the size at creation.
    tessaly::CMosaicDlg& console = OpenConsole();
    const QSize atCreation = console.size();
    const int desktopWidth = console.screen()->virtualSize().width();
    console.ToggleExplanation();
    QVERIFY(console.width() > atCreation.width() && console.frameGeometry().right() < desktopWidth);
    console.ToggleHistogram();
    QCOMPARE(console.width(), atCreation.width() + 552);
    QVERIFY(!console.IsExplanationShown());
    console.ToggleHistogram();
    QCOMPARE(console.size(), atCreation);
    // Closing hides the console; the open command then shows it again.
    QTest::keyClick(&OpenConsole(), Qt::Key_Escape);
    QVERIFY(!h_->Frame().MosaicConsoleShown() && !OpenConsole().isVisible());
}

// The whole road: a document with a background and a few hundred images,
// the console opened through its command, one run, its undo.
void MosaicDlgTest::rearrangeFromTheFramePlacesAndUndoes() {
    tessaly::Document& doc = h_->Doc();
    for (int i = 0; i < 300; ++i) {
        const QRgb colour = qRgb(i * 37 % 256, i * 91 % 256, i * 53 % 256);
        tessaly::test::AddNode(doc, 100, 100, 10, 10,
                               tessaly::test::PngBytes(tessaly::test::Filled(8, 8, colour)));
        QVERIFY(tessaly::ComputeNodeSectionAverages(doc, i));
    }
    doc.State().backPicture =
        doc.Pictures().Adopt(*tessaly::ImageBlob::FromEncoded(tessaly::test::JpegBytes(64, 40)));
    const tessaly::NodeRecord before = doc.Node(7);
    h_->Frame().show();
    QVERIFY(QTest::qWaitForWindowExposed(&h_->Frame()));
    h_->Frame().UpdateCommandStates();
    h_->Frame().CommandAction(CommandId::kConsole)->trigger();
    QVERIFY(h_->Frame().MosaicConsoleShown());
    QVERIFY(!h_->Frame().CommandAction(CommandId::kConsole)->isEnabled());

    ClickRearrange();
    QVERIFY(messages_->Messages().empty());
    int placed = 0;
    for (int i = 0; i < doc.State().nodeCount; ++i) placed += doc.Node(i).visible;
    QVERIFY2(placed > 100, qPrintable(QString::number(placed)));
    QVERIFY(Field("elapsed").endsWith(u"ms"_s));
    QVERIFY(Field("areaRatio").endsWith(u"%"_s));
    QCOMPARE(Field("unplaced"), QString::number(300 - placed) + u" 個"_s);
    QAction* undo = h_->Frame().CommandAction(CommandId::kEditUndo);
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(doc.Node(7).centerX, before.centerX);
    QCOMPARE(doc.Node(7).halfWidth, before.halfWidth);
    QCOMPARE(doc.Node(7).visible, before.visible);
}

// The colour shown where the canvas menu opened; the document takes it only
// at the next run.
void MosaicDlgTest::pickedColourGoesToTheButtonOnly() {
    tessaly::DocState& s = h_->Doc().State();
    s.backColor = tessaly::MakeColorRef(200, 30, 40);
    h_->Frame().show();
    QVERIFY(QTest::qWaitForWindowExposed(&h_->Frame()));
    OpenConsole();
    h_->Frame().View()->SetInsertPoint(QPoint(400, 300));
    h_->Frame().RunCommand(CommandId::kPickNoSetColour);
    auto* button = OpenConsole().findChild<tessaly::ColourButton*>(u"noSetColour"_s);
    QCOMPARE(button->Colour(), tessaly::MakeColorRef(200, 30, 40));
    QCOMPARE(s.noSetColor, tessaly::MakeColorRef(255, 255, 255));
}

// Alt+E is also the frame's "編集(&E)" menu: while the console is the active
// window its own check box takes the key.
void MosaicDlgTest::consoleKeysWinOverTheFrameMenus() {
    h_->Frame().show();
    QVERIFY(QTest::qWaitForWindowExposed(&h_->Frame()));
    tessaly::CMosaicDlg& console = OpenConsole();
    QApplication::setActiveWindow(&console);
    QCOMPARE(QApplication::activeWindow(), &console);
    const int adjust = h_->Doc().State().adjustColors;
    // A button's key clicks it a moment later, as a pressed button shows.
    QTest::keyClick(&console, Qt::Key_E, Qt::AltModifier);
    QVERIFY(!QApplication::activePopupWidget());
    QTest::qWait(200);
    QTest::keyClick(&console, Qt::Key_N, Qt::AltModifier);  // "再表示(&N)" stores it
    QTRY_COMPARE(h_->Doc().State().adjustColors, 1 - adjust);
}

// The console hidden while another document is opened shows that document's
// settings when it comes back, and "再配置" keeps them.
void MosaicDlgTest::hiddenConsoleShowsTheNextDocumentsSettings() {
    tessaly::Document& doc = h_->Doc();
    tessaly::DocState& s = doc.State();
    tessaly::test::FillDocument(doc, 3);
    s.gridColumns = 120;
    s.gridRows = 80;
    s.imageFrameWidth = 7;
    const QString second = QDir(h_->Path()).filePath(u"second.tsd"_s);
    QVERIFY(tessaly::SaveDocument(doc, second));
    s.gridColumns = 30;
    s.gridRows = 45;
    s.imageFrameWidth = 3;
    doc.SetModified(false);

    auto* columns = OpenConsole().findChild<tessaly::NumberEdit*>(u"gridColumns"_s);
    QCOMPARE(columns->text(), u"30"_s);
    OpenConsole().HideConsole();
    QVERIFY(h_->AtelierDoc().OpenPath(&h_->Frame(), second));
    OpenConsole().Open();
    QCOMPARE(columns->text(), u"120"_s);
    ClickRearrange();
    QCOMPARE(s.gridColumns, 120);
    QCOMPARE(s.gridRows, 80);
    QCOMPARE(s.imageFrameWidth, 7);
}

// The images a run left hidden come back selected, and the status bar says
// how many.
void MosaicDlgTest::showUnplacedSelectsThemAndCountsThem() {
    tessaly::Document& doc = h_->Doc();
    tessaly::test::FillDocument(doc, 4);
    doc.Node(1).visible = 0;
    doc.Node(3).visible = 0;
    h_->Frame().show();
    QVERIFY(QTest::qWaitForWindowExposed(&h_->Frame()));
    QTest::mouseClick(OpenConsole().findChild<QToolButton*>(u"showUnplaced"_s), Qt::LeftButton);
    QVERIFY(doc.IsSelected(1) && doc.IsSelected(3) && !doc.IsSelected(0));
    QCOMPARE(h_->Frame().StatusBar()->InfoText(), u"未配置のイメージ : 2 個"_s);
}

QTEST_MAIN(MosaicDlgTest)
#include "mosaic_dlg_test.moc"
