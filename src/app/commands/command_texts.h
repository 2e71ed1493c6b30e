#pragma once

#include <QString>
#include <QStringView>

#include "app/commands/command_ids.h"

namespace tessaly {

// The texts of a command as the user sees them.
struct CommandTexts {
    QStringView label;    // menu label with its "(&X)" mnemonic
    QStringView keyText;  // drawn right of the label; empty for none
    // The string-table entry of a toolbar command: the status prompt, "\n",
    // then the tooltip. Empty for commands without one.
    QStringView promptAndTip;
};

// The texts of `id`; every field is empty for an unknown id.
const CommandTexts& TextsOf(CommandId id);

// The menu item text: the label, then a tab and the key text when there is one.
QString MenuText(CommandId id);
// The two halves of the prompt entry.
QString StatusPrompt(CommandId id);
QString ToolTipText(CommandId id);

// A recent-file entry: "&1 path" .. "&9 path", "1&0 path", then "11 path" ..;
// `index` counts from 0. Ampersands in the path are doubled so they show.
QString RecentFileMenuText(int index, const QString& nativePath);

// Labels of menus and submenus that are not commands.
namespace menu_text {
inline constexpr QStringView kFile = u"ファイル(&F)";
inline constexpr QStringView kEdit = u"編集(&E)";
inline constexpr QStringView kView = u"表示(&V)";
inline constexpr QStringView kGrid = u"グリッド(&G)";
inline constexpr QStringView kStyle = u"スタイル(&A)";
inline constexpr QStringView kOffice2007 = u"Office 2007(&7)";
inline constexpr QStringView kPhotomosaic = u"フォトモザイク(&P)";
inline constexpr QStringView kMultiCut = u"マルチカット(&M)";
inline constexpr QStringView kRotate = u"回転(&R)";
inline constexpr QStringView kAlign = u"整列(&A)";
inline constexpr QStringView kHelp = u"ヘルプ(&H)";
inline constexpr QStringView kToolBarTitle = u"基本";
}  // namespace menu_text

}  // namespace tessaly
