#pragma once

#include <QString>

class QObject;

namespace tessaly {

// Box styles: icon and buttons of a message box.
enum MessageStyle : int {
    kStyleYesNoCancel = 35,  // question icon; Yes, No, Cancel
    kStyleYesNo = 36,        // question icon; Yes, No
    kStyleStop = 16,         // stop icon; OK
    kStyleInformation = 64,  // information icon; OK
};

// The button a message box was closed with.
enum MessageResult : int {
    kResultNoText = 0,  // the id has no text; no box was shown
    kResultOk = 1,
    kResultCancel = 2,
    kResultYes = 6,
    kResultNo = 7,
};

// What actually puts a message in front of the user. The editor installs one
// that opens modal message boxes; tests install one that records the message
// and answers without blocking.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual int Present(QObject* owner, const QString& caption, const QString& text,
                        int style) = 0;
};

// Installs the presenter used by ShowMessage; nullptr restores the default,
// which writes the message to standard error and answers without asking
// (OK for notices, No for yes/no questions, Cancel for three-way ones).
void InstallMessagePresenter(MessagePresenter* presenter);

// Shows string-table message `id` preceded by `leading` (no separator is
// added) with the caption "Tessaly" and returns the button pressed, or
// kResultNoText without showing anything when the id has no text.
int ShowMessage(QObject* owner, const QString& leading, int id, int style);

inline int ShowMessage(int id, int style) { return ShowMessage(nullptr, QString(), id, style); }

// Shows a box of the program's own whose caption and text are made on the
// spot (a result with figures in it) through the same presenter.
int PresentMessage(QObject* owner, const QString& caption, const QString& text, int style);

// The answer a presenter gives when nobody can be asked.
int DefaultAnswer(int style);

}  // namespace tessaly
