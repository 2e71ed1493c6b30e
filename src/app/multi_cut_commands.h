#pragma once

#include <QObject>
#include <QPointer>

#include "app/arrangement_commands.h"

class QWidget;

namespace tessaly {

class CAtelierView;
class CMultuCutDlg;

// The multi-cut commands of the frame's table: start, stop, execute and the
// settings window, the range commands of the popup "MULTICUT" (widen,
// narrow, the whole node) and the line colour and thickness. It owns nothing
// but the settings window's pointer: the window is a child of the view,
// made at its first use and hidden whenever the mode stops.
class MultiCutCommands : public QObject {
    Q_OBJECT

public:
    // `owner` parents the questions and the colour and folder dialogs.
    MultiCutCommands(CAtelierView& view, QWidget* owner);

    void AddHandlers(CommandHandlers& handlers);

private:
    void Start();
    void Stop();
    void Execute();
    void OpenDialog();
    void ChooseLineColour();

    CAtelierView& view_;
    QWidget* owner_;
    QPointer<CMultuCutDlg> dialog_;
};

}  // namespace tessaly
