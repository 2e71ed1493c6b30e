#include "services/recent_files.h"

#include "services/settings.h"

namespace tessaly {
namespace {
const QString kSection = QStringLiteral("Recent File List");
QString KeyOf(int n) { return QStringLiteral("File%1").arg(n); }
}  // namespace

void RecentFileList::Load() {
    files_.clear();
    for (int n = 1; n <= kMaxEntries; ++n) {
        const QString path = GetProfileString(kSection, KeyOf(n));
        if (!path.isEmpty()) files_.append(path);
    }
}

void RecentFileList::Save() const {
    for (int n = 1; n <= kMaxEntries; ++n) {
        WriteProfileString(kSection, KeyOf(n), n <= files_.size() ? files_.at(n - 1) : QString());
    }
}

void RecentFileList::Add(const QString& path) {
    files_.removeAll(path);
    files_.prepend(path);
    while (files_.size() > kMaxEntries) files_.removeLast();
}

void RecentFileList::Remove(const QString& path) { files_.removeAll(path); }

}  // namespace tessaly
