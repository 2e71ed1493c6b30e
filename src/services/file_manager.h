#pragma once

#include <QString>

namespace tessaly {

// Shows the folder that holds `filePath` in the desktop's file manager.
// After "エクスプローラの起動に失敗しました" returns false when it cannot be shown.
bool OpenInExplorer(const QString& filePath);

}  // namespace tessaly
