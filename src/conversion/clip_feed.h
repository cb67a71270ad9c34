// Clips that arrive while a job runs, such as downloaded links: the job asks
// for the next one once it has converted those before it, and waits for it.
#pragma once

#include "media/clip_record.h"

namespace quilo {

class ClipFeed {
public:
    virtual ~ClipFeed() = default;
    // The next clip, once it is there; null when no more will come.
    virtual TVideoInfo* NextClip() = 0;
    // True when every clip the feed was meant to bring came.
    virtual bool Complete() const = 0;
    // From any thread: the clips that may still come, counting those that came
    // and were not taken yet; 0 once the feed is over.
    virtual int ClipsToCome() const = 0;
    // From any thread: no more clips are wanted; a waiting NextClip returns null.
    virtual void Stop() = 0;
};

} // namespace quilo
