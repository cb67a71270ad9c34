// The clips of a link job, one download at a time: when the job asks for its
// next clip, the next link is downloaded, and its clip is handed over once it
// has arrived whole. Links that fail are passed over. The downloads are driven
// on the thread that owns the download manager, through `post`; the job waits
// on its own thread.
#pragma once

#include "conversion/clip_feed.h"
#include "conversion/link_downloads.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace quilo {

class LinkFeed : public ClipFeed {
public:
    // Runs a call on the owner's thread, later; from any thread.
    using Post = std::function<void(std::function<void()>)>;

    LinkFeed(LinkDownloads& downloads, Post post);

    // On the owner's thread, as the manager's notices come in.
    void DownloadNotice(long wParam, long taskId);
    void StopNotice(long taskId);

    TVideoInfo* NextClip() override;
    bool Complete() const override;
    int ClipsToCome() const override;
    void Stop() override;

private:
    // On the owner's thread: the next download, or the end of the links.
    void startNext();
    bool stopped() const;

    LinkDownloads& downloads_;
    const Post post_;
    const int wanted_; // the links this job is to bring
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<TVideoInfo*> arrived_;
    bool asked_ = false; // a download for the waiting job is under way
    bool over_ = false;
    bool stopped_ = false;
    int made_ = 0;
    int failed_ = 0; // links that ended without a clip
};

} // namespace quilo
