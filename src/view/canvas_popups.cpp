#include "view/canvas_popups.h"

#include <QApplication>
#include <QMenu>

namespace tessaly {

CanvasPopups::CanvasPopups(QWidget& owner, Runner run) : owner_(owner), run_(std::move(run)) {}

QMenu* CanvasPopups::Menu(PopupKind kind) {
    const auto found = menus_.find(kind);
    return found != menus_.end() ? found->second : Build(kind);
}

QMenu* CanvasPopups::Build(PopupKind kind) {
    auto* menu = new QMenu(&owner_);
    std::map<QStringView, QMenu*> submenus;
    auto& actions = actions_[kind];
    for (const PopupEntry& entry : PopupEntries(kind)) {
        QMenu* target = menu;
        if (!entry.submenu.isEmpty()) {
            QMenu*& sub = submenus[entry.submenu];
            if (sub == nullptr) sub = menu->addMenu(entry.submenu.toString());
            target = sub;
        }
        if (entry.id == kPopupSeparator) {
            target->addSeparator();
            continue;
        }
        QString text = entry.label.toString();
        if (!entry.keyText.isEmpty()) text += u'\t' + entry.keyText.toString();
        QAction* action = target->addAction(text);
        action->setData(static_cast<int>(entry.id));
        QObject::connect(action, &QAction::triggered, menu, [this, id = entry.id] { run_(id); });
        actions.emplace(entry.id, action);
    }
    menus_.emplace(kind, menu);
    return menu;
}

void CanvasPopups::UpdateStates(PopupKind kind, const PopupContext& context) {
    Menu(kind);
    for (const auto& [id, action] : actions_[kind]) {
        const CommandState state = PopupStateOf(id, context);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked);
        action->setChecked(state.checked);
    }
}

void CanvasPopups::Open(PopupKind kind, QPoint globalPos, const PopupContext& context) {
    UpdateStates(kind, context);
    PopupCentred(*Menu(kind), globalPos);
}

QMenu* CanvasPopups::OpenMenu() const {
    for (const auto& [kind, menu] : menus_) {
        if (menu->isVisible()) return menu;
    }
    return nullptr;
}

void PopupCentred(QMenu& menu, QPoint globalPos) {
    menu.popup(globalPos - QPoint(menu.sizeHint().width() / 2, 0));
}

}  // namespace tessaly
