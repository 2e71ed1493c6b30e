#include "app/arrangement_commands.h"

#include "app/node_image_commands.h"
#include "canvas/view/atelier_view.h"
#include "commands/align_nodes.h"
#include "commands/delete_nodes.h"
#include "commands/node_order.h"
#include "commands/node_turns.h"
#include "commands/node_visibility.h"
#include "commands/random_positions.h"
#include "services/random_generator.h"

namespace tessaly {
namespace {

void DeleteNodes(CAtelierView& view, QWidget* owner) {
    if (!AskDeleteSelected(view.Doc(), owner)) return;
    // A delete empties the copy store, as undo, redo, new and open do.
    view.EmptyCopyStore();
    DeleteSelected(view.Edited());
}

void ScatterNodes(EditedDocument& edited) {
    CrtRandom random;
    random.SeedFromClock();
    ScatterSelected(edited, random);
}

}  // namespace

void AddArrangementHandlers(CommandHandlers& handlers, CAtelierView& view, QWidget* owner) {
    using C = CommandId;
    EditedDocument& edited = view.Edited();
    const std::pair<CommandId, Alignment> alignments[] = {
        {C::kAlignLeft, Alignment::Left},
        {C::kAlignRight, Alignment::Right},
        {C::kAlignTop, Alignment::Top},
        {C::kAlignBottom, Alignment::Bottom},
        {C::kCentreVertical, Alignment::CentreVertical},
        {C::kCentreHorizontal, Alignment::CentreHorizontal},
        {C::kSpaceVertical, Alignment::SpaceVertical},
        {C::kSpaceHorizontal, Alignment::SpaceHorizontal},
        {C::kSameWidth, Alignment::SameWidth},
        {C::kSameHeight, Alignment::SameHeight},
        {C::kSameSize, Alignment::SameSize},
    };
    for (const auto& [id, alignment] : alignments) {
        handlers[id] = [&edited, alignment] { AlignSelected(edited, alignment); };
    }
    // Angles count anticlockwise: "右へ90度" is 270 degrees.
    const std::pair<CommandId, int> turns[] = {
        {C::kRotateRight, 270}, {C::kRotate180, 180}, {C::kRotateLeft, 90}};
    for (const auto& [id, degrees] : turns) {
        handlers[id] = [&edited, degrees] { TurnSelected(edited, degrees); };
    }
    handlers[C::kMirrorLeftRight] = [&edited] { MirrorSelected(edited, MirrorAxis::LeftRight); };
    handlers[C::kMirrorTopBottom] = [&edited] { MirrorSelected(edited, MirrorAxis::TopBottom); };
    handlers[C::kBringToFront] = [&edited] { RestackSelected(edited, StackEnd::Front); };
    handlers[C::kSendToBack] = [&edited] { RestackSelected(edited, StackEnd::Back); };
    handlers[C::kSwapPositions] = [&edited] { SwapSelected(edited); };
    handlers[C::kRandomPositions] = [&edited] { ScatterNodes(edited); };
    handlers[C::kHideSelected] = [&edited] { HideSelected(edited); };
    handlers[C::kShowAll] = [&edited] { ShowAllNodes(edited); };
    handlers[C::kEditDelete] = [&view, owner] { DeleteNodes(view, owner); };
    handlers[C::kChangeImage] = [&view, owner] { ChangeNodeImageCommand(view, owner); };
    handlers[C::kSaveNodeImage] = [&view, owner] { SaveNodeImageCommand(view, owner); };
}

}  // namespace tessaly
