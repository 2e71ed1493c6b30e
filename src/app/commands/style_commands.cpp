// 表示 → スタイル: the look of the program, checked by the stored number.

#include <utility>

#include "app/commands/command.h"
#include "app/visual_styles.h"

namespace tessaly {

void AddStyleCommands(CommandTable& table) {
    using C = CommandId;
    const std::pair<CommandId, QStringView> styles[] = {
        {C::kStyleWindows2000, u"Windows 2000(&2)"},
        {C::kStyleOfficeXp, u"Office XP(&X)"},
        {C::kStyleWindowsXp, u"Windows XP(&W)"},
        {C::kStyleOffice2003, u"Office 2003(&3)"},
        {C::kStyleVs2005, u"Visual Studio 200&5"},
        {C::kStyleVs2008, u"Visual Studio 200&8"},
        {C::kStyleOffice2007Blue, u"ブルー スタイル(&B)"},
        {C::kStyleOffice2007Black, u"ブラック スタイル(&L)"},
        {C::kStyleOffice2007Silver, u"シルバー スタイル(&S)"},
        {C::kStyleOffice2007Aqua, u"アクア スタイル(&A)"},
    };
    for (const auto& [id, label] : styles) {
        const int number = static_cast<int>(id);
        table.Add({.id = id,
                   .texts = {label, {}, {}},
                   .checkable = true,
                   .rule = CheckedWhen(
                       [number](const CommandContext& c) { return c.applicationLook == number; }),
                   .run = [number](CommandEnvironment& env) { env.ChooseVisualStyle(number); }});
    }
    // Reachable only through a stored value: named, never offered.
    table.Add({.id = C::kStyleWindows7, .texts = {u"Windows 7(&D)", {}, {}}});
}

}  // namespace tessaly
