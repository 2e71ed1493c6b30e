#pragma once

#include <QPalette>
#include <QString>

#include "app/commands/command_ids.h"

namespace tessaly {

// The ten selectable looks of the editor, named by their command numbers
// (205..210, 215..218) and stored as "ApplicationLook" (default 216).
struct VisualStyle {
    int number = 216;   // the look actually used
    QString styleName;  // a QStyle key: "Fusion" or "Windows"
    QPalette palette;
};

inline constexpr int kDefaultApplicationLook = static_cast<int>(CommandId::kStyleOffice2007Black);

// The look for a stored value: one of the ten numbers gives its own look,
// 219 a look of its own that no menu entry offers, anything else the
// Office 2007 look.
VisualStyle VisualStyleFor(int storedValue);

// Whether a menu entry offers this look.
bool IsOfferedStyle(CommandId id);

int StoredApplicationLook();
void StoreApplicationLook(int number);

// Applies the look to every window and bar of the application.
void ApplyVisualStyle(int storedValue);

}  // namespace tessaly
