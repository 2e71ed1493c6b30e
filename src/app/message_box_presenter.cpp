#include "app/message_box_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace tessaly {
namespace {

// Box styles combine a button set (low four bits) with an icon (next four).
constexpr int kButtonMask = 0x0F;
constexpr int kIconMask = 0xF0;
constexpr int kButtonsOk = 0;
constexpr int kButtonsOkCancel = 1;
constexpr int kButtonsYesNoCancel = 3;
constexpr int kButtonsYesNo = 4;
constexpr int kIconStop = 0x10;
constexpr int kIconQuestion = 0x20;
constexpr int kIconWarning = 0x30;
constexpr int kIconInformation = 0x40;

QMessageBox::Icon IconOf(int style) {
    switch (style & kIconMask) {
        case kIconStop:
            return QMessageBox::Critical;
        case kIconQuestion:
            return QMessageBox::Question;
        case kIconWarning:
            return QMessageBox::Warning;
        case kIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton first;   // the default button
    QMessageBox::StandardButton escape;  // what Escape and closing the box answer
};

ButtonSet ButtonsOf(int style) {
    switch (style & kButtonMask) {
        case kButtonsOkCancel:
            return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
        case kButtonsYesNoCancel:
            return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                    QMessageBox::Cancel};
        case kButtonsYesNo:
            return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
        case kButtonsOk:
        default:
            return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    }
}

int ResultOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return kResultOk;
        case QMessageBox::Cancel:
            return kResultCancel;
        case QMessageBox::Yes:
            return kResultYes;
        case QMessageBox::No:
            return kResultNo;
        default:
            return kResultCancel;
    }
}

QWidget* OwnerWidget(QObject* owner) {
    for (QObject* object = owner; object; object = object->parent()) {
        if (auto* widget = qobject_cast<QWidget*>(object))
            return widget->window();
    }
    return QApplication::activeWindow();
}

}  // namespace

int MessageBoxPresenter::Present(QObject* owner, const QString& caption, const QString& text,
                                 int style) {
    const ButtonSet set = ButtonsOf(style);
    // The box may outlive its parent while it runs its own loop; QPointer
    // notices when it has been deleted with it.
    QPointer<QMessageBox> box =
        new QMessageBox(IconOf(style), caption, text, set.buttons, OwnerWidget(owner));
    // Paths and file names in the text are shown as they are, never as markup.
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(set.first);
    box->setEscapeButton(set.escape);
    box->exec();
    if (!box)
        return ResultOf(set.escape);
    QAbstractButton* clicked = box->clickedButton();
    const int result = ResultOf(clicked ? box->standardButton(clicked) : set.escape);
    delete box.data();
    return result;
}

}  // namespace tessaly
