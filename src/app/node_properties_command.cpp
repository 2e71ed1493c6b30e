#include "app/node_properties_command.h"

#include "app/node_dlg.h"
#include "commands/node_properties.h"

namespace tessaly {

void EditNodeProperties(EditedDocument& edited, QWidget* owner) {
    NodeProperties properties(edited);
    if (!properties.IsOpen()) return;
    CNodeDlg dialog(properties, owner);
    dialog.exec();
}

}  // namespace tessaly
