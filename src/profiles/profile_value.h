// The text form of a saved profile: eleven comma-separated decimal fields.
#pragma once

#include <array>
#include <string>

namespace quilo {

// Marks every missing or removed entry of the profile files.
inline constexpr const char* Nodef = "nodef";

// Leading and trailing blanks and tabs removed.
std::string TrimBlanks(const std::string& text);

struct ProfileValue {
    static constexpr int FieldCount = 11;

    // Field numbers, counted from 1 as in the stored line.
    enum Field : int {
        OutputFormat = 1,
        ImageMode = 2,
        Resolution = 3,
        FrameRate = 4,
        VideoBitRate = 5,
        AudioBitrate = 6,
        SampleRate = 7,
        Volume = 8,
        Protected = 9,
        VideoCodec = 10,
        AudioCodec = 11,
    };

    std::array<int, FieldCount> fields{};

    // Field n reads like atol after trimming blanks; a missing, empty or
    // unreadable field reads 0, so does any field number past the eleventh.
    static ProfileValue Parse(const std::string& line);
    int field(int number) const;
    void setField(int number, int value);
    bool isProtected() const { return field(Protected) != 0; }

    // The eleven fields joined by commas, no trailing comma.
    std::string Format() const;

    // What the profile editor saves: image mode and protection are always 0.
    static ProfileValue EditorProfile(int outputFormat, int resolution, int frameRate, int videoBitRate,
                                      int audioBitrate, int sampleRate, int volume, int videoCodec,
                                      int audioCodec);
};

} // namespace quilo
