#pragma once

#include <QObject>
#include <QPointer>


class QWidget;

namespace tessaly {

class CAtelierView;
class CMultuCutDlg;
class Document;
class MultiCutSession;

// What the multi-cut commands run: start, stop, execute, the settings
// window, the range of the popup "MULTICUT" and the line colour. It owns
// nothing but the settings window's pointer: the window is a child of the
// view, made at its first use and hidden whenever the mode stops.
class MultiCutControl : public QObject {
    Q_OBJECT

public:
    // `owner` parents the questions and the colour and folder dialogs.
    MultiCutControl(CAtelierView& view, QWidget* owner);

    void Start();
    void Stop();
    void Execute();
    // Opens the settings window while the mode is on.
    void OpenSettings();
    // Widens, narrows or maximises the range; the rectangle is stored but
    // the document stays unmarked.
    void ChangeRange(bool (MultiCutSession::*change)(const Document&));
    void ChooseLineColour();
    void SetLineWidth(int width);

private:
    void OpenDialog();

    CAtelierView& view_;
    QWidget* owner_;
    QPointer<CMultuCutDlg> dialog_;
};

}  // namespace tessaly
