// What yt-dlp's -J output says about a page: its video files, each with the
// info object that a later download is started from.
#pragma once

#include <string>
#include <vector>

namespace videodl {

struct PageVideo {
    std::string id;
    std::string title;
    std::string extension;
    std::string mediaUrl;
    std::string protocol;    // "http", "https", "m3u8" …; empty when not given
    double size = 0;         // bytes; 0 when the page does not say
    std::string headersJson; // the HTTP headers yt-dlp would send for the file, as a JSON object
    std::string infoJson;    // the video's own info object, for --load-info-json
};

// The videos of one page (a page with several videos is a playlist of them).
// False when the text is not an info object.
bool parsePageInfo(const std::string& json, std::vector<PageVideo>& videos);

} // namespace videodl
