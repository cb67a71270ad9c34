// One clip of the list (`TVideoInfo`) and the list rows that show it.
#pragma once

#include "media/media_types.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quilo {

class TVideoInfo;

// A 24-bit picture, three bytes per pixel (red, green, blue), rows top-down.
struct Bitmap24 {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;

    Bitmap24() = default;
    Bitmap24(int width, int height);
    bool empty() const { return Width <= 0 || Height <= 0; }
};

enum class RowKind { Clip, Audio };

enum class RowLabel {
    // clip rows
    Name,
    Duration,
    FrameRate,
    Size,
    AudioTrack,
    Subtitle,
    Start,
    End,
    Output,
    // audio rows
    AudioName,
    AudioCodec,
    AudioSampleRate,
    AudioBitRate,
};

// A row label: left position and width in pixels (width 0 = as wide as its text).
struct TLabelInfo {
    int Left = 0;
    int Width = 0;
    std::string Text;
};

inline constexpr int RowHeight = 18;

// One row of the clip list: a clip row, or an audio row below its clip row.
struct TInfoListItem {
    TInfoListItem(RowKind kind, TVideoInfo* clip) : Kind(kind), Clip(clip) {}

    RowKind Kind;
    TVideoInfo* Clip;
    int Number = 0;       // the clip's 1-based position
    int StreamId = 0;     // audio rows
    std::string Language; // audio rows
    bool Checked = false;
    bool Selected = false;
    bool LastAudio = false; // audio rows: draws the end branch
    int Top = 0;            // in pixels on the moving panel
    std::string Hint;       // tooltip

    // Labels come into being on first use, at their fixed place.
    void SetLabel(RowLabel label, std::string text);
    const TLabelInfo* Label(RowLabel label) const;
    std::string LabelText(RowLabel label) const;

private:
    std::map<RowLabel, TLabelInfo> labels_;
};

// Display aspects of a clip.
namespace Aspect {
inline constexpr int Ratio4x3 = 0, Ratio16x9 = 1, Ratio1x1 = 2, Ratio221x1 = 3, Other = 4;
}
// Container kinds of a clip.
namespace Container {
inline constexpr int Other = -1, WindowsMedia = 0, TransportStream = 1, Matroska = 2;
}

// One input of a job. Owns its rows; destroying it destroys them.
class TVideoInfo {
public:
    TVideoInfo();
    TVideoInfo(const TVideoInfo&) = delete;
    TVideoInfo& operator=(const TVideoInfo&) = delete;

    std::optional<std::vector<std::string>> AudioTracks; // "name#..." items; no loader fills it
    std::optional<std::vector<std::string>> Subtitles;
    int Duration = 0;
    int StartTime = 0;
    int EndTime = 0;
    int AspectCode = -1;
    int AudioTrackIndex = 0;
    int SubtitleIndex = 0;
    bool Checked = false;
    bool Selected = false;
    std::string FilePath;
    // A clip joined from the parts of a download: FilePath holds them one per
    // line. Any other FilePath is one file, whatever characters its name holds.
    void SetJoinedSources(const std::vector<std::string>& parts);
    // The source files in order (several only for a joined clip).
    std::vector<std::string> SourcePaths() const;
    // The first of them, empty without any.
    std::string FirstSourcePath() const;
    double PixelAspect = 1.0;
    int Width = 0;
    int Height = 0;
    std::string InfoText;
    std::string OutputName;
    std::string VideoStandard;
    int ContainerKind = Container::Other;
    int SelectedAudioId = -1;
    int VideoStreamId = -1;
    Bitmap24 Thumbnail{240, 180};
    bool UseAspectCode = false;
    float FrameRate = 0;
    std::string OutputPath;
    int CropX = 0, CropY = 0, CropW = 0, CropH = 0;

    TInfoListItem& Row() { return *row_; }
    const TInfoListItem& Row() const { return *row_; }
    const std::vector<std::unique_ptr<TInfoListItem>>& AudioRows() const { return audioRows_; }

    // Seconds above 86400 or below 0 are stored as 0.
    void SetDuration(int seconds);
    void SetStartTime(int seconds);
    void SetEndTime(int seconds);
    void SetChecked(bool checked);
    void SetInfoText(const std::string& text);
    void SetOutputName(const std::string& name);
    // Engine aspect code (1 = 1:1, 2 = 4:3, 3 = 16:9, 4 = 2.21:1) and frame size.
    void SetPicture(int engineAspect, int width, int height);
    // The row's frame-rate and size labels.
    void ShowRateAndAspect(const std::string& aspectText);

    TInfoListItem& AddAudioRow(const TAudioStream& stream, bool last);
    // Stores the index and shows the track name in the clip row.
    void SetAudioTrackIndex(int index);
    void SetSubtitleIndex(int index);

    // Told when SetChecked runs, so the settings panel can re-derive its defaults.
    std::function<void(TVideoInfo&)> CheckedChanged;

private:
    void showTimes();

    std::unique_ptr<TInfoListItem> row_;
    std::vector<std::unique_ptr<TInfoListItem>> audioRows_;
    bool joined_ = false;
};

// Maps the engine's aspect code to the clip's.
int AspectCodeFromEngine(int engineAspect);

} // namespace quilo
