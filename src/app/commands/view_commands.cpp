// 表示: hiding and showing nodes, the zoom steps and the zoom console, the
// toolbar and status bar, and the frame keys F2 (guide texts) and F10 (hover
// animation).

#include "app/commands/command.h"
#include "view/atelier_view.h"
#include "view/zoom_console.h"
#include "edits/node_visibility.h"
#include "resources/ui_strings.h"

namespace tessaly {

void AddViewCommands(CommandTable& table) {
    using C = CommandId;
    table.Add({.id = C::kHideSelected,
               .texts = {u"選択イメージを非表示(&H)", {}, {}},
               .rule = EnabledWhen([](const CommandContext& c) { return c.selectedCount >= 1; }),
               .run = [](CommandEnvironment& env) { HideSelected(env.Edited()); }});
    table.Add({.id = C::kShowAll,
               .texts = {u"すべてのイメージを表示(&D)", {}, {}},
               .rule = EnabledWhen(
                   [](const CommandContext& c) { return c.nodeCount > 0 && c.hiddenCount > 0; }),
               .popupRule = [](const PopupContext& c) {
                   return CommandState{c.commands.hiddenCount > 0, false};
               },
               .run = [](CommandEnvironment& env) { ShowAllNodes(env.Edited()); }});
    table.Add({.id = C::kConsoleToTopLeft,
               .run = [](CommandEnvironment& env) { env.Canvas().Console().MoveToTopLeft(); }});
    // Ctrl and the "+" of the main keys, typed with or without Shift on the
    // usual layouts. Ctrl with the keypad's "+" and "-" reaches these too;
    // the keypad keys alone stay the cut range's.
    table.Add({.id = C::kZoomIn,
               .texts = {u"拡大(&I)", {}, {}},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
               .run = [](CommandEnvironment& env) { env.Canvas().StepZoom(+1); }});
    table.Add({.id = C::kZoomOut,
               .texts = {u"縮小(&O)", {}, {}},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
               .run = [](CommandEnvironment& env) { env.Canvas().StepZoom(-1); }});
    // The same words as the zoom console's entry.
    table.Add({.id = C::kZoomFit,
               .texts = {ui_text::kZoomFit, {}, {}},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_0)},
               .run = [](CommandEnvironment& env) { env.Canvas().ZoomToFit(); }});
    table.Add({.id = C::kViewToolBar,
               .texts = {u"ツールバー(&T)", {}, {}},
               .checkable = true,
               .rule = CheckedWhen([](const CommandContext& c) { return c.toolBarShown; }),
               .run = [](CommandEnvironment& env) { env.ToggleToolBar(); }});
    table.Add({.id = C::kViewStatusBar,
               .texts = {u"ステータスバー(&S)", {}, {}},
               .checkable = true,
               .rule = CheckedWhen([](const CommandContext& c) { return c.statusBarShown; }),
               .run = [](CommandEnvironment& env) { env.ToggleStatusBar(); }});
    table.Add({.id = C::kToggleGuide,
               .keys = {QKeySequence(Qt::Key_F2)},
               .run = [](CommandEnvironment& env) { env.ToggleGuide(); }});
    table.Add({.id = C::kToggleAnimation,
               .keys = {QKeySequence(Qt::Key_F10)},
               .run = [](CommandEnvironment& env) { env.ToggleAnimation(); }});
}

}  // namespace tessaly
