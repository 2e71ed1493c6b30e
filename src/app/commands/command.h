#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

#include "app/commands/command_ids.h"
#include "app/commands/command_rules.h"
#include "app/commands/command_texts.h"

class QWidget;

namespace tessaly {

class CAtelierDoc;
class CAtelierView;
class EditedDocument;
class MultiCutControl;
class RecentFileList;
struct AppliedViewProperties;

// What a command reaches of the program, and nothing more: the document, the
// canvas widget, the recent files and the frame's own switches and windows.
// The main frame is the one environment.
class CommandEnvironment {
public:
    virtual ~CommandEnvironment() = default;

    virtual EditedDocument& Edited() = 0;
    virtual CAtelierDoc& AtelierDoc() = 0;
    virtual CAtelierView& Canvas() = 0;
    virtual RecentFileList& Recent() = 0;
    virtual MultiCutControl& MultiCut() = 0;
    // The window that parents the command's dialogs and questions.
    virtual QWidget* Owner() = 0;

    virtual void ToggleToolBar() = 0;
    virtual void ToggleStatusBar() = 0;
    virtual void ToggleGuide() = 0;
    virtual void ToggleAnimation() = 0;
    virtual void ChooseVisualStyle(int number) = 0;
    virtual void OpenMosaicConsole() = 0;
    // The view properties were applied: the console follows the background.
    virtual void ViewPropertiesApplied(const AppliedViewProperties& applied) = 0;
    virtual void PrintCanvas() = 0;
    virtual void PickNoSetColour() = 0;
    virtual void CloseWindow() = 0;
};

// One user command: its number, what the user reads and types for it, when
// it can run, and what it runs. Each unit of src/app/commands adds its
// commands (or a small family of them) to the table.
struct Command {
    using Rule = std::function<CommandState(const CommandContext&)>;
    using PopupRule = std::function<CommandState(const PopupContext&)>;

    CommandId id{};
    CommandTexts texts{};
    // Keys of the frame's own table; the menu names the first. The canvas's
    // keys (copy, paste, delete, multi-cut) only appear in the key text.
    QList<QKeySequence> keys{};
    QString icon{};  // the toolbar icon's resource, or empty
    bool checkable = false;
    Rule rule{};            // empty: always enabled, never checked
    PopupRule popupRule{};  // in the canvas's menus; empty: always enabled
    std::function<void(CommandEnvironment&)> run{};  // empty: a label only
};

// Every command, by number.
class CommandTable {
public:
    // Adds a command; a number given twice keeps the first.
    void Add(Command command);
    const Command* Find(CommandId id) const;
    const std::vector<Command>& All() const { return commands_; }

private:
    std::vector<Command> commands_;
};

// The program's table, filled by the units the first time it is asked for.
const CommandTable& Commands();

// A rule that only enables, from a test of the context.
template <typename Test>
Command::Rule EnabledWhen(Test test) {
    return [test](const CommandContext& c) { return CommandState{test(c), false}; };
}
// A rule that only checks (the command is always enabled).
template <typename Test>
Command::Rule CheckedWhen(Test test) {
    return [test](const CommandContext& c) { return CommandState{true, test(c)}; };
}
// A context menu rule that is the menu bar's rule.
Command::PopupRule AsInMenuBar(Command::Rule rule);

// The units, each adding its commands.
void AddFileCommands(CommandTable& table);
void AddExportCommand(CommandTable& table);
void AddPrintCommand(CommandTable& table);
void AddEditCommands(CommandTable& table);
void AddViewCommands(CommandTable& table);
void AddGridCommands(CommandTable& table);
void AddStyleCommands(CommandTable& table);
void AddPhotomosaicCommands(CommandTable& table);
void AddMultiCutCommands(CommandTable& table);
void AddTurnCommands(CommandTable& table);
void AddAlignCommands(CommandTable& table);
void AddNodeCommands(CommandTable& table);
void AddHelpCommands(CommandTable& table);

}  // namespace tessaly
