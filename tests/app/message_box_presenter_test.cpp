#include "app/message_box_presenter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "resources/string_table.h"
#include "services/message_service.h"

using namespace Qt::StringLiterals;
using tessaly::MessageBoxPresenter;

namespace {

// What a test saw of the box before it answered it.
struct SeenBox {
    bool shown = false;
    QString caption;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QWidget* parent = nullptr;
};

// Runs `open`, which shows a modal box, and lets `answer` act on that box
// from inside its event loop. A box nobody answers is closed after a while so
// that a broken test fails instead of hanging.
int RunBox(const std::function<int()>& open, const std::function<void(QMessageBox*)>& answer,
           SeenBox* seen) {
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        seen->shown = true;
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->format = box->textFormat();
        seen->icon = box->icon();
        seen->buttons = box->standardButtons();
        seen->defaultButton = box->standardButton(box->defaultButton());
        seen->parent = box->parentWidget();
        answer(box);
        QTimer::singleShot(3000, box, [box] { box->done(-1); });
    });
    poll.start();
    return open();
}

void Click(QMessageBox* box, QMessageBox::StandardButton which) {
    QAbstractButton* button = box->button(which);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

class MessageBoxPresenterTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { tessaly::InstallMessagePresenter(nullptr); }

    void styleGivesIconButtonsAndResult_data();
    void styleGivesIconButtonsAndResult();
    void escapeAndCloseAnswerSafely_data();
    void escapeAndCloseAnswerSafely();
    void enterTakesTheFirstButton();
    void textIsShownAsPlainText();
    void boxBelongsToTheOwnersWindow();
    void showMessageUsesTheStringTableAndTitle();
};

void MessageBoxPresenterTest::styleGivesIconButtonsAndResult_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("result");
    const int ok = QMessageBox::Ok;
    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    const int cancel = QMessageBox::Cancel;
    const int yesNo = yes | no;
    const int yesNoCancel = yes | no | cancel;
    QTest::newRow("stop OK") << 16 << int(QMessageBox::Critical) << ok << ok << 1;
    QTest::newRow("information OK") << 64 << int(QMessageBox::Information) << ok << ok << 1;
    QTest::newRow("question Yes") << 36 << int(QMessageBox::Question) << yesNo << yes << 6;
    QTest::newRow("question No") << 36 << int(QMessageBox::Question) << yesNo << no << 7;
    QTest::newRow("three-way Yes") << 35 << int(QMessageBox::Question) << yesNoCancel << yes << 6;
    QTest::newRow("three-way No") << 35 << int(QMessageBox::Question) << yesNoCancel << no << 7;
    QTest::newRow("three-way Cancel")
        << 35 << int(QMessageBox::Question) << yesNoCancel << cancel << 2;
}

void MessageBoxPresenterTest::styleGivesIconButtonsAndResult() {
    QFETCH(int, style);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, press);
    QFETCH(int, result);
    MessageBoxPresenter presenter;
    SeenBox seen;
    const int answer = RunBox(
        [&] {
            return presenter.Present(nullptr, u"Tessaly"_s, u"削除してもよろしいですか"_s, style);
        },
        [&](QMessageBox* box) { Click(box, QMessageBox::StandardButton(press)); }, &seen);
    QVERIFY(seen.shown);
    QCOMPARE(seen.caption, u"Tessaly"_s);
    QCOMPARE(seen.text, u"削除してもよろしいですか"_s);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(int(seen.buttons), buttons);
    QCOMPARE(answer, result);
}

void MessageBoxPresenterTest::escapeAndCloseAnswerSafely_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("byClosing");
    QTest::addColumn<int>("result");
    QTest::newRow("stop, Escape") << 16 << false << 1;
    QTest::newRow("notice, closed") << 64 << true << 1;
    QTest::newRow("yes/no, Escape") << 36 << false << 7;
    QTest::newRow("yes/no, closed") << 36 << true << 7;
    QTest::newRow("three-way, Escape") << 35 << false << 2;
    QTest::newRow("three-way, closed") << 35 << true << 2;
}

