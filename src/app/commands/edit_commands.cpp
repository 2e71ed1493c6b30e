// 編集: undo and redo, copy, paste and delete.

#include "app/commands/command.h"
#include "view/atelier_view.h"
#include "view/clipboard_exchange.h"
#include "edits/delete_nodes.h"
#include "document/edited_document.h"

namespace tessaly {
namespace {

void DeleteNodes(CommandEnvironment& env) {
    CAtelierView& view = env.Canvas();
    if (!AskDeleteSelected(view.Doc(), env.Owner())) return;
    // A delete empties the copy store, as undo, redo, new and open do.
    view.EmptyCopyStore();
    DeleteSelected(view.Edited());
}

}  // namespace

void AddEditCommands(CommandTable& table) {
    using C = CommandId;
    table.Add({.id = C::kEditUndo,
               .texts = {u"元に戻す(&U)", u"Ctrl+Z", u"直前の操作を元に戻します\n【元に戻す】"},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_Z)},
               .icon = QStringLiteral(":/icons/undo.svg"),
               .rule = EnabledWhen([](const CommandContext& c) { return c.undoCount > 0; }),
               .run = [](CommandEnvironment& env) { env.Edited().Undo(); }});
    table.Add({.id = C::kEditRedo,
               .texts = {u"やり直し(&R)", u"Ctrl+Y", u"元に戻した操作をやり直します\n【やり直し】"},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_Y)},
               .icon = QStringLiteral(":/icons/redo.svg"),
               .rule = EnabledWhen([](const CommandContext& c) { return c.redoCount > 0; }),
               .run = [](CommandEnvironment& env) { env.Edited().Redo(); }});
    table.Add({.id = C::kEditCopy,
               .texts = {u"コピー(&C)", u"Ctrl+C", {}},
               .run = [](CommandEnvironment& env) { env.Canvas().Exchange().Copy(); }});
    // The canvas's menu pastes only a bitmap; the menu bar's entry is always on.
    table.Add({.id = C::kEditPaste,
               .texts = {u"貼り付け(&P)", u"Ctrl+V", {}},
               .popupRule = [](const PopupContext& c) { return CommandState{c.clipboardHasBitmap, false}; },
               .run = [](CommandEnvironment& env) { env.Canvas().Exchange().PasteCommand(); }});
    table.Add({.id = C::kEditDelete, .texts = {u"削除(&D)", u"Delete", {}}, .run = DeleteNodes});
    table.Add({.id = C::kSelectAll, .run = [](CommandEnvironment& env) { env.Canvas().SelectAll(); }});
}

}  // namespace tessaly
