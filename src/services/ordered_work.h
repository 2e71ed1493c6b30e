#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tessaly {

// How far the workers may run ahead of the items already taken, per worker,
// so that a long run never holds more than a few results per thread.
inline constexpr int kOrderedLookAheadPerWorker = 4;

// Runs `produce(i)` for i = 0 .. count - 1 on `workers` threads (on the
// calling thread when there is one worker or one item) and hands each
// result to `consume(i, result)` on the calling thread, in order. A false
// answer from `consume` stops the run: items not yet begun are never
// produced, and results made ahead are destroyed unconsumed, so a result
// that leaves something behind (a file, say) cleans up in its destructor.
template <typename Result>
void RunInOrder(int count, int workers, const std::function<Result(int)>& produce,
                const std::function<bool(int, Result&)>& consume);

namespace ordered_work_detail {

template <typename Result>
class OrderedWorkers {
public:
    OrderedWorkers(int count, int workers, const std::function<Result(int)>& produce)
        : produce_(produce),
          count_(count),
          results_(static_cast<std::size_t>(count)),
          window_(workers * kOrderedLookAheadPerWorker) {
        for (int i = 0; i < workers; ++i)
            threads_.emplace_back([this] { Work(); });
    }

    ~OrderedWorkers() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    OrderedWorkers(const OrderedWorkers&) = delete;
    OrderedWorkers& operator=(const OrderedWorkers&) = delete;

    Result Take(int index) {
        std::unique_lock lock(mutex_);
        std::optional<Result>& slot = results_[static_cast<std::size_t>(index)];
        changed_.wait(lock, [&] { return slot.has_value(); });
        Result result = std::move(*slot);
        slot.reset();
        taken_ = index + 1;
        lock.unlock();
        changed_.notify_all();
        return result;
    }

private:
    void Work() {
        for (;;) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopped_ || next_ < taken_ + window_; });
            if (stopped_ || next_ >= count_) return;
            const int index = next_++;
            lock.unlock();
            Result result = produce_(index);
            lock.lock();
            results_[static_cast<std::size_t>(index)] = std::move(result);
            lock.unlock();
            changed_.notify_all();
        }
    }

    const std::function<Result(int)>& produce_;
    const int count_;
    std::vector<std::optional<Result>> results_;
    const int window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int next_ = 0;
    int taken_ = 0;
    bool stopped_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace ordered_work_detail

template <typename Result>
void RunInOrder(int count, int workers, const std::function<Result(int)>& produce,
                const std::function<bool(int, Result&)>& consume) {
    if (workers <= 1 || count <= 1) {
        for (int i = 0; i < count; ++i) {
            Result result = produce(i);
            if (!consume(i, result)) return;
        }
        return;
    }
    ordered_work_detail::OrderedWorkers<Result> workersInOrder(count, std::min(workers, count),
                                                               produce);
    for (int i = 0; i < count; ++i) {
        Result result = workersInOrder.Take(i);
        if (!consume(i, result)) return;
    }
}

}  // namespace tessaly
