#pragma once

#include "commands/view_properties.h"

class QWidget;

namespace tessaly {

class EditedDocument;

// Opens the view properties dialog on the document's settings and, when it
// ends with "保存終了", applies what it holds. Returns what was applied
// (nothing after "中止").
AppliedViewProperties EditViewProperties(EditedDocument& edited, QWidget* owner);

}  // namespace tessaly
