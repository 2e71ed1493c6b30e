#include "app/multi_cut_commands.h"

#include <QColorDialog>

#include "app/multu_cut_dlg.h"
#include "app/ui_helpers.h"
#include "canvas/colour_ref.h"
#include "canvas/view/atelier_view.h"
#include "commands/multi_cut_run.h"
#include "commands/view_settings.h"
#include "services/app_settings.h"

namespace tessaly {

MultiCutCommands::MultiCutCommands(CAtelierView& view, QWidget* owner)
    : QObject(owner), view_(view), owner_(owner) {
    connect(&view_, &CAtelierView::multiCutChanged, this, [this] {
        if (dialog_ && !view_.MultiCut().IsOn()) dialog_->HideDialog();
    });
}

void MultiCutCommands::AddHandlers(CommandHandlers& handlers) {
    using C = CommandId;
    handlers[C::kMultiCutStart] = [this] { Start(); };
    handlers[C::kMultiCutStop] = [this] { Stop(); };
    handlers[C::kMultiCutExecute] = [this] { Execute(); };
    handlers[C::kMultiCutSettings] = [this] {
        if (view_.MultiCut().IsOn()) OpenDialog();
    };
    // The range commands store the rectangle but leave the document unmarked.
    using Range = bool (MultiCutSession::*)(const Document&);
    const std::pair<CommandId, Range> ranges[] = {
        {C::kCutWiden, &MultiCutSession::Widen},
        {C::kCutNarrow, &MultiCutSession::Narrow},
        {C::kCutMaximum, &MultiCutSession::Maximize},
    };
    for (const auto& [id, change] : ranges) {
        handlers[id] = [this, change] {
            if ((view_.MultiCut().*change)(view_.Doc())) view_.InvalidateCanvas();
        };
    }
    handlers[C::kCutLineColour] = [this] { ChooseLineColour(); };
    for (int width = 1; width <= kCutLineWidths; ++width) {
        handlers[CutLineWidthCommand(width)] = [this, width] {
            SetCutLineWidth(view_.Edited(), width);
        };
    }
}

void MultiCutCommands::Start() {
    if (view_.StartMultiCut()) OpenDialog();
}

void MultiCutCommands::Stop() {
    if (view_.MultiCut().IsOn()) view_.StopMultiCut();
}

void MultiCutCommands::Execute() {
    MultiCutSession& cut = view_.MultiCut();
    if (!cut.IsOn()) return;
    const auto chooseFolder = [this](const QString& start) { return BrowseFolder(owner_, start); };
    ExecuteMultiCut(view_.Edited(), cut, CurrentSettings(), chooseFolder, owner_);
    if (!cut.IsOn()) view_.StopMultiCut();
}

void MultiCutCommands::OpenDialog() {
    if (!dialog_) dialog_ = new CMultuCutDlg(view_, CurrentSettings());
    dialog_->Open();
}

void MultiCutCommands::ChooseLineColour() {
    const QColor chosen =
        QColorDialog::getColor(QColorOf(view_.Doc().State().cutLineColor), owner_);
    if (chosen.isValid()) SetCutLineColour(view_.Edited(), ColorRefOf(chosen));
}

}  // namespace tessaly
