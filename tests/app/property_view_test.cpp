#include "app/property_view.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/view_properties_command.h"
#include "document/edited_document.h"
#include "services/message_service.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace Qt::StringLiterals;
using tessaly::CPropertyView;

namespace {

void Click(CPropertyView& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            QVERIFY(button->isEnabled());
            button->click();
            return;
        }
    }
    QFAIL(qPrintable(u"no button "_s + text));
}

}  // namespace

class PropertyViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clearThenCancelKeepsThePicture();
    void setFitAndSaveReachTheDocument();

private:
    // Opens the dialog as the commands do and, once it is up, chooses
    // `file` for "セット(&I)" and presses `buttons` in turn.
    tessaly::AppliedViewProperties Run(const QString& file, const QStringList& buttons);

    std::unique_ptr<tessaly::test::ScopedTempDir> temp_;
    std::unique_ptr<tessaly::test::MessageRecorder> messages_;
    std::unique_ptr<tessaly::EditedDocument> edited_;
};

void PropertyViewTest::init() {
    temp_ = std::make_unique<tessaly::test::ScopedTempDir>();
    messages_ = std::make_unique<tessaly::test::MessageRecorder>();
    edited_ = std::make_unique<tessaly::EditedDocument>();
    QVERIFY(edited_->Doc().ResetDocument());
}

void PropertyViewTest::cleanup() {
    edited_.reset();
    messages_.reset();
    temp_.reset();
}

tessaly::AppliedViewProperties PropertyViewTest::Run(const QString& file,
                                                     const QStringList& buttons) {
    QTimer::singleShot(0, this, [file, buttons] {
        auto* dialog = qobject_cast<CPropertyView*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->SetFileChooserForTesting([file](QWidget*) { return file; });
        for (const QString& text : buttons) Click(*dialog, text);
    });
    return tessaly::EditViewProperties(*edited_, nullptr);
}

void PropertyViewTest::clearThenCancelKeepsThePicture() {
    tessaly::Document& doc = edited_->Doc();
    tessaly::test::FillDocument(doc, 1);
    doc.SetModified(false);
    const tessaly::PictureRef before = doc.State().backPicture;
    const auto applied = Run({}, {u"クリア(&K)"_s, u"中止(&C)"_s});
    QVERIFY(!applied.changed);
    QCOMPARE(doc.State().backPicture, before);
    QVERIFY(!doc.IsModified());
}

void PropertyViewTest::setFitAndSaveReachTheDocument() {
    const QString file = tessaly::test::WriteFile(temp_->Path(), u"back.jpg"_s,
                                                  tessaly::test::JpegBytes(1600, 1200));
    messages_->QueueAnswer(tessaly::kResultYes);  // the nodes follow the new width
    const auto applied = Run(file, {u"セット(&I)"_s, u"幅合せ(&W)"_s, u"保存終了(&S)"_s});
    QVERIFY(applied.backgroundSet);
    const tessaly::Document& doc = edited_->Doc();
    QCOMPARE(doc.State().canvasWidth, 1333);  // 1000 high at 4:3
    QVERIFY(doc.Picture(doc.State().backPicture));
    QCOMPARE(doc.Picture(doc.State().backPicture)->PixelSize(), QSize(1600, 1200));
    QVERIFY(doc.IsModified());
}

QTEST_MAIN(PropertyViewTest)
#include "property_view_test.moc"
