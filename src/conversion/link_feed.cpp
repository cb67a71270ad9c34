#include "conversion/link_feed.h"

#include <algorithm>

namespace quilo {

LinkFeed::LinkFeed(LinkDownloads& downloads, Post post)
    : downloads_(downloads), post_(std::move(post)), wanted_(downloads.Pending()) {}

void LinkFeed::DownloadNotice(long wParam, long taskId) {
    const size_t before = downloads_.Clips().size();
    if (!downloads_.DownloadNotice(wParam, taskId))
        return;
    if (downloads_.StopRequested()) {
        std::lock_guard lock(lock_);
        over_ = true;
        changed_.notify_all();
        return;
    }
    if (downloads_.Clips().size() == before) {
        {
            std::lock_guard lock(lock_);
            ++failed_;
        }
        startNext(); // this link failed: the job still waits for a clip
        return;
    }
    std::lock_guard lock(lock_);
    arrived_.push_back(downloads_.Clips().back());
    ++made_;
    asked_ = false;
    changed_.notify_all();
}

void LinkFeed::StopNotice(long taskId) {
    if (!downloads_.StopNotice(taskId))
        return;
    std::lock_guard lock(lock_);
    over_ = true;
    changed_.notify_all();
}

void LinkFeed::startNext() {
    {
        std::lock_guard lock(lock_);
        if (over_)
            return;
    }
    if (!stopped() && downloads_.StartNext())
        return;
    std::lock_guard lock(lock_);
    over_ = true;
    changed_.notify_all();
}

TVideoInfo* LinkFeed::NextClip() {
    std::unique_lock lock(lock_);
    if (arrived_.empty() && !over_ && !stopped_ && !asked_) {
        asked_ = true;
        post_([this] { startNext(); });
    }
    // After a stop the job waits for the running download to end, so that
    // nothing is left downloading once the job is over.
    changed_.wait(lock, [this] { return !arrived_.empty() || over_; });
    if (arrived_.empty() || stopped_)
        return nullptr;
    TVideoInfo* clip = arrived_.front();
    arrived_.pop_front();
    return clip;
}

bool LinkFeed::stopped() const {
    std::lock_guard lock(lock_);
    return stopped_;
}

bool LinkFeed::Complete() const {
    std::lock_guard lock(lock_);
    return !stopped_ && made_ == wanted_;
}

int LinkFeed::ClipsToCome() const {
    std::lock_guard lock(lock_);
    const int waiting = static_cast<int>(arrived_.size());
    if (over_ || stopped_)
        return stopped_ ? 0 : waiting;
    return waiting + std::max(wanted_ - made_ - failed_, 0);
}

void LinkFeed::Stop() {
    {
        std::lock_guard lock(lock_);
        stopped_ = true;
    }
    // A running download ends with its own notices; without one the feed is over now.
    post_([this] {
        if (downloads_.Stop())
            return;
        std::lock_guard lock(lock_);
        over_ = true;
        changed_.notify_all();
    });
}

} // namespace quilo
