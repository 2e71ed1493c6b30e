// 表示 → グリッド: the grid's kind, or none, and whether it lies on top.

#include <utility>

#include "app/commands/command.h"
#include "edits/view_settings.h"

namespace tessaly {

void AddGridCommands(CommandTable& table) {
    using C = CommandId;
    table.Add({.id = C::kGridNone,
               .texts = {u"なし", {}, {}},
               .checkable = true,
               .rule = CheckedWhen([](const CommandContext& c) { return c.gridMode < 0; }),
               .run = [](CommandEnvironment& env) { ToggleGridShown(env.Edited()); }});
    const std::pair<CommandId, GridMode> modes[] = {
        {C::kGridCross, GridMode::CentreCross}, {C::kGrid10, GridMode::Every10},
        {C::kGrid40, GridMode::Every40},       {C::kGrid70, GridMode::Every70},
        {C::kGrid100, GridMode::Every100},
    };
    const QStringView labels[] = {u"中央十字線", u"10ピクセル間隔", u"40ピクセル間隔",
                                  u"70ピクセル間隔", u"100ピクセル間隔"};
    for (std::size_t i = 0; i < std::size(modes); ++i) {
        const GridMode mode = modes[i].second;
        table.Add({.id = modes[i].first,
                   .texts = {labels[i], {}, {}},
                   .checkable = true,
                   .rule = CheckedWhen(
                       [mode](const CommandContext& c) { return c.gridMode == static_cast<int>(mode); }),
                   .run = [mode](CommandEnvironment& env) { SetGridMode(env.Edited(), mode); }});
    }
    table.Add({.id = C::kGridOnTop,
               .texts = {u"グリッド最前面(&M)", {}, {}},
               .checkable = true,
               .rule = CheckedWhen([](const CommandContext& c) { return c.gridOnTop == 1; }),
               .run = [](CommandEnvironment& env) { ToggleGridOnTop(env.Edited()); }});
}

}  // namespace tessaly
