// The rows of the clip area in link mode, without the window: one row per
// analysed link and under it one row per video file the analysis found, with
// their cells, tree connectors and the selection of one link at a time.
#pragma once

#include "downloader/download_task.h"

#include <string>
#include <vector>

namespace quilo {

// Bytes as megabytes with two decimals and "M" ("1.50M").
std::string MegabytesText(double bytes);

// A text cell of a row, between two x positions within the row.
struct WebCell {
    std::string key;
    int left = 0;
    int right = 0;
    std::string text;
};

enum class WebConnector { None, Middle, End };

struct WebRow {
    bool isLink = false;
    long taskId = 0; // the task of the link (for a file row, of its link)
    int leadLeft = 0;
    int iconLeft = 0;
    WebConnector connector = WebConnector::None; // file rows: middle, or end for the last file
    std::vector<WebCell> cells;
    bool selected = false;

    const std::string& cell(const std::string& key) const;
};

class WebVideoRows {
public:
    static constexpr int RowHeight = 18;

    // Appends the link row of an analysed task and a file row per video.
    void AddLink(const TDownloadTask& task);

    const std::vector<WebRow>& Rows() const { return rows_; }
    bool empty() const { return rows_.empty(); }
    int Top(int row) const { return row * RowHeight; }
    int Height() const { return RowHeight * static_cast<int>(rows_.size()); }

    // A press on a row: a file row stands for its link. The link becomes the
    // selected one, the link selected before is deselected. False outside the list.
    bool Press(int row);
    // The task of the selected link, or 0.
    long SelectedTask() const;
    // Removes the selected link with its file rows; false when none is selected.
    bool RemoveSelected();
    void Clear() { rows_.clear(); }

private:
    int linkOf(int row) const;
    void selectLink(int link, bool selected);

    std::vector<WebRow> rows_;
};

} // namespace quilo
