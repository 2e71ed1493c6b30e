// "印刷": the print dialog on the program's printer, which the frame keeps.

#include "app/commands/command.h"

namespace tessaly {

void AddPrintCommand(CommandTable& table) {
    table.Add({.id = CommandId::kPrint,
               .texts = {u"印刷(&P)", {}, u"ビューの表示内容を印刷します\n【印刷】"},
               .icon = QStringLiteral(":/icons/print.svg"),
               .run = [](CommandEnvironment& env) { env.PrintCanvas(); }});
}

}  // namespace tessaly
