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
        if (!box || !box->isVisible()) return;
        poll.stop();
        seen->shown = true;
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->format = box->textFormat();
        seen->icon = box->icon();
        seen->buttons = box->standardButtons();
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
    void textIsShownAsPlainText();
    void boxBelongsToTheOwnersWindow();
    void showMessageUsesTheStringTableAndTitle();
};

// Ways to answer besides a button: keys and the window's close button.
constexpr int kEnter = -1;
constexpr int kEscape = -2;
constexpr int kClose = -3;

void MessageBoxPresenterTest::styleGivesIconButtonsAndResult_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("result");
    const int stop = QMessageBox::Critical;
    const int question = QMessageBox::Question;
    const int ok = QMessageBox::Ok;
    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    const int yesNoCancel = yesNo | QMessageBox::Cancel;
    QTest::newRow("stop, OK") << 16 << stop << ok << ok << 1;
    QTest::newRow("stop, Escape") << 16 << stop << ok << kEscape << 1;
    QTest::newRow("notice, closed") << 64 << int(QMessageBox::Information) << ok << kClose << 1;
    QTest::newRow("yes/no, Yes") << 36 << question << yesNo << int(QMessageBox::Yes) << 6;
    // Enter on a confirmation means Yes, never the toolkit's own default.
    QTest::newRow("yes/no, Enter") << 36 << question << yesNo << kEnter << 6;
    QTest::newRow("yes/no, Escape") << 36 << question << yesNo << kEscape << 7;
    QTest::newRow("yes/no, closed") << 36 << question << yesNo << kClose << 7;
    QTest::newRow("three-way, No") << 35 << question << yesNoCancel << int(QMessageBox::No) << 7;
    QTest::newRow("three-way, Cancel")
        << 35 << question << yesNoCancel << int(QMessageBox::Cancel) << 2;
    QTest::newRow("three-way, Enter") << 35 << question << yesNoCancel << kEnter << 6;
    QTest::newRow("three-way, Escape") << 35 << question << yesNoCancel << kEscape << 2;
    QTest::newRow("three-way, closed") << 35 << question << yesNoCancel << kClose << 2;
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
        [&](QMessageBox* box) {
            if (press == kClose) {
                box->close();
            } else if (press < 0) {
                QTest::keyClick(box, press == kEnter ? Qt::Key_Return : Qt::Key_Escape);
            } else {
                Click(box, QMessageBox::StandardButton(press));
            }
        },
        &seen);
    QVERIFY(seen.shown);
    QCOMPARE(seen.caption, u"Tessaly"_s);
    QCOMPARE(seen.text, u"削除してもよろしいですか"_s);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(int(seen.buttons), buttons);
    QCOMPARE(answer, result);
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
                   if (label->textFormat() != Qt::PlainText) labelText.clear();
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
