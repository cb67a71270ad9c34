// The fixed catalogue of the 43 output targets and their eight categories.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quilo {

using TargetTypeId = int;    // 0..42, -1 = none
using ConverterTypeId = int; // 0..7

inline constexpr int TargetCount = 43;
inline constexpr int CategoryCount = 8;

namespace Target {
inline constexpr TargetTypeId AVI = 0, MP4 = 1, AVC = 2, MPEG = 3, WMV = 4, MOV = 5, Youtube = 6,
                              VOB_File = 7, DVD_Folder = 8, DVD_Disc = 9, DVD_ISO = 10, HDAVI = 11,
                              HDMP4 = 12, HDMPEG = 13, HDTS = 14, HDWMV = 15, HDMOV = 16, HDYoutube = 17,
                              iPad = 18, iPod = 19, iPhone = 20, AppleTV = 21, AppleTV_HD = 22, PSP = 23,
                              PS3 = 24, PS3_HD = 25, Xbox = 26, Xbox_HD = 27, Zune = 28, Zune_HD = 29,
                              PDA = 30, BlackBerry = 31, General = 32, ZEN = 33, Nokia = 34, Android = 35,
                              AAC = 36, AC3 = 37, M4A = 38, MP3 = 39, OGG = 40, WMA = 41, WAV = 42;
}

namespace Category {
inline constexpr ConverterTypeId GeneralVideo = 0, HDVideo = 1, Apple = 2, Sony = 3, Microsoft = 4,
                                 Portable = 5, Music = 6, DVD = 7;
}

struct TargetInfo {
    std::string_view identifier; // command-line switch and profile-definition key
    std::string_view subFolder;  // output sub-folder, ends with '/'
    ConverterTypeId category;
    std::string_view button; // name of the target's picture button
    bool hasTags;            // asks for a display name and an artist name
};

struct CategoryInfo {
    std::string_view button;
    std::string_view panel;
    TargetTypeId defaultTarget;
};

const std::array<TargetInfo, TargetCount>& targetTable();
const std::array<CategoryInfo, CategoryCount>& categoryTable();

bool isValidTarget(TargetTypeId id);
// Empty texts for an id outside 0..42.
std::string targetIdentifier(TargetTypeId id);
std::string targetSubFolder(TargetTypeId id);
bool targetHasTags(TargetTypeId id);
ConverterTypeId targetCategory(TargetTypeId id);
// Exact, case-sensitive match in table order.
std::optional<TargetTypeId> targetByIdentifier(std::string_view identifier);

bool isDvdTarget(TargetTypeId id);   // VOB_File, DVD_Folder, DVD_Disc, DVD_ISO
bool authorsDvd(TargetTypeId id);    // DVD_Folder, DVD_Disc: the job ends by authoring a DVD-Video folder
bool isAudioTarget(TargetTypeId id); // the Music category

} // namespace quilo
