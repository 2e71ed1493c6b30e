#pragma once

#include <cstdint>

#include "mosaic/arrangement.h"

namespace tessaly {

class EditedDocument;

// The console's "再配置": one undoable run of the arrangement over every node
// (Rearrange). False, changing nothing, without a background picture.
bool RearrangeNodes(EditedDocument& edited, std::uint32_t seed, ArrangementStats* stats = nullptr);

}  // namespace tessaly
