// The main window's clip list without the window: clips, rows, selection, the
// current clip, removal, clearing, numbering, scrolling and the context menu.
#pragma once

#include "media/clip_record.h"
#include "platform/prompter.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quilo {

// Output file names come from the naming template, which implements this.
class ClipOutputNamer {
public:
    virtual ~ClipOutputNamer() = default;
    // The complete file name (no folder) for the clip at 0-based list position.
    virtual std::string OutputFileName(int position) = 0;
};

// What the clip list tells the rest of the main window. Every call has an empty
// default so a listener takes only what it needs.
class ClipListEvents {
public:
    virtual ~ClipListEvents() = default;
    virtual void stopPreview() {} // the preview's frame grabber
    virtual void repaint() {}
    virtual void currentClipChanged(TVideoInfo* /*clip*/) {} // trim handles and preview
    virtual void clipCheckedChanged(TVideoInfo& /*clip*/) {} // the panel's size defaults
    virtual void sizeDefaultsForgotten() {}
    virtual void dvdNameFound(const std::string& /*label*/) {}
    virtual void addProgressChanged() {} // repaint the add progress panel
};

enum class ListMode { Empty = 0, Local = 1, Web = 2 };

// The controls that show the current clip.
struct ClipControls {
    std::vector<std::string> AudioItems;
    int AudioIndex = -1;
    bool AudioEnabled = false;
    std::vector<std::string> SubtitleItems;
    int SubtitleIndex = -1;
    bool SubtitleEnabled = false;
    std::string StartText;
    std::string EndText;
    bool TimesEnabled = false;
    bool StartRed = false;
    bool EndRed = false;
    bool TrimBarEnabled = false;
    bool SnapshotEnabled = false;
    const Bitmap24* Preview = nullptr;
};

// The add progress panel: "Adding clips, please wait...", a bar and a percentage.
struct AddProgress {
    static constexpr int BarWidth = 271;
    static constexpr const char* Text = "Adding clips, please wait...";
    bool Visible = false;
    int BarPixels = 0;
    int Percent = 0;
};

struct MenuEntry {
    std::string Text;
    bool Enabled = true;
};

class ClipList {
public:
    static constexpr int VisibleRows = 9;
    static constexpr int ThumbMinTop = 2;
    static constexpr int ThumbMaxTop = 120;
    // The remembered DVD drive when there is none.
    static constexpr const char* NoDvdDrive = "A";

    explicit ClipList(Prompter& prompter);
    ~ClipList();
    ClipList(const ClipList&) = delete;
    ClipList& operator=(const ClipList&) = delete;

    void setNamer(ClipOutputNamer* namer) { namer_ = namer; }
    void setEvents(ClipListEvents* events);

    // Clips in display order; numbers shown to the user are 1-based positions.
    int Count() const { return static_cast<int>(clips_.size()); }
    TVideoInfo* Clip(int index) const;
    std::vector<TVideoInfo*> Clips() const;
    int IndexOf(const TVideoInfo* clip) const;
    const std::vector<TVideoInfo*>& SelectedClips() const { return selectedClips_; }
    // Clip rows and audio rows in display order.
    const std::vector<TInfoListItem*>& Rows() const { return rows_; }
    const std::vector<TInfoListItem*>& SelectedRows() const { return selectedRows_; }

    ListMode Mode = ListMode::Empty;
    bool Busy = false;           // set while files are added
    bool Seeking = false;        // set while the preview seeks
    bool IntroVisible = true;    // the introduction panel
    bool ListTransparent = true; // the list area's background
    std::string DvdDrive = NoDvdDrive;
    AddProgress Progress;

    TVideoInfo* CurrentClip() const { return current_; }
    const ClipControls& Controls() const { return controls_; }

    // Places the clip's row and audio rows at the end and gives it its number.
    TVideoInfo& Append(std::unique_ptr<TVideoInfo> clip);

    // A left or right press on a row or one of its labels. False while busy or
    // seeking, or for a row not in the list.
    bool PressRow(TInfoListItem* row);
    // Makes a clip (or none) current. False for a clip not in the list.
    bool ShowClip(TVideoInfo* clip);
    // The arrow keys: the clip `step` clips away from the selected one is
    // selected as if clicked and scrolled into view (with nothing selected,
    // the first or the last clip). False at either end, while busy or seeking,
    // or with no clips.
    bool MoveSelection(int step);
    // Scrolls as little as possible to bring the row at `index` into view.
    void ScrollToRow(int index);
    // The check image of an audio row: that row becomes the clip's only checked one.
    bool ClickAudioCheck(TInfoListItem* row);
    // The audio track and subtitle lists of the current clip.
    bool ChangeAudioTrack(int index);
    bool ChangeSubtitle(int index);

    // False when no row is selected; nothing changes then.
    bool RemoveSelectedClips();
    // Asks first; false when the list is empty or the user says No.
    bool ClearClips();
    // Clears without asking: the clips give way to web links.
    void RemoveAll();
    void Renumber();
    void RefreshOutputNames();
    // The output name of one clip, from the naming template when there is one.
    void RefreshOutputName(TVideoInfo& clip);
    ClipListEvents& Events() const { return *events_; }

    // The header's remove and clear buttons in local mode.
    bool RemoveButton();
    bool ClearButton();

    // Scrolling: the thumb's top (2..120) decides the first visible row.
    int ThumbTop() const { return thumbTop_; }
    void SetThumbTop(int top);
    int FirstVisibleRow() const;
    int PanelTop() const { return -RowHeight * FirstVisibleRow(); }
    int PanelHeight() const { return RowHeight * static_cast<int>(rows_.size()); }
    void ThumbPress(int cursorY);
    void ThumbMove(int cursorY);
    void ThumbRelease();

    // The entries of the context menu as it opens; none while busy or seeking.
    std::optional<std::vector<MenuEntry>> OpenContextMenu() const;

private:
    bool owns(const TInfoListItem* row) const;
    void deselectAll();
    void repaint();

    Prompter& prompter_;
    ClipOutputNamer* namer_ = nullptr;
    ClipListEvents* events_ = nullptr;
    ClipListEvents noEvents_;
    std::vector<std::unique_ptr<TVideoInfo>> clips_;
    std::vector<TVideoInfo*> selectedClips_;
    std::vector<TInfoListItem*> rows_;
    std::vector<TInfoListItem*> selectedRows_;
    TVideoInfo* current_ = nullptr;
    ClipControls controls_;
    int thumbTop_ = ThumbMinTop;
    std::optional<std::pair<int, int>> thumbDrag_; // cursor and thumb top at the press
};

} // namespace quilo
