// 整列: the eleven alignments of the selected nodes.

#include <tuple>

#include "app/commands/command.h"
#include "edits/align_nodes.h"

namespace tessaly {

void AddAlignCommands(CommandTable& table) {
    using C = CommandId;
    // How many selected nodes each kind needs.
    const std::tuple<CommandId, QStringView, Alignment, int> alignments[] = {
        {C::kAlignLeft, u"左揃え", Alignment::Left, 2},
        {C::kAlignRight, u"右揃え", Alignment::Right, 2},
        {C::kAlignTop, u"上揃え", Alignment::Top, 2},
        {C::kAlignBottom, u"下揃え", Alignment::Bottom, 2},
        {C::kCentreVertical, u"垂直中央揃え", Alignment::CentreVertical, 1},
        {C::kCentreHorizontal, u"水平中央揃え", Alignment::CentreHorizontal, 1},
        {C::kSpaceVertical, u"垂直均等揃え", Alignment::SpaceVertical, 3},
        {C::kSpaceHorizontal, u"水平均等揃え", Alignment::SpaceHorizontal, 3},
        {C::kSameWidth, u"幅揃え", Alignment::SameWidth, 2},
        {C::kSameHeight, u"高さ揃え", Alignment::SameHeight, 2},
        {C::kSameSize, u"幅と高さ揃え", Alignment::SameSize, 2},
    };
    for (const auto& [id, label, alignment, needed] : alignments) {
        table.Add({.id = id,
                   .texts = {label, {}, {}},
                   .rule = EnabledWhen(
                       [needed](const CommandContext& c) { return c.selectedCount >= needed; }),
                   .run = [alignment](CommandEnvironment& env) {
                       AlignSelected(env.Edited(), alignment);
                   }});
    }
}

}  // namespace tessaly
