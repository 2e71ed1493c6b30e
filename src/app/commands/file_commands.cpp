// ファイル: new, open, save, save as, the settings dialogs, the place of the
// recent files and exit. Export and print have units of their own.

#include "app/atelier_doc.h"
#include "app/commands/command.h"
#include "app/dialogs/kanset_dlg.h"
#include "app/dialogs/recent_dlg.h"
#include "services/app_settings.h"

namespace tessaly {

void AddFileCommands(CommandTable& table) {
    using C = CommandId;
    table.Add({.id = C::kFileNew,
               .texts = {u"新規作成(&N)", u"Ctrl+N", {}},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_N)},
               .run = [](CommandEnvironment& env) { env.AtelierDoc().FileNew(env.Owner()); }});
    table.Add({.id = C::kFileOpen,
               .texts = {u"開く(&O)...", u"Ctrl+O", {}},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_O)},
               .run = [](CommandEnvironment& env) { env.AtelierDoc().FileOpen(env.Owner()); }});
    table.Add({.id = C::kFileSave,
               .texts = {u"上書き保存(&S)", u"Ctrl+S", {}},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_S)},
               .run = [](CommandEnvironment& env) { env.AtelierDoc().FileSave(env.Owner()); }});
    table.Add({.id = C::kFileSaveAs,
               .texts = {u"名前を付けて保存(&A)...", {}, {}},
               .run = [](CommandEnvironment& env) { env.AtelierDoc().FileSaveAs(env.Owner()); }});
    table.Add({.id = C::kEnvironmentSettings,
               .texts = {u"環境設定(&K)", {}, {}},
               .run = [](CommandEnvironment& env) {
                   CKansetDlg dialog(CurrentSettings(), env.Owner());
                   dialog.exec();
               }});
    table.Add({.id = C::kRecentFilesDialog,
               .texts = {u"最近使ったファイルの管理(&R)", {}, {}},
               .run = [](CommandEnvironment& env) {
                   CRecentDlg dialog(env.Recent(), env.Owner());
                   dialog.exec();
               }});
    // Where the recent files are listed: a label, shown while the list is empty.
    table.Add({.id = C::kRecentFilesPlace,
               .texts = {u"最近使ったファイル", {}, {}},
               .rule = EnabledWhen([](const CommandContext&) { return false; })});
    table.Add({.id = C::kAppExit,
               .texts = {u"終了(&X)", {}, {}},
               .keys = {QKeySequence(Qt::CTRL | Qt::Key_Q)},
               .run = [](CommandEnvironment& env) { env.CloseWindow(); }});
}

}  // namespace tessaly
