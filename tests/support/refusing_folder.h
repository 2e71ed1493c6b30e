#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tessaly::test {

// Ways a folder refuses a write. Each is meant for a child process of its
// own (InChildProcess), whose mounts and limits end with it; false when this
// machine cannot set it up. `previous` is the file a write is to replace.

// A small file system of its own over `folder`, holding a copy of
// `previous` and filled up to the last 4 KiB.
bool NearlyFullFolder(const QString& folder, const QString& previous);
// No file may grow past half of `previous`; a write fails instead of ending
// the program.
bool FileSizeLimit(const QString& folder, const QString& previous);
// `folder` may not be written.
bool ReadOnlyFolder(const QString& folder, const QString& previous);

// Runs `prepare` then `work` in a child process and hands back the lines
// `work` returned; nothing when `prepare` failed (the case cannot be set up
// here). A child that does not end normally is a test failure.
std::optional<QStringList> InChildProcess(const std::function<bool()>& prepare,
                                          const std::function<QStringList()>& work);

}  // namespace tessaly::test
