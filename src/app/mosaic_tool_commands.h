#pragma once

#include "app/arrangement_commands.h"

namespace tessaly {

class EditedDocument;

// Adds the photomosaic tools to the frame's table: the image size check of
// the document's pictures and the batch creation of tile images.
void AddMosaicToolHandlers(CommandHandlers& handlers, EditedDocument& edited, QWidget* owner);

}  // namespace tessaly
