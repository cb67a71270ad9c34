#include "shell/target_catalogue.h"

namespace quilo {

const std::array<TargetInfo, TargetCount>& targetTable() {
    static const std::array<TargetInfo, TargetCount> table = {{
        {"AVI", "AVI/", 0, "sb_AVI", false},
        {"MP4", "MP4/", 0, "sb_MP4", false},
        {"AVC", "AVC/", 0, "sb_AVC", false},
        {"MPEG", "MPEG/", 0, "sb_MPEG", false},
        {"WMV", "WMV/", 0, "sb_WMV", false},
        {"MOV", "MOV/", 0, "sb_MOV", false},
        {"Youtube", "Youtube/", 0, "sb_Youtube", false},
        {"VOB_File", "DVD/", 7, "sb_VOB_File", false},
        {"DVD_Folder", "DVD/", 7, "sb_DVD_Folder", false},
        {"DVD_Disc", "DVD/", 7, "sb_DVD_Disc", false},
        {"DVD_ISO", "DVD/", 7, "sb_DVD_ISO", false},
        {"HDAVI", "HD_AVI/", 1, "sb_HD_AVI", false},
        {"HDMP4", "HD_MP4/", 1, "sb_HD_MP4", false},
        {"HDMPEG", "HD_MPEG/", 1, "sb_HD_MPEG", false},
        {"HDTS", "HD_TS/", 1, "sb_HD_TS", false},
        {"HDWMV", "HD_WMV/", 1, "sb_HD_WMV", false},
        {"HDMOV", "HD_MOV/", 1, "sb_HD_MOV", false},
        {"HDYoutube", "HD_Youtube/", 1, "sb_HD_Youtube", false},
        {"iPad", "iPad/", 2, "sb_iPad", true},
        {"iPod", "iPod/", 2, "sb_iPod", true},
        {"iPhone", "iPhone/", 2, "sb_iPhone", true},
        {"AppleTV", "AppleTV/", 2, "sb_AppleTV", true},
        {"AppleTV_HD", "Apple_TV_HD/", 2, "sb_Apple_TV_HD", true},
        {"PSP", "PSP/", 3, "sb_PSP", true},
        {"PS3", "PS3/", 3, "sb_PS3", true},
        {"PS3_HD", "PS3_HD/", 3, "sb_PS3_HD", true},
        {"Xbox", "Xbox/", 4, "sb_Xbox", true},
        {"Xbox_HD", "Xbox_HD/", 4, "sb_Xbox_HD", true},
        {"Zune", "Zune/", 4, "sb_Zune", true},
        {"Zune_HD", "Zune_HD/", 4, "sb_Zune_HD", true},
        {"PDA", "PDA/", 5, "sb_PDA", true},
        {"BlackBerry", "BlackBerry/", 5, "sb_BlackBerry", true},
        {"General", "General/", 5, "sb_General", true},
        {"ZEN", "ZEN/", 5, "sb_ZEN", true},
        {"Nokia", "Nokia/", 5, "sb_Nokia", true},
        {"Android", "Android/", 5, "sb_Android", true},
        {"AAC", "AAC/", 6, "sb_AAC", false},
        {"AC3", "AC3/", 6, "sb_AC3", false},
        {"M4A", "M4A/", 6, "sb_M4A", false},
        {"MP3", "MP3/", 6, "sb_MP3", false},
        {"OGG", "OGG/", 6, "sb_OGG", false},
        {"WMA", "WMA/", 6, "sb_WMA", false},
        {"WAV", "WAV/", 6, "sb_WAV", false},
    }};
    return table;
}

const std::array<CategoryInfo, CategoryCount>& categoryTable() {
    static const std::array<CategoryInfo, CategoryCount> table = {{
        {"sb_GeneralVideo", "ip_GeneralVideo", Target::AVI},
        {"sb_HD_Video", "ip_HD_Video", Target::HDAVI},
        {"sb_Apple", "ip_Apple", Target::iPad},
        {"sb_Sony", "ip_Sony", Target::PSP},
        {"sb_Microsoft", "ip_Microsoft", Target::Xbox},
        {"sb_Portable", "ip_Portable", Target::Nokia},
        {"sb_Music", "ip_Music", Target::MP3},
        {"sb_DVD", "ip_DVD", Target::VOB_File},
    }};
    return table;
}

bool isValidTarget(TargetTypeId id) {
    return id >= 0 && id < TargetCount;
}

std::string targetIdentifier(TargetTypeId id) {
    return isValidTarget(id) ? std::string(targetTable()[id].identifier) : std::string();
}

std::string targetSubFolder(TargetTypeId id) {
    return isValidTarget(id) ? std::string(targetTable()[id].subFolder) : std::string();
}

bool targetHasTags(TargetTypeId id) {
    return isValidTarget(id) && targetTable()[id].hasTags;
}

ConverterTypeId targetCategory(TargetTypeId id) {
    return isValidTarget(id) ? targetTable()[id].category : -1;
}

std::optional<TargetTypeId> targetByIdentifier(std::string_view identifier) {
    for (TargetTypeId id = 0; id < TargetCount; ++id) {
        if (targetTable()[id].identifier == identifier)
            return id;
    }
    return std::nullopt;
}

bool isDvdTarget(TargetTypeId id) {
    return id >= Target::VOB_File && id <= Target::DVD_ISO;
}

bool authorsDvd(TargetTypeId id) {
    return id == Target::DVD_Folder || id == Target::DVD_Disc;
}

bool isAudioTarget(TargetTypeId id) {
    return targetCategory(id) == Category::Music;
}

} // namespace quilo
