#pragma once

#include <sys/resource.h>

#include <QString>
#include <functional>

namespace tessaly::test {

// Runs `work` in a child process in which no file may grow beyond `limit`
// bytes: a write beyond it fails, or with `killed` ends the child as a kill
// in the middle of the write would. Gives what `work` reported, "killed"
// when the child was ended that way, or nothing when the limit cannot be
// set here. The report passes through a file in `folder`.
QString InChildWithFileLimit(const QString& folder, rlim_t limit, bool killed,
                             const std::function<QString()>& work);

}  // namespace tessaly::test
