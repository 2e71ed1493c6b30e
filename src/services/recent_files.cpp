#include "services/recent_files.h"

#include <algorithm>
#include <functional>

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

void RecentFileList::RemoveAt(QList<int> positions) {
    // From the last to the first, so that each position still means the
    // entry it meant when the positions were chosen.
    std::sort(positions.begin(), positions.end(), std::greater<>());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (const int position : positions) {
        if (position >= 0 && position < files_.size()) files_.removeAt(position);
    }
}

}  // namespace tessaly
