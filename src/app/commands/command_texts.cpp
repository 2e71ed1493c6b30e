#include "app/commands/command_texts.h"

#include "app/commands/command.h"

namespace tessaly {
namespace {
const CommandTexts kNoTexts{};
}  // namespace

const CommandTexts& TextsOf(CommandId id) {
    const Command* command = Commands().Find(id);
    return command == nullptr ? kNoTexts : command->texts;
}

QString MenuText(CommandId id) {
    const CommandTexts& texts = TextsOf(id);
    QString text = texts.label.toString();
    if (!texts.keyText.isEmpty()) text += u'\t' + texts.keyText.toString();
    return text;
}

QString StatusPrompt(CommandId id) {
    const QStringView entry = TextsOf(id).promptAndTip;
    const qsizetype newline = entry.indexOf(u'\n');
    return (newline < 0 ? entry : entry.left(newline)).toString();
}

QString ToolTipText(CommandId id) {
    const QStringView entry = TextsOf(id).promptAndTip;
    const qsizetype newline = entry.indexOf(u'\n');
    return newline < 0 ? QString() : entry.mid(newline + 1).toString();
}

QString RecentFileMenuText(int index, const QString& nativePath) {
    const int number = index + 1;
    QString path = nativePath;
    path.replace(u'&', QStringLiteral("&&"));
    if (number < 10) return QStringLiteral("&%1 %2").arg(number).arg(path);
    if (number == 10) return QStringLiteral("1&0 %1").arg(path);
    return QStringLiteral("%1 %2").arg(number).arg(path);
}

}  // namespace tessaly
