#include "app/mosaic_dlg.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "app/atelier_doc.h"
#include "app/main_frame.h"
#include "app/widgets/colour_button.h"
#include "app/widgets/number_edit.h"
#include "canvas/view/atelier_view.h"
#include "document/edited_document.h"
#include "image/image_blob.h"
#include "mosaic/colour_features.h"
#include "services/app_settings.h"
#include "services/recent_files.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
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

private:
    tessaly::CMosaicDlg& OpenConsole();
    QString Field(const char* name) { return OpenConsole().findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    void ClickRearrange() {
        QTest::mouseClick(OpenConsole().findChild<QPushButton*>(u"rearrange"_s), Qt::LeftButton);
    }

    std::unique_ptr<tessaly::test::ScopedTempDir> temp_;
    std::unique_ptr<tessaly::test::MessageRecorder> messages_;
    std::unique_ptr<tessaly::EditedDocument> edited_;
    std::unique_ptr<tessaly::RecentFileList> recent_;
    std::unique_ptr<tessaly::CAtelierDoc> atelierDoc_;
    std::unique_ptr<tessaly::CMainFrame> frame_;
};

void MosaicDlgTest::init() {
    temp_ = std::make_unique<tessaly::test::ScopedTempDir>();
    tessaly::UseSettingsFile(QDir(temp_->Path()).filePath(u"settings.ini"_s));
    messages_ = std::make_unique<tessaly::test::MessageRecorder>();
    edited_ = std::make_unique<tessaly::EditedDocument>();
    QVERIFY(edited_->Doc().AllocateNodeTables());
    QVERIFY(edited_->Doc().ResetDocument());
    recent_ = std::make_unique<tessaly::RecentFileList>();
    atelierDoc_ = std::make_unique<tessaly::CAtelierDoc>(*edited_, *recent_);
    frame_ = std::make_unique<tessaly::CMainFrame>(*edited_, *atelierDoc_, *recent_);
}

void MosaicDlgTest::cleanup() {
    frame_.reset();
    atelierDoc_.reset();
    recent_.reset();
    edited_.reset();
    messages_.reset();
    tessaly::UseSettingsFile({});
    temp_.reset();
}

tessaly::CMosaicDlg& MosaicDlgTest::OpenConsole() {
    if (!frame_->MosaicDlg()) frame_->OpenMosaicConsole();
    return *frame_->MosaicDlg();
}

void MosaicDlgTest::editBoxIsClampedWhenTheRunReadsIt() {
    auto* columns = OpenConsole().findChild<tessaly::NumberEdit*>(u"gridColumns"_s);
    QVERIFY(columns);
    columns->selectAll();
    QTest::keyClicks(columns, u"700"_s);
    ClickRearrange();
    QCOMPARE(edited_->Doc().State().gridColumns, 500);
    QCOMPARE(columns->text(), u"500"_s);
    QVERIFY(OpenConsole().isVisible());
}

void MosaicDlgTest::storedPlaceIsKeptOnTheDesktop() {
    tessaly::WriteProfileInt(u"Mosaic"_s, u"LastPX"_s, -30);
    tessaly::WriteProfileInt(u"Mosaic"_s, u"LastPY"_s, 0);
    QCOMPARE(OpenConsole().pos(), QPoint(0, 0));
    // Closing hides the console; the open command then shows it again.
    QTest::keyClick(&OpenConsole(), Qt::Key_Escape);
    QVERIFY(!frame_->MosaicConsoleShown() && !OpenConsole().isVisible());
}

// The whole road: a document with a background and a few hundred images,
// the console opened through its command, one run, its undo.
void MosaicDlgTest::rearrangeFromTheFramePlacesAndUndoes() {
    tessaly::Document& doc = edited_->Doc();
    for (int i = 0; i < 300; ++i) {
        const QRgb colour = qRgb(i * 37 % 256, i * 91 % 256, i * 53 % 256);
        tessaly::test::AddNode(doc, 100, 100, 10, 10,
                               tessaly::test::PngBytes(tessaly::test::Filled(8, 8, colour)));
        QVERIFY(tessaly::ComputeNodeSectionAverages(doc, i));
    }
    doc.State().backPicture =
        doc.Pictures().Adopt(*tessaly::ImageBlob::FromEncoded(tessaly::test::JpegBytes(64, 40)));
    const tessaly::NodeRecord before = doc.Node(7);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    frame_->UpdateCommandStates();
    frame_->CommandAction(CommandId::kConsole)->trigger();
    QVERIFY(frame_->MosaicConsoleShown());
    QVERIFY(!frame_->CommandAction(CommandId::kConsole)->isEnabled());

    ClickRearrange();
    QVERIFY(messages_->Messages().empty());
    int placed = 0;
    for (int i = 0; i < doc.State().nodeCount; ++i) placed += doc.Node(i).visible;
    QVERIFY2(placed > 100, qPrintable(QString::number(placed)));
    QVERIFY(Field("elapsed").endsWith(u"ms"_s));
    QVERIFY(Field("areaRatio").endsWith(u"%"_s));
    QCOMPARE(Field("unplaced"), QString::number(300 - placed) + u" 個"_s);
    QAction* undo = frame_->CommandAction(CommandId::kEditUndo);
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(doc.Node(7).centerX, before.centerX);
    QCOMPARE(doc.Node(7).halfWidth, before.halfWidth);
    QCOMPARE(doc.Node(7).visible, before.visible);
}

// The colour shown where the canvas menu opened; the document takes it only
// at the next run.
void MosaicDlgTest::pickedColourGoesToTheButtonOnly() {
    tessaly::DocState& s = edited_->Doc().State();
    s.backColor = tessaly::MakeColorRef(200, 30, 40);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    OpenConsole();
    frame_->View()->SetInsertPoint(QPoint(400, 300));
    frame_->RunCommand(CommandId::kPickNoSetColour);
    auto* button = OpenConsole().findChild<tessaly::ColourButton*>(u"noSetColour"_s);
    QCOMPARE(button->Colour(), tessaly::MakeColorRef(200, 30, 40));
    QCOMPARE(s.noSetColor, tessaly::MakeColorRef(255, 255, 255));
}

// Alt+E is also the frame's "編集(&E)" menu: while the console is the active
// window its own check box takes the key.
void MosaicDlgTest::consoleKeysWinOverTheFrameMenus() {
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    tessaly::CMosaicDlg& console = OpenConsole();
    QApplication::setActiveWindow(&console);
    QCOMPARE(QApplication::activeWindow(), &console);
    const int adjust = edited_->Doc().State().adjustColors;
    // A button's key clicks it a moment later, as a pressed button shows.
    QTest::keyClick(&console, Qt::Key_E, Qt::AltModifier);
    QVERIFY(!QApplication::activePopupWidget());
    QTest::qWait(200);
    QTest::keyClick(&console, Qt::Key_N, Qt::AltModifier);  // "再表示(&N)" stores it
    QTRY_COMPARE(edited_->Doc().State().adjustColors, 1 - adjust);
}

QTEST_MAIN(MosaicDlgTest)
#include "mosaic_dlg_test.moc"
