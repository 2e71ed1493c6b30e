// マルチカット: start, stop, execute and the settings window in the menu bar;
// in the popup "MULTICUT" also the range, the line colour and thickness.

#include <utility>

#include "app/commands/command.h"
#include "app/commands/multi_cut_control.h"
#include "canvas/multi_cut_session.h"

namespace tessaly {

void AddMultiCutCommands(CommandTable& table) {
    using C = CommandId;
    const Command::Rule canStart = EnabledWhen(
        [](const CommandContext& c) { return c.canCutMainSelection && !c.multiCutMode; });
    table.Add({.id = C::kMultiCutStart,
               .texts = {u"マルチカット処理(&H)", u"Ctrl+M", {}},
               .rule = canStart,
               .popupRule = AsInMenuBar(canStart),
               .run = [](CommandEnvironment& env) { env.MultiCut().Start(); }});
    const Command::Rule inMode = EnabledWhen([](const CommandContext& c) { return c.multiCutMode; });
    table.Add({.id = C::kMultiCutStop,
               .texts = {u"マルチカット中止(&Q)", u"Esc", {}},
               .rule = inMode,
               .run = [](CommandEnvironment& env) { env.MultiCut().Stop(); }});
    table.Add({.id = C::kMultiCutExecute,
               .texts = {u"マルチカット実行(&G)", {}, {}},
               .rule = inMode,
               .run = [](CommandEnvironment& env) { env.MultiCut().Execute(); }});
    table.Add({.id = C::kMultiCutSettings,
               .texts = {u"マルチカット設定(&S)", {}, {}},
               .rule = inMode,
               .run = [](CommandEnvironment& env) { env.MultiCut().OpenSettings(); }});

    using Range = bool (MultiCutSession::*)(const Document&);
    const std::pair<CommandId, Range> ranges[] = {
        {C::kCutWiden, &MultiCutSession::Widen},
        {C::kCutNarrow, &MultiCutSession::Narrow},
        {C::kCutMaximum, &MultiCutSession::Maximize},
    };
    for (const auto& [id, change] : ranges) {
        table.Add({.id = id, .run = [change](CommandEnvironment& env) { env.MultiCut().ChangeRange(change); }});
    }
    table.Add({.id = C::kCutLineColour,
               .run = [](CommandEnvironment& env) { env.MultiCut().ChooseLineColour(); }});
    // Exactly the current line thickness is ticked.
    for (int width = 1; width <= kCutLineWidths; ++width) {
        table.Add({.id = CutLineWidthCommand(width),
                   .popupRule = [width](const PopupContext& c) {
                       return CommandState{true, c.cutLineWidth == width};
                   },
                   .run = [width](CommandEnvironment& env) { env.MultiCut().SetLineWidth(width); }});
    }
}

}  // namespace tessaly
