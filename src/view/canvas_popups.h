#pragma once

#include <QPoint>
#include <functional>
#include <map>

#include "app/commands/context_menus.h"

class QAction;
class QMenu;
class QWidget;

namespace tessaly {

// The context menus "VIEW", "IMAGE" and "MULTICUT" of the canvas, built from
// the popup table on first use. An entry that is chosen is handed to the
// runner given at construction.
class CanvasPopups {
public:
    using Runner = std::function<void(CommandId)>;
    CanvasPopups(QWidget& owner, Runner run);

    QMenu* Menu(PopupKind kind);
    // Sets the enabled and ticked states of a popup's entries.
    void UpdateStates(PopupKind kind, const PopupContext& context);
    // Opens a popup centred horizontally on the pointer; it does not block.
    void Open(PopupKind kind, QPoint globalPos, const PopupContext& context);
    // The popup that is open now, if it is one of these.
    QMenu* OpenMenu() const;

private:
    QMenu* Build(PopupKind kind);

    QWidget& owner_;
    Runner run_;
    std::map<PopupKind, QMenu*> menus_;
    std::map<PopupKind, std::map<CommandId, QAction*>> actions_;
};

// Centres a menu horizontally on a global point.
void PopupCentred(QMenu& menu, QPoint globalPos);

}  // namespace tessaly
