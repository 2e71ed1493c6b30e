#pragma once

#include <QImage>
#include <QSize>
#include <list>
#include <map>
#include <utility>

namespace tessaly {

// Decoded pixels of pictures, shared by all pictures and bounded in bytes:
// the least recently used images go first when the budget is exceeded.
class DecodeCache {
public:
    static DecodeCache& Instance();

    explicit DecodeCache(qint64 budgetBytes);

    // The cached image for a picture at a decoded size, or a null image.
    QImage Find(quint64 serial, QSize size);
    void Insert(quint64 serial, QSize size, const QImage& image);

    void SetBudget(qint64 budgetBytes);
    qint64 Budget() const { return budget_; }
    qint64 UsedBytes() const { return used_; }
    void Clear();

    // A picture's serial and the size it was decoded at.
    using Key = std::pair<quint64, std::pair<int, int>>;

private:
    struct Entry {
        Key key;
        QImage image;
    };

    void EvictToBudget();

    qint64 budget_;
    qint64 used_ = 0;
    std::list<Entry> recent_;  // most recently used first
    std::map<Key, std::list<Entry>::iterator> index_;
};

}  // namespace tessaly
