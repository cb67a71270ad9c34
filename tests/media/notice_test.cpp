// The notice window's rules: the multi-audio note until the user declines it
// for good, its link, and the two switch questions.
#include "media/notice.h"
#include "platform/ini_file.h"
#include "quilo_test/support.h"
#include "quilo_test/test_doubles.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

struct Showings {
    std::vector<Notice::Mode> modes;
    std::vector<std::string> warnings;
    bool answer = true;
    bool checkDontShowAgain = false;
};

Notice::ModalRunner recording(Showings& showings) {
    return [&showings](Notice& notice) {
        showings.modes.push_back(notice.mode());
        showings.warnings.push_back(notice.warningText());
        if (showings.checkDontShowAgain)
            notice.SetDontShowAgain(true);
        return showings.answer;
    };
}

} // namespace

TEST(Notice, TheMultiAudioNoteOpensItsLinkOnOkUntilTheUserDeclinesItForGood) {
    TempDir data;
    RecordingDesktopServices desktop;
    Showings showings;
    const std::string page = "https://example.org/video-converter/multi-track-hd-video.htm";
    Notice notice(data.file("Option.ini"), page, desktop, recording(showings));

    notice.ShowMultiAudioNotice();
    ASSERT_EQ(showings.modes.size(), 1u);
    EXPECT_EQ(showings.modes[0], Notice::Mode::MultiAudio);
    EXPECT_EQ(showings.warnings[0], "");
    EXPECT_EQ(desktop.opened, std::vector<std::string>{page});

    showings.answer = false; // Cancel opens nothing
    notice.ShowMultiAudioNotice();
    EXPECT_EQ(showings.modes.size(), 2u);
    EXPECT_EQ(desktop.opened.size(), 1u);

    // "Don't show this again" is written at once and holds for every later notice,
    // also one made by the next run of the program.
    showings.checkDontShowAgain = true;
    notice.ShowMultiAudioNotice();
    EXPECT_EQ(IniFile(data.file("Option.ini")).readString("Option", "ShowMultiAudio", ""), "1");
    showings.checkDontShowAgain = false;
    Notice nextRun(data.file("Option.ini"), page, desktop, recording(showings));
    nextRun.ShowMultiAudioNotice();
    notice.ShowMultiAudioNotice();
    EXPECT_EQ(showings.modes.size(), 3u);

    // The switch questions still come, with their own warning, and return the answer.
    showings.answer = true;
    EXPECT_TRUE(nextRun.ConfirmSwitchToOnline());
    showings.answer = false;
    EXPECT_FALSE(nextRun.ConfirmSwitchToLocal());
    ASSERT_EQ(showings.modes.size(), 5u);
    EXPECT_EQ(showings.modes[3], Notice::Mode::SwitchToOnline);
    EXPECT_EQ(showings.warnings[3], Notice::SwitchToOnlineText);
    EXPECT_EQ(showings.modes[4], Notice::Mode::SwitchToLocal);
    EXPECT_NE(showings.warnings[4].find("add local videos?"), std::string::npos);
    EXPECT_FALSE(nextRun.multiAudioShown());
    EXPECT_EQ(desktop.opened.size(), 1u);
}
