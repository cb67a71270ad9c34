// A message port for the engine that records every post, so tests can read
// what a window would have received and in which order.
#pragma once

#include "quilo/window_port.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace quilo::test {

struct Post {
    unsigned message = 0;
    long wparam = 0;
};

class WindowPosts {
public:
    WindowPosts() : port_{&WindowPosts::receive, this} {}
    WindowPosts(const WindowPosts&) = delete;
    WindowPosts& operator=(const WindowPosts&) = delete;

    const QuiloWindowPort* port() const { return &port_; }

    std::vector<Post> all() const {
        std::lock_guard guard(lock_);
        return posts_;
    }
    std::vector<unsigned> messages() const {
        std::vector<unsigned> numbers;
        for (const Post& post : all())
            numbers.push_back(post.message);
        return numbers;
    }

    // Waits until `count` posts have arrived in all; false when they never
    // come (a guard against hanging, generous on purpose).
    bool waitForCount(std::size_t count, std::chrono::seconds guard = std::chrono::seconds(60)) const {
        std::unique_lock hold(lock_);
        return arrived_.wait_for(hold, guard, [&] { return posts_.size() >= count; });
    }

private:
    static void receive(void* context, unsigned message, long wparam, long) {
        auto* self = static_cast<WindowPosts*>(context);
        {
            std::lock_guard guard(self->lock_);
            self->posts_.push_back({message, wparam});
        }
        self->arrived_.notify_all();
    }

    QuiloWindowPort port_;
    mutable std::mutex lock_;
    mutable std::condition_variable arrived_;
    std::vector<Post> posts_;
};

} // namespace quilo::test
