#include "app/mosaic_tool_commands.h"

#include "app/make_mosaic_dlg.h"
#include "commands/image_size_check.h"

namespace tessaly {

void AddMosaicToolHandlers(CommandHandlers& handlers, EditedDocument& edited, QWidget* owner) {
    handlers[CommandId::kImageSizeCheck] = [&edited, owner] { CheckImageSizes(edited, owner); };
    handlers[CommandId::kBatchCreate] = [owner] {
        CMakeMosaicDlg dialog(owner);
        dialog.exec();
    };
}

}  // namespace tessaly
