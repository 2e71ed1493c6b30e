// 回転: turning and mirroring the selected nodes.

#include <tuple>

#include "app/commands/command.h"
#include "edits/node_turns.h"

namespace tessaly {

void AddTurnCommands(CommandTable& table) {
    using C = CommandId;
    const Command::Rule mainSelection =
        EnabledWhen([](const CommandContext& c) { return c.hasMainSelection; });
    // Angles count anticlockwise: "右へ90度" is 270 degrees.
    const std::tuple<CommandId, QStringView, int> turns[] = {
        {C::kRotateRight, u"右へ90度(&R)", 270},
        {C::kRotate180, u"180度(&U)", 180},
        {C::kRotateLeft, u"左へ90度(&L)", 90},
    };
    for (const auto& [id, label, degrees] : turns) {
        table.Add({.id = id,
                   .texts = {label, {}, {}},
                   .rule = mainSelection,
                   .run = [degrees](CommandEnvironment& env) { TurnSelected(env.Edited(), degrees); }});
    }
    const std::tuple<CommandId, QStringView, MirrorAxis> mirrors[] = {
        {C::kMirrorLeftRight, u"左右逆転(&H)", MirrorAxis::LeftRight},
        {C::kMirrorTopBottom, u"上下逆転(&V)", MirrorAxis::TopBottom},
    };
    for (const auto& [id, label, axis] : mirrors) {
        table.Add({.id = id,
                   .texts = {label, {}, {}},
                   .rule = mainSelection,
                   .run = [axis](CommandEnvironment& env) { MirrorSelected(env.Edited(), axis); }});
    }
}

}  // namespace tessaly
