#pragma once

#include <QStringView>
#include <span>

#include "app/commands/command_ids.h"
#include "app/commands/command_rules.h"

namespace tessaly {

// The canvas's four context menus. Their entries name commands of the
// command table; some carry labels of their own ("貼り付け(&V)" in the
// canvas menu, "貼り付け(&P)" in the menu bar).
enum class PopupKind {
    View,      // "VIEW": an empty part of the canvas
    Image,     // "IMAGE": a node
    MultiCut,  // "MULTICUT": the cut range while multi-cut mode is on
    Zoom,      // "ZOOM": the zoom console
};

struct PopupEntry {
    CommandId id;         // kPopupSeparator for a separator
    QStringView label;    // with its "(&X)" mnemonic
    QStringView keyText;  // drawn right of the label; empty for none
    QStringView submenu;  // the submenu the entry sits in; empty for the menu itself
};

inline constexpr CommandId kPopupSeparator = static_cast<CommandId>(0);

// The entries of a popup in menu order. "ZOOM" is built by the zoom console's
// owner from its zoom levels and has no entries here.
std::span<const PopupEntry> PopupEntries(PopupKind kind);


}  // namespace tessaly
