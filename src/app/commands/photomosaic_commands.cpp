// フォトモザイク: the background picture (through the view properties),
// adding images, the console, the image size check and batch creation of
// tiles; and the console's entries of the canvas's menu.

#include "app/commands/command.h"
#include "app/dialogs/make_mosaic_dlg.h"
#include "app/dialogs/property_view.h"
#include "view/atelier_view.h"
#include "view/image_adding.h"
#include "edits/image_size_check.h"
#include "edits/view_properties.h"
#include "document/edited_document.h"

namespace tessaly {
namespace {

void OpenViewProperties(CommandEnvironment& env) {
    env.ViewPropertiesApplied(tessaly::EditViewProperties(env.Edited(), env.Owner()));
}

}  // namespace

void AddPhotomosaicCommands(CommandTable& table) {
    using C = CommandId;
    table.Add({.id = C::kSetBackground,
               .texts = {u"①背景イメージのセット(&P)",
                         {},
                         u"フォトモザイクの元になる背景イメージをセットします\n【背景イメージのセット】"},
               .icon = QStringLiteral(":/icons/background.svg"),
               .run = OpenViewProperties});
    table.Add({.id = C::kViewProperties, .run = OpenViewProperties});
    table.Add({.id = C::kAddImages,
               .texts = {u"②イメージ追加(&I)", u"Drag&&Drop",
                         u"モザイクに使うイメージファイルを追加します\n【イメージ追加】"},
               .icon = QStringLiteral(":/icons/add_images.svg"),
               .run = [](CommandEnvironment& env) { env.Canvas().Images().AddImagesCommand(); }});
    const Command::Rule console = EnabledWhen([](const CommandContext& c) {
        return c.nodeCount > 0 && !c.consoleShown && c.hasBackgroundImage;
    });
    table.Add({.id = C::kConsole,
               .texts = {u"③コンソール表示(&M)",
                         {},
                         u"各種設定後、モザイクを作成するための操作ウィンドウを表示します\n【コンソール表示】"},
               .icon = QStringLiteral(":/icons/console.svg"),
               .rule = console,
               .popupRule = AsInMenuBar(console),
               .run = [](CommandEnvironment& env) { env.OpenMosaicConsole(); }});
    table.Add({.id = C::kPickNoSetColour,
               .popupRule = [](const PopupContext& c) { return CommandState{c.commands.consoleShown, false}; },
               .run = [](CommandEnvironment& env) { env.PickNoSetColour(); }});
    const Command::Rule anyNode = EnabledWhen([](const CommandContext& c) { return c.nodeCount > 0; });
    table.Add({.id = C::kImageSizeCheck,
               .texts = {u"イメージサイズ確認(&S)", {}, {}},
               .rule = anyNode,
               .popupRule = AsInMenuBar(anyNode),
               .run = [](CommandEnvironment& env) { CheckImageSizes(env.Edited(), env.Owner()); }});
    table.Add({.id = C::kBatchCreate,
               .texts = {u"モザイク用イメージ一括作成(&G)", {}, {}},
               .run = [](CommandEnvironment& env) {
                   CMakeMosaicDlg dialog(env.Owner());
                   dialog.exec();
               }});
}

}  // namespace tessaly
