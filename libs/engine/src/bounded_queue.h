// A small first-in first-out queue between two threads of the conversion. A
// full queue holds its producer back, so no stage runs more than a few items
// ahead of the next and memory stays bounded; a halt wakes both sides.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace tz {

// What the pipeline's control needs of a queue: to be woken for a halt.
class Haltable {
public:
    virtual void halt() = 0;

protected:
    ~Haltable() = default;
};

template <typename T> class BoundedQueue final : public Haltable {
public:
    explicit BoundedQueue(std::size_t capacity) : capacity_(capacity) {}
    BoundedQueue(const BoundedQueue&) = delete;
    BoundedQueue& operator=(const BoundedQueue&) = delete;

    // Waits for room. False when the work is halted: the item is dropped.
    bool push(T item) {
        std::unique_lock hold(lock_);
        changed_.wait(hold, [&] { return halted_ || items_.size() < capacity_; });
        if (halted_)
            return false;
        items_.push_back(std::move(item));
        changed_.notify_all();
        return true;
    }

    // Waits for an item. Nothing when the producer has closed the queue and
    // every item is taken, or when the work is halted (what is left is dropped).
    std::optional<T> pop() {
        std::unique_lock hold(lock_);
        changed_.wait(hold, [&] { return halted_ || closed_ || !items_.empty(); });
        if (halted_ || items_.empty())
            return std::nullopt;
        T item = std::move(items_.front());
        items_.pop_front();
        changed_.notify_all();
        return item;
    }

    // The producer has no more items.
    void close() {
        std::lock_guard hold(lock_);
        closed_ = true;
        changed_.notify_all();
    }

    void halt() override {
        std::lock_guard hold(lock_);
        halted_ = true;
        changed_.notify_all();
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<T> items_;
    const std::size_t capacity_;
    bool closed_ = false;
    bool halted_ = false;
};

} // namespace tz
