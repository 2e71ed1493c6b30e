#include "app/dialogs/make_mosaic_dlg.h"

#include <QDir>
#include <QImageReader>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "app/atelier_doc.h"
#include "app/main_frame.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "services/recent_files.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace Qt::StringLiterals;
using tessaly::CMakeMosaicDlg;

class MakeMosaicDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void anEmptyListIsReportedAndTheDialogStays();
    void droppedImagesAreListedAndShrunkIntoTheFolder();
    void theMenuOpensTheDialogAndChecksImageSizes();

private:
    QString Out() const { return QDir(temp_->Path()).filePath(u"Images"_s); }

    std::unique_ptr<tessaly::test::ScopedTempDir> temp_;
    std::unique_ptr<tessaly::test::MessageRecorder> messages_;
};

namespace {

template <typename Button>
void Click(QWidget& dialog, const QString& text) {
    for (Button* button : dialog.findChildren<Button*>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable(u"no button "_s + text));
}

// Drops files on the list as a file manager would.
void Drop(CMakeMosaicDlg& dialog, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QWidget* viewport = dialog.findChild<QTreeWidget*>()->viewport();
    // The drop goes where the drag entered.
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
}

QStringList Column(const CMakeMosaicDlg& dialog, int column) {
    const auto* list = dialog.findChild<QTreeWidget*>();
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(column);
    return texts;
}

}  // namespace

void MakeMosaicDlgTest::init() {
    temp_ = std::make_unique<tessaly::test::ScopedTempDir>();
    tessaly::UseSettingsFile(QDir(temp_->Path()).filePath(u"settings.ini"_s));
    messages_ = std::make_unique<tessaly::test::MessageRecorder>();
}

void MakeMosaicDlgTest::cleanup() {
    messages_.reset();
    tessaly::UseSettingsFile({});
    temp_.reset();
}

void MakeMosaicDlgTest::anEmptyListIsReportedAndTheDialogStays() {
    tessaly::WriteProfileInt(u"MakeMosaic"_s, u"Yoko"_s, 5000);
    tessaly::WriteProfileInt(u"MakeMosaic"_s, u"Houhou"_s, 3);  // no such method
    CMakeMosaicDlg dialog;
    dialog.SetOutputFolder(Out());
    dialog.show();
    Click<QPushButton>(dialog, u"作成開始(&S)"_s);
    QCOMPARE(messages_->Texts(), std::vector<QString>{tessaly::LoadString(30113)});
    QVERIFY(dialog.isVisible());
    // The choices were stored all the same, as they were read.
    QCOMPARE(tessaly::GetProfileInt(u"MakeMosaic"_s, u"Yoko"_s, 0), 1000);
    QCOMPARE(tessaly::GetProfileInt(u"MakeMosaic"_s, u"Houhou"_s, -1), 0);
}

void MakeMosaicDlgTest::droppedImagesAreListedAndShrunkIntoTheFolder() {
    const QString photos = QDir(temp_->Path()).filePath(u"photos"_s);
    QVERIFY(QDir().mkpath(photos));
    const QString a = tessaly::test::WriteFile(photos, u"a.jpg"_s, tessaly::test::JpegBytes(400, 300));
    const QString b = tessaly::test::WriteFile(photos, u"b.gif"_s,
                                               tessaly::test::TwoFrameGif(40, 30, Qt::red, Qt::blue));
    CMakeMosaicDlg dialog;
    dialog.SetOutputFolder(Out());
    Drop(dialog, {photos, a, b});  // the folder itself is skipped
    QCOMPARE(dialog.ListedPaths(), (QStringList{a, b}));
    QCOMPARE(Column(dialog, 1), (QStringList{u"jpeg"_s, u"gif"_s}));

    dialog.findChild<QTreeWidget*>()->topLevelItem(0)->setSelected(true);
    Click<QPushButton>(dialog, u"削除(&D)"_s);
    Drop(dialog, {a, b});
    QCOMPARE(dialog.ListedPaths(), (QStringList{b, a}));
    QCOMPARE(Column(dialog, 0), (QStringList{u"1"_s, u"2"_s}));

    Click<QRadioButton>(dialog, u"PNG(&P)"_s);
    Click<QRadioButton>(dialog, u"タテを上のサイズにし、ヨコは元のイメージの縦横比に合せて調整する(&2)"_s);
    Click<QPushButton>(dialog, u"作成開始(&S)"_s);
    QCOMPARE(messages_->Texts(), std::vector<QString>{tessaly::LoadString(30069)});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QDir(Out()).entryList(QDir::Files), (QStringList{u"000001.png"_s, u"000002.png"_s}));
    QCOMPARE(QImageReader(QDir(Out()).filePath(u"000002.png"_s)).size(), QSize(133, 100));
    QCOMPARE(tessaly::GetProfileInt(u"MakeMosaic"_s, u"FileType"_s, 0), 4);
    QCOMPARE(tessaly::GetProfileInt(u"MakeMosaic"_s, u"Houhou"_s, 0), 1);
}

void MakeMosaicDlgTest::theMenuOpensTheDialogAndChecksImageSizes() {
    tessaly::EditedDocument edited;
    QVERIFY(edited.Doc().AllocateNodeTables());
    QVERIFY(edited.Doc().ResetDocument());
    tessaly::test::AddNode(edited.Doc(), 100, 100, 30, 10, tessaly::test::JpegBytes(60, 20));
    tessaly::RecentFileList recent;
    tessaly::CAtelierDoc atelierDoc(edited, recent);
    tessaly::CMainFrame frame(edited, atelierDoc, recent);

    messages_->QueueAnswer(tessaly::kResultYes);
    frame.RunCommand(tessaly::CommandId::kImageSizeCheck);
    const auto* picture = edited.Doc().Picture(edited.Doc().Node(0).picture);
    QCOMPARE(picture->PixelSize(), QSize(40, 40));

    QString opened;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CMakeMosaicDlg*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll.stop();
        opened = dialog->windowTitle();
        dialog->reject();
    });
    poll.start();
    frame.RunCommand(tessaly::CommandId::kBatchCreate);
    QCOMPARE(opened, u"モザイク用イメージ一括作成"_s);
}

QTEST_MAIN(MakeMosaicDlgTest)
#include "make_mosaic_dlg_test.moc"
