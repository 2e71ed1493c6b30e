#pragma once

#include <QString>

class QObject;

namespace tessaly {

// The questions around writing a file the user named.

// True when `path` does not exist yet or the user agrees to overwrite it
// ("指定したファイルは既に存在します…").
bool ConfirmOverwrite(const QString& path, QObject* owner);

// After a successful write: "正常に保存しました…"; on Yes the folder of
// `path` is shown in the file manager.
void OfferToShowSavedFile(const QString& path, QObject* owner);

}  // namespace tessaly
