// ヘルプ: the manual and the version information, both modal.

#include "app/dialogs/about_dlg.h"
#include "app/commands/command.h"
#include "app/dialogs/help_dlg.h"

namespace tessaly {

void AddHelpCommands(CommandTable& table) {
    table.Add({.id = CommandId::kManual,
               .texts = {u"取扱説明書表示(&H)", u"F1", u"取扱説明書を表示します\n【取扱説明書】"},
               .keys = {QKeySequence(Qt::Key_F1)},
               .icon = QStringLiteral(":/icons/manual.svg"),
               .run = [](CommandEnvironment& env) {
                   CHelpDlg dialog(env.Owner());
                   dialog.exec();
               }});
    table.Add({.id = CommandId::kAbout,
               .texts = {u"バージョン情報(&A)...",
                         {},
                         u"プログラムの情報、バージョン、著作権を表示します\n【バージョン情報】"},
               .icon = QStringLiteral(":/icons/about.svg"),
               .run = [](CommandEnvironment& env) {
                   CAboutDlg dialog(env.Owner());
                   dialog.exec();
               }});
}

}  // namespace tessaly
