// The shipped definitions and built-in profiles, read from the program folder
// as the program reads them: every selector of every target can be filled,
// every engine value is one the engine knows, every built-in profile points
// inside its lists.
#include "platform/ini_file.h"
#include "profiles/profile_definitions.h"
#include "profiles/profile_value.h"
#include "shell/target_catalogue.h"

#include <gtest/gtest.h>
#include <quilo_test/support.h>
#include <regex>
#include <set>

using namespace quilo;
using quilo::test::programDir;

namespace {

// The engine's vocabulary as its header documents it.
const std::set<std::string> VideoContainers{"avi", "mp4", "ipod", "psp",   "mov",   "asf", "flv",
                                            "3gp", "3g2", "mkv",  "mpeg1", "mpeg2", "dvd", "mpeg2ts"};
const std::set<std::string> AudioContainers{"mp3", "aac", "m4a", "ac3", "ogg", "wav", "wma"};
const std::set<std::string> VideoCodecs{"mpeg4", "xvid", "h264", "mpeg1", "mpeg2",
                                        "dvd",   "wmv1", "wmv2", "flv",   "h263"};
const std::set<std::string> AudioCodecs{"mp3", "aac", "ac3", "mp2", "wma", "vorbis", "pcm"};
const std::set<std::string> MpegFrameRates{"24000/1001", "24/1", "25/1",       "30000/1001",
                                           "30/1",       "50/1", "60000/1001", "60/1"};
const std::set<std::string> H263Sizes{"128:96", "176:144", "352:288", "704:576", "1408:1152"};

bool isPositiveNumber(const std::string& text) {
    return std::regex_match(text, std::regex("[1-9][0-9]*"));
}

class ShippedDefinitions : public ::testing::Test {
protected:
    ShippedDefinitions() : definitions(programDir() + "PfDef.dll") {}

    // Every value a list offers, as the conversion would look it up.
    std::vector<std::string> values(const std::string& section, const std::string& stem,
                                    const ChoiceList& list) {
        std::vector<std::string> all;
        const bool range = definitions.ReadInteger(section, stem + "Count", 0) < 1 && list.enabled;
        for (int i = 0; i < static_cast<int>(list.items.size()); ++i)
            all.push_back(range          ? list.items[i] // a range has no values but its numbers
                          : list.enabled ? definitions.LookupChoiceValue(section, stem, i)
                                         : definitions.LookupChoiceValue(section, stem, 0));
        return all;
    }

    // Fills like the output panel: the target, then the default format's section.
    std::pair<ChoiceList, std::string> panelList(const std::string& target, const std::string& stem) {
        ChoiceList list = definitions.FillChoiceList(target, stem);
        if (!list.enabled) {
            ChoiceList fallback = definitions.FillChoiceList(fallbackSection(target), stem);
            if (!fallback.items.empty())
                return {fallback, fallbackSection(target)};
        }
        return {list, target};
    }
    std::string fallbackSection(const std::string& target) {
        const long defaultFormat = definitions.ReadInteger(target, "OutputFormatDefault", 0);
        const std::string text =
            definitions.ReadString(target, "OutputFormatText" + std::to_string(defaultFormat), "");
        return text.empty() ? target : SubSection(target, text);
    }

    void expectFilled(const ChoiceList& list, const std::string& where) {
        EXPECT_FALSE(list.items.empty()) << where;
        EXPECT_TRUE(list.selected >= 0 && list.selected < static_cast<int>(list.items.size()))
            << where << " default " << list.selected;
    }
    void expectValues(const std::string& section, const std::string& stem, const ChoiceList& list,
                      const std::function<bool(const std::string&)>& valid) {
        for (const std::string& value : values(section, stem, list))
            EXPECT_TRUE(valid(value)) << section << " " << stem << " value " << value;
    }
    void expectNumber(const NumberSetting& number, const std::string& where) {
        EXPECT_GT(number.initial, 0) << where;
        EXPECT_TRUE(number.initial >= number.minimum && number.initial <= number.maximum) << where;
        if (number.enabled) {
            EXPECT_GT(number.increment, 0) << where;
        }
    }

    // The lists a format brings, as one window or the other fills them.
    void checkFormatSection(const std::string& section, bool isVideo, const std::string& where,
                            bool ownVolume = true);

