#pragma once

#include <QString>

namespace tessaly {

// The name shown for a paper size code (1 Letter .. 41 German legal
// fanfold); "etc." for any other code.
QString PaperName(int code);

}  // namespace tessaly