void MessageBoxPresenterTest::escapeAndCloseAnswerSafely() {
    QFETCH(int, style);
    QFETCH(bool, byClosing);
    QFETCH(int, result);
    MessageBoxPresenter presenter;
    SeenBox seen;
    const int answer =
        RunBox([&] { return presenter.Present(nullptr, u"Tessaly"_s, u"?"_s, style); },
               [&](QMessageBox* box) {
                   if (byClosing) {
                       box->close();
                   } else {
                       QTest::keyClick(box, Qt::Key_Escape);
                   }
               },
               &seen);
    QVERIFY(seen.shown);
    QCOMPARE(answer, result);
}

void MessageBoxPresenterTest::enterTakesTheFirstButton() {
    // Enter on a confirmation must mean Yes, as the first button does, never
    // whichever button happens to be the toolkit's default.
    MessageBoxPresenter presenter;
    for (const int style : {35, 36}) {
        SeenBox seen;
        const int answer =
            RunBox([&] { return presenter.Present(nullptr, u"Tessaly"_s, u"?"_s, style); },
                   [&](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, &seen);
        QCOMPARE(seen.defaultButton, QMessageBox::Yes);
        QCOMPARE(answer, 6);
    }
}

void MessageBoxPresenterTest::textIsShownAsPlainText() {
    // File names can look like markup; they must reach the user unchanged.
    const QString text = u"/home/user/<b>mosaic</b>&amp;.tsd\nファイルのオープンに失敗しました"_s;
    MessageBoxPresenter presenter;
    SeenBox seen;
    QString labelText;
    RunBox([&] { return presenter.Present(nullptr, u"Tessaly"_s, text, 16); },
           [&](QMessageBox* box) {
               if (auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s)) {
                   labelText = label->text();
                   if (label->textFormat() != Qt::PlainText)
                       labelText.clear();
               }
               Click(box, QMessageBox::Ok);
           },
           &seen);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(labelText, text);
}

void MessageBoxPresenterTest::boxBelongsToTheOwnersWindow() {
    QWidget window;
    auto* child = new QWidget(&window);
    auto* helper = new QObject(child);  // owner that is not a widget itself
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    MessageBoxPresenter presenter;

    for (QObject* owner : {static_cast<QObject*>(child), helper}) {
        SeenBox seen;
        RunBox([&] { return presenter.Present(owner, u"Tessaly"_s, u"x"_s, 64); },
               [&](QMessageBox* box) { Click(box, QMessageBox::Ok); }, &seen);
        QCOMPARE(seen.parent, &window);
    }

    // Without an owner the box belongs to the active window.
    QApplication::setActiveWindow(&window);
    SeenBox seen;
    RunBox([&] { return presenter.Present(nullptr, u"Tessaly"_s, u"x"_s, 64); },
           [&](QMessageBox* box) { Click(box, QMessageBox::Ok); }, &seen);
    QCOMPARE(seen.parent, &window);
}

void MessageBoxPresenterTest::showMessageUsesTheStringTableAndTitle() {
    MessageBoxPresenter presenter;
    tessaly::InstallMessagePresenter(&presenter);
    SeenBox seen;
    const int answer = RunBox(
        [&] {
            return tessaly::ShowMessage(nullptr, u"/tmp/a.tsd\n"_s, tessaly::kMsgConfirmDelete,
                                        tessaly::kStyleYesNo);
        },
        [&](QMessageBox* box) { Click(box, QMessageBox::No); }, &seen);
    QCOMPARE(seen.caption, u"Tessaly"_s);
    QCOMPARE(seen.text, u"/tmp/a.tsd\n削除してもよろしいですか"_s);
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(answer, int(tessaly::kResultNo));

    // An id without text shows nothing and answers 0.
    SeenBox none;
    const int silent = RunBox([&] { return tessaly::ShowMessage(29999, tessaly::kStyleStop); },
                              [&](QMessageBox* box) { box->done(-1); }, &none);
    QVERIFY(!none.shown);
    QCOMPARE(silent, 0);
}

QTEST_MAIN(MessageBoxPresenterTest)
#include "message_box_presenter_test.moc"
