#pragma once

#include <QString>
#include <QList>
#include <QStringList>

namespace tessaly {

// The recent-file list: up to 16 paths, most recent first, kept in the
// settings store as "Recent File List" / "File1".."File16".
class RecentFileList {
public:
    static constexpr int kMaxEntries = 16;

    void Load();
    void Save() const;

    // Puts `path` first (moving it up if it is already listed).
    void Add(const QString& path);
    void Remove(const QString& path);
    // Removes the entries at the 0-based `positions`, given in any order;
    // a position outside the list is passed over.
    void RemoveAt(QList<int> positions);
    void Clear() { files_.clear(); }
    const QStringList& Files() const { return files_; }

private:
    QStringList files_;
};

}  // namespace tessaly
