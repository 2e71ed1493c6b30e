#include "app/commands/multi_cut_control.h"

#include <QColorDialog>

#include "app/dialogs/multu_cut_dlg.h"
#include "app/ui_helpers.h"
#include "canvas/colour_ref.h"
#include "view/atelier_view.h"
#include "edits/multi_cut_run.h"
#include "edits/view_settings.h"
#include "services/app_settings.h"

namespace tessaly {

MultiCutControl::MultiCutControl(CAtelierView& view, QWidget* owner)
    : QObject(owner), view_(view), owner_(owner) {
    connect(&view_, &CAtelierView::multiCutChanged, this, [this] {
        if (dialog_ && !view_.MultiCut().IsOn()) dialog_->HideDialog();
    });
}

void MultiCutControl::Start() {
    if (view_.StartMultiCut()) OpenDialog();
}

void MultiCutControl::Stop() {
    if (view_.MultiCut().IsOn()) view_.StopMultiCut();
}

void MultiCutControl::Execute() {
    MultiCutSession& cut = view_.MultiCut();
    if (!cut.IsOn()) return;
    const auto chooseFolder = [this](const QString& start) { return BrowseFolder(owner_, start); };
    ExecuteMultiCut(view_.Edited(), cut, CurrentSettings(), chooseFolder, owner_);
    if (!cut.IsOn()) view_.StopMultiCut();
}

void MultiCutControl::OpenSettings() {
    if (view_.MultiCut().IsOn()) OpenDialog();
}

void MultiCutControl::ChangeRange(bool (MultiCutSession::*change)(const Document&)) {
    if ((view_.MultiCut().*change)(view_.Doc())) view_.InvalidateCanvas();
}

void MultiCutControl::SetLineWidth(int width) { SetCutLineWidth(view_.Edited(), width); }

void MultiCutControl::OpenDialog() {
    if (!dialog_) dialog_ = new CMultuCutDlg(view_, CurrentSettings());
    dialog_->Open();
}

void MultiCutControl::ChooseLineColour() {
    const QColor chosen =
        QColorDialog::getColor(QColorOf(view_.Doc().State().cutLineColor), owner_);
    if (chosen.isValid()) SetCutLineColour(view_.Edited(), ColorRefOf(chosen));
}

}  // namespace tessaly
