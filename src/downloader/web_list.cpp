#include "downloader/web_list.h"

#include <cstdio>

namespace quilo {

std::string MegabytesText(double bytes) {
    char text[64];
    std::snprintf(text, sizeof text, "%0.2fM", bytes / 1048576.0);
    return text;
}

const std::string& WebRow::cell(const std::string& key) const {
    static const std::string none;
    for (const WebCell& each : cells) {
        if (each.key == key)
            return each.text;
    }
    return none;
}

void WebVideoRows::AddLink(const TDownloadTask& task) {
    WebRow link;
    link.isLink = true;
    link.taskId = task.id();
    link.leadLeft = 3;
    link.iconLeft = 3;
    link.cells = {{"WebUrl", 20, 540, task.pageUrl()}};
    rows_.push_back(std::move(link));

    const auto& videos = task.videos();
    for (size_t i = 0; i < videos.size(); ++i) {
        const TVideoMessage& video = *videos[i];
        WebRow file;
        file.taskId = task.id();
        file.leadLeft = 8;
        file.iconLeft = 20;
        file.connector = i + 1 == videos.size() ? WebConnector::End : WebConnector::Middle;
        file.cells = {{"FileName", 36, 122, video.name},
                      {"FileTotal", 361, 458, MegabytesText(video.totalSize)},
                      {"FileUrl", 124, 359, video.mediaUrl}};
        rows_.push_back(std::move(file));
    }
}

int WebVideoRows::linkOf(int row) const {
    while (row > 0 && !rows_[static_cast<size_t>(row)].isLink)
        --row;
    return row;
}

void WebVideoRows::selectLink(int link, bool selected) {
    const long task = rows_[static_cast<size_t>(link)].taskId;
    for (size_t i = static_cast<size_t>(link); i < rows_.size() && rows_[i].taskId == task; ++i)
        rows_[i].selected = selected;
}

bool WebVideoRows::Press(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return false;
    const int link = linkOf(row);
    if (rows_[static_cast<size_t>(link)].selected)
        return true;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].isLink && rows_[i].selected)
            selectLink(static_cast<int>(i), false);
    }
    selectLink(link, true);
    return true;
}

long WebVideoRows::SelectedTask() const {
    for (const WebRow& row : rows_) {
        if (row.isLink && row.selected)
            return row.taskId;
    }
    return 0;
}

bool WebVideoRows::RemoveSelected() {
    const long task = SelectedTask();
    if (task == 0)
        return false;
    std::erase_if(rows_, [task](const WebRow& row) { return row.taskId == task; });
    return true;
}

} // namespace quilo