    ProfileDefinitions definitions;
};

void ShippedDefinitions::checkFormatSection(const std::string& section, bool isVideo,
                                            const std::string& where, bool ownVolume) {
    const auto audioCodec = definitions.FillChoiceList(section, "AudioCodec");
    expectFilled(audioCodec, where + " AudioCodec");
    expectValues(section, "AudioCodec", audioCodec, [](auto& v) { return AudioCodecs.count(v) > 0; });
    for (const char* stem : {"AudioBitrate", "AudioSampleRate"}) {
        const auto list = definitions.FillChoiceList(section, stem);
        expectFilled(list, where + " " + stem);
        expectValues(section, stem, list, isPositiveNumber);
    }
    if (ownVolume) {
        const auto volume = definitions.FillChoiceList(section, "AudioVolume");
        expectFilled(volume, where + " AudioVolume");
        expectValues(section, "AudioVolume", volume,
                     [](auto& v) { return std::regex_match(v, std::regex("[0-9]|10")); });
    }
    if (!isVideo)
        return;

    const auto videoCodec = definitions.FillChoiceList(section, "VideoCodec");
    expectFilled(videoCodec, where + " VideoCodec");
    const auto codecs = values(section, "VideoCodec", videoCodec);
    for (const auto& codec : codecs)
        EXPECT_TRUE(VideoCodecs.count(codec)) << where << " video codec " << codec;
    const bool mpegVideo = std::any_of(codecs.begin(), codecs.end(),
                                       [](auto& c) { return c == "mpeg1" || c == "mpeg2" || c == "dvd"; });

    const auto frameRate = definitions.FillChoiceList(section, "VideoFrameRate");
    expectFilled(frameRate, where + " VideoFrameRate");
    // MPEG video stores only the standard rates, and "Auto" would hand it the source's.
    expectValues(section, "VideoFrameRate", frameRate, [&](const std::string& v) {
        if (mpegVideo)
            return MpegFrameRates.count(v) > 0;
        return v == "Auto" || std::regex_match(v, std::regex("[1-9][0-9]*(/[1-9][0-9]*)?"));
    });

    const auto resolution = definitions.FillChoiceList(section, "VideoResolution");
    if (!resolution.items.empty()) {
        expectFilled(resolution, where + " VideoResolution");
        const bool h263 = std::find(codecs.begin(), codecs.end(), "h263") != codecs.end();
        expectValues(section, "VideoResolution", resolution, [&](const std::string& v) {
            return std::regex_match(v, std::regex("[1-9][0-9]*:[1-9][0-9]*")) &&
                   (!h263 || H263Sizes.count(v));
        });
    }
    expectNumber(definitions.FillNumber(section, "VideoBitRate"), where + " VideoBitRate");
}

TEST_F(ShippedDefinitions, EveryTargetFillsThePanelWithKnownEngineValues) {
    ASSERT_TRUE(test::fileExists(programDir() + "PfDef.dll"));
    for (TargetTypeId id = 0; id < TargetCount; ++id) {
        const std::string name = targetIdentifier(id);
        const std::string T = TargetSection(name);
        const bool isVideo = !isAudioTarget(id);
        SCOPED_TRACE(T);
        EXPECT_EQ(definitions.ReadString(T, "ProfileName", ""), name + "-Profile");

        const ChoiceList formats = definitions.FillChoiceList(T, "OutputFormat");
        expectFilled(formats, "OutputFormat");
        expectValues(T, "OutputFormat", formats, [&](auto& v) {
            return isVideo ? VideoContainers.count(v) > 0 : AudioContainers.count(v) > 0;
        });
        EXPECT_EQ(definitions.ReadInteger(T, "OutputFormatCount", 0),
                  static_cast<long>(formats.items.size()));

        // The panel: the target first, then the default format's section.
        std::vector<std::string> stems{"AudioVolume", "AudioBitrate", "AudioSampleRate"};
        if (isVideo)
            stems.insert(stems.end(), {"VideoAspect", "VideoFrameRate"});
        for (const std::string& stem : stems)
            expectFilled(panelList(T, stem).first, stem);
        const ChoiceList channels = definitions.FillChoiceList(T, "AudioChannel");
        expectFilled(channels, "AudioChannel");
        expectValues(T, "AudioChannel", channels, [](auto& v) { return v == "1" || v == "2"; });

        if (isVideo) {
            const ChoiceList aspect = definitions.FillChoiceList(T, "VideoAspect");
            expectValues(T, "VideoAspect", aspect, [&](const std::string& v) {
                const int mode = std::atoi(v.c_str());
                const bool variant = id == Target::MPEG && mode >= 11 && mode <= 18;
                return std::regex_match(v, std::regex("[0-9]+")) && (mode <= 2 || variant);
            });
            const NumberSetting bitRate = definitions.FillNumber(T, "VideoBitRate");
            expectNumber(bitRate.initial ? bitRate
                                         : definitions.FillNumber(fallbackSection(T), "VideoBitRate"),
                         "VideoBitRate");
            if (panelList(T, "VideoResolution").first.items.empty()) {
                expectNumber(definitions.FillNumber(T, "VideoWidth"), "VideoWidth");
                expectNumber(definitions.FillNumber(T, "VideoHeight"), "VideoHeight");
            }
        }

        // Each format: codec lists as the panel fills them, and every list as the
        // options dialog fills it from the format's own section.
        for (int k = 0; k < static_cast<int>(formats.items.size()); ++k) {
            const std::string value = definitions.LookupChoiceValue(T, "OutputFormat", k);
            const std::string byValue = SubSection(T, value);
            for (const char* stem : {"VideoCodec", "AudioCodec"}) {
                if (!isVideo && std::string(stem) == "VideoCodec")
                    continue;
                ChoiceList list = definitions.FillChoiceList(T, stem);
                if (!list.enabled && !definitions.FillChoiceList(byValue, stem).items.empty())
                    list = definitions.FillChoiceList(byValue, stem);
                expectFilled(list, std::string(stem) + " for " + value);
            }
            const std::string byText = formats.items.size() > 1 ? SubSection(T, formats.items[k]) : T;
            checkFormatSection(byText, isVideo, formats.items[k]);
            if (formats.items.size() > 1) {
                checkFormatSection(byValue, isVideo, value);
                EXPECT_TRUE(definitions.FillChoiceList(T, "VideoCodec").enabled ||
                            definitions.FillChoiceList(byText, "VideoCodec").items ==
                                definitions.FillChoiceList(byValue, "VideoCodec").items);
            }
        }
    }
}

TEST_F(ShippedDefinitions, MpegImageModesHaveCompleteVariantSections) {
    const std::string T = TargetSection("MPEG");
    const ChoiceList aspect = definitions.FillChoiceList(T, "VideoAspect");
    std::set<int> variants;
    for (const std::string& value : values(T, "VideoAspect", aspect))
        if (std::atoi(value.c_str()) > 10)
            variants.insert(std::atoi(value.c_str()));
    EXPECT_EQ(variants, (std::set<int>{11, 12, 13, 14, 15, 16, 17, 18}));

    for (int mode : variants) {
        const std::string V = SubSection(T, std::to_string(mode));
        SCOPED_TRACE(V);
        checkFormatSection(V, true, V, false); // the volume stays the target's
        expectFilled(definitions.FillChoiceList(V, "AudioChannel"), "AudioChannel");
        const ChoiceList format = definitions.FillChoiceList(V, "OutputFormat");
        expectFilled(format, "OutputFormat");
        // The conversion looks the container up in the section named by the shown text.
        const std::string container = definitions.LookupChoiceValue(
            SubSection(T, format.items[format.selected]), "OutputFormat", format.selected);
        EXPECT_TRUE(VideoContainers.count(container)) << container;
        const int height = definitions.FillNumber(V, "VideoHeight").initial;
        const bool ntsc = mode % 2 == 1;
        EXPECT_EQ(height % (ntsc ? 240 : 288), 0) << height;
        EXPECT_GT(definitions.FillNumber(V, "VideoWidth").initial, 0);
        EXPECT_EQ(definitions.LookupChoiceValue(V, "VideoFrameRate", 0), ntsc ? "30000/1001" : "25/1");
    }
}

TEST_F(ShippedDefinitions, BuiltInProfilesAreProtectedAndPointInsideTheirLists) {
    const IniFile shipped(programDir() + "PfSetting.ini");
    ASSERT_TRUE(shipped.exists());
    EXPECT_TRUE(std::regex_match(shipped.readString("version", "ver", ""), std::regex("[0-9]{8}")));

    std::set<std::string> withProfiles;
    for (const std::string& section : shipped.sections()) {
        if (section.empty() || section == "version")
            continue;
        SCOPED_TRACE(section);
        ASSERT_TRUE(section.size() > 8 && section.ends_with("-Profile"));
        const std::string name = section.substr(0, section.size() - 8);
        const auto id = targetByIdentifier(name);
        ASSERT_TRUE(id.has_value());
        withProfiles.insert(name);
        const std::string T = TargetSection(name);
        const long count = shipped.readInteger(section, "ProfileCount", 0);
        EXPECT_GT(count, 0);
        const long defaultSlot = shipped.readInteger(section, "ProfileDefault", -1);
        EXPECT_TRUE(defaultSlot >= 0 && defaultSlot < count);

        for (int slot = 0; slot < count; ++slot) {
            const std::string profile =
                shipped.readString(section, "ProfileText" + std::to_string(slot), Nodef);
            SCOPED_TRACE(profile);
            ASSERT_NE(profile, Nodef);
            // Kept under the name, so both windows see it and its protection.
            const std::string line = shipped.readString(section, profile, Nodef);
            ASSERT_NE(line, Nodef);
            const ProfileValue value = ProfileValue::Parse(line);
            EXPECT_EQ(value.Format(), line);
            EXPECT_TRUE(value.isProtected());

            const auto inside = [](const ChoiceList& list, int index) {
                return index >= 0 && index < static_cast<int>(list.items.size());
            };
            const ChoiceList formats = definitions.FillChoiceList(T, "OutputFormat");
            const int format = value.field(ProfileValue::OutputFormat);
            ASSERT_TRUE(inside(formats, format));
            EXPECT_TRUE(
                inside(definitions.FillChoiceList(T, "VideoAspect"), value.field(ProfileValue::ImageMode)));
            // The same indexes must hold in the main window and in the options dialog.
            const std::string formatValue = definitions.LookupChoiceValue(T, "OutputFormat", format);
            std::vector<std::string> sections{T};
            if (formats.items.size() > 1)
                sections.insert(sections.end(),
                                {SubSection(T, formats.items[format]), SubSection(T, formatValue)});
            for (const std::string& S : sections) {
                const auto list = [&](const char* stem) {
                    ChoiceList own = definitions.FillChoiceList(S, stem);
                    return own.items.empty() ? panelList(T, stem).first : own;
                };
                EXPECT_TRUE(inside(list("VideoResolution"), value.field(ProfileValue::Resolution)));
                EXPECT_TRUE(inside(list("VideoFrameRate"), value.field(ProfileValue::FrameRate)));
                EXPECT_TRUE(inside(list("AudioBitrate"), value.field(ProfileValue::AudioBitrate)));
                EXPECT_TRUE(inside(list("AudioSampleRate"), value.field(ProfileValue::SampleRate)));
                EXPECT_TRUE(inside(list("AudioVolume"), value.field(ProfileValue::Volume)));
                ChoiceList videoCodec = definitions.FillChoiceList(S, "VideoCodec");
                if (videoCodec.items.empty())
                    videoCodec = definitions.FillChoiceList(SubSection(T, formatValue), "VideoCodec");
                EXPECT_TRUE(inside(videoCodec, value.field(ProfileValue::VideoCodec)));
                ChoiceList audioCodec = definitions.FillChoiceList(S, "AudioCodec");
                if (audioCodec.items.empty())
                    audioCodec = definitions.FillChoiceList(SubSection(T, formatValue), "AudioCodec");
                EXPECT_TRUE(inside(audioCodec, value.field(ProfileValue::AudioCodec)));
                NumberSetting bitRate = definitions.FillNumber(S, "VideoBitRate");
                if (bitRate.initial == 0)
                    bitRate = definitions.FillNumber(SubSection(T, formatValue), "VideoBitRate");
                const int kbps = value.field(ProfileValue::VideoBitRate);
                EXPECT_TRUE(kbps >= bitRate.minimum && kbps <= bitRate.maximum) << kbps;
            }
        }
    }
    for (TargetTypeId id = Target::iPad; id <= Target::Android; ++id)
        EXPECT_TRUE(withProfiles.count(targetIdentifier(id))) << targetIdentifier(id);
}

TEST(ShippedOptions, VersionAndAddDialogFilter) {
    const IniFile options(programDir() + "Option.ini");
    ASSERT_TRUE(options.exists());
    EXPECT_TRUE(std::regex_match(options.readString("version", "ver", ""), std::regex("[0-9]{8}")));
    const std::string filter = options.readString("Option", "OpenDialogFilter", "");
    // Pairs of a caption and its patterns.
    EXPECT_EQ(std::count(filter.begin(), filter.end(), '|') % 2, 1);
    for (const char* pattern : {"*.avi;", "*.mp4;", "*.mkv;", "*.mpg;", "*.ts;", "*.vob;", "*.wmv;", "*.flv;",
                                "*.mov;", "*.webm;", "*.mp3;", "*.flac;", "*.wav;", "*.m4a;", "*.ogg;"})
        EXPECT_NE(filter.find(pattern), std::string::npos) << pattern;
    EXPECT_EQ(options.readInteger("Option", "DefaultAudio", -1), 1);
    EXPECT_EQ(options.readString("Option", "Template", ""), "#Name");
}

} // namespace
