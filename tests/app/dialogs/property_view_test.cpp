#include "app/dialogs/property_view.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

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

// Types `text` over the box labelled `label`.
void Type(CPropertyView& dialog, const QString& label, const QString& text) {
    for (QLabel* caption : dialog.findChildren<QLabel*>()) {
        if (caption->text() == label && caption->buddy()) {
            auto* box = qobject_cast<QAbstractSpinBox*>(caption->buddy());
            QVERIFY(box);
            box->selectAll();
            QTest::keyClicks(box, text);
            return;
        }
    }
    QFAIL(qPrintable(u"no box "_s + label));
}

}  // namespace

class PropertyViewTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(edited_.Doc().ResetDocument()); }
    void clearThenCancelKeepsThePicture();
    void setFitAndSaveReachTheDocument();

private:
    // Opens the dialog as the commands do and, once it is up, chooses
    // `file` for "セット(&I)" and runs `steps` on it.
    tessaly::AppliedViewProperties Run(const QString& file,
                                       std::function<void(CPropertyView&)> steps);

    tessaly::test::ScopedTempDir temp_;
    tessaly::test::MessageRecorder messages_;
    tessaly::EditedDocument edited_;
};

tessaly::AppliedViewProperties PropertyViewTest::Run(const QString& file,
                                                     std::function<void(CPropertyView&)> steps) {
    QTimer::singleShot(0, this, [file, steps] {
        auto* dialog = qobject_cast<CPropertyView*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->SetFileChooserForTesting([file](QWidget*) { return file; });
        steps(*dialog);
    });
    return tessaly::EditViewProperties(edited_, nullptr);
}

void PropertyViewTest::clearThenCancelKeepsThePicture() {
    tessaly::Document& doc = edited_.Doc();
    tessaly::test::FillDocument(doc, 1);
    doc.SetModified(false);
    const tessaly::PictureRef before = doc.State().backPicture;
    const auto applied = Run({}, [](CPropertyView& dialog) {
        Click(dialog, u"クリア(&K)"_s);
        Click(dialog, u"中止(&C)"_s);
    });
    QVERIFY(!applied.changed);
    QCOMPARE(doc.State().backPicture, before);
    QVERIFY(!doc.IsModified());
}

void PropertyViewTest::setFitAndSaveReachTheDocument() {
    const QString file =
        tessaly::test::WriteFile(temp_.Path(), u"back.jpg"_s, tessaly::test::JpegBytes(1600, 1200));
    messages_.QueueAnswer(tessaly::kResultYes);  // the nodes follow the new width
    const auto applied = Run(file, [](CPropertyView& dialog) {
        Click(dialog, u"セット(&I)"_s);
        Type(dialog, u"2 ビューの高さ："_s, u"1,200"_s);
        Click(dialog, u"幅合せ(&W)"_s);
        Click(dialog, u"保存終了(&S)"_s);
    });
    QVERIFY(applied.backgroundSet);
    const tessaly::Document& doc = edited_.Doc();
    QCOMPARE(doc.State().canvasHeight, 1200);
    QCOMPARE(doc.State().canvasWidth, 1600);  // 4:3 at the height typed
    QVERIFY(doc.Picture(doc.State().backPicture));
    QCOMPARE(doc.Picture(doc.State().backPicture)->PixelSize(), QSize(1600, 1200));
    QVERIFY(doc.IsModified());
}

QTEST_MAIN(PropertyViewTest)
#include "property_view_test.moc"
