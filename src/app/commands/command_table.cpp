#include <algorithm>

#include "app/commands/command.h"

namespace tessaly {

void CommandTable::Add(Command command) {
    if (Find(command.id) == nullptr) commands_.push_back(std::move(command));
}

const Command* CommandTable::Find(CommandId id) const {
    const auto found = std::find_if(commands_.begin(), commands_.end(),
                                    [id](const Command& command) { return command.id == id; });
    return found == commands_.end() ? nullptr : &*found;
}

const CommandTable& Commands() {
    static const CommandTable table = [] {
        CommandTable units;
        for (auto add : {AddFileCommands, AddExportCommand, AddPrintCommand, AddEditCommands, AddViewCommands,
                         AddGridCommands, AddStyleCommands, AddPhotomosaicCommands,
                         AddMultiCutCommands, AddTurnCommands, AddAlignCommands, AddNodeCommands,
                         AddHelpCommands}) {
            add(units);
        }
        return units;
    }();
    return table;
}

Command::PopupRule AsInMenuBar(Command::Rule rule) {
    return [rule](const PopupContext& c) { return rule(c.commands); };
}

bool HasCheckMark(CommandId id) {
    const Command* command = Commands().Find(id);
    return command != nullptr && command->checkable;
}

CommandState StateOf(CommandId id, const CommandContext& context) {
    const Command* command = Commands().Find(id);
    if (command == nullptr || !command->rule) return {};
    return command->rule(context);
}

CommandState PopupStateOf(CommandId id, const PopupContext& context) {
    const Command* command = Commands().Find(id);
    if (command == nullptr || !command->popupRule) return {};
    return command->popupRule(context);
}

}  // namespace tessaly
