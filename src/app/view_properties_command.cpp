#include "app/view_properties_command.h"

#include "app/property_view.h"
#include "document/edited_document.h"

namespace tessaly {

AppliedViewProperties EditViewProperties(EditedDocument& edited, QWidget* owner) {
    const Document& doc = edited.Doc();
    CPropertyView dialog(ReadViewProperties(doc.State()), doc.Picture(doc.State().backPicture),
                         owner);
    if (dialog.exec() != QDialog::Accepted) return {};
    return ApplyViewProperties(edited, dialog.TakeResult(), owner);
}

}  // namespace tessaly
