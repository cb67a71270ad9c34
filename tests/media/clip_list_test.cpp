// The clip list without a window: row texts, selection, the current clip,
// removal, clearing, numbering, scrolling and the context menu.
#include "media/clip_list.h"
#include "quilo_test/test_doubles.h"
#include "scripted_media.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

using namespace quilo::test;

TAudioStream audioStream(int id, const std::string& language, const std::string& codec = "AAC",
                         int channels = 2, int rate = 48000, int bitRate = 192000) {
    TAudioStream stream;
    stream.Id = id;
    stream.Language = language;
    stream.CodecText = codec;
    stream.Channels = channels;
    stream.SamplingRate = rate;
    stream.BitRate = bitRate;
    return stream;
}

std::unique_ptr<TVideoInfo> makeClip(const std::string& path, int audioRows = 0) {
    auto clip = std::make_unique<TVideoInfo>();
    clip->FilePath = path;
    clip->SetDuration(60);
    clip->SetEndTime(60);
    for (int i = 0; i < audioRows; ++i)
        clip->AddAudioRow(audioStream(i + 1, ""), i + 1 == audioRows);
    return clip;
}

class ClipListTest : public ::testing::Test {
protected:
    ClipListTest() {
        events.list = &list;
        list.setEvents(&events);
        namer.list = &list;
        list.setNamer(&namer);
        list.Mode = ListMode::Local;
    }

    TVideoInfo& add(const std::string& path, int audioRows = 0) {
        TVideoInfo& clip = list.Append(makeClip(path, audioRows));
        list.RefreshOutputName(clip);
        return clip;
    }

    std::vector<std::string> paths() const {
        std::vector<std::string> all;
        for (const TVideoInfo* clip : list.Clips())
            all.push_back(clip->FilePath);
        return all;
    }

    ScriptedPrompter prompter;
    ClipList list{prompter};
    RecordingEvents events;
    PositionNamer namer;
};

TEST(ClipRowTexts, TimesOfTheClipRow) {
    TVideoInfo clip;
    clip.SetDuration(3723);
    clip.SetEndTime(3723);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Duration), "01:02:03");
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Start), "Beginning");
    EXPECT_EQ(clip.Row().LabelText(RowLabel::End), "Ending");

    clip.SetStartTime(75);
    clip.SetEndTime(3600);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Start), "00:01:15");
    EXPECT_EQ(clip.Row().LabelText(RowLabel::End), "01:00:00");

    clip.SetDuration(36000);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Duration), "10:00:00");
    // Beyond a day, or negative: stored as 0.
    clip.SetDuration(90000);
    EXPECT_EQ(clip.Duration, 0);
    clip.SetStartTime(-5);
    EXPECT_EQ(clip.StartTime, 0);
    clip.SetEndTime(86400);
    EXPECT_EQ(clip.EndTime, 86400);
}

TEST(ClipRowTexts, RateSizeAndPlaces) {
    TVideoInfo clip;
    clip.SetPicture(3, 720, 480);
    for (const auto& [rate, text] : std::vector<std::pair<float, std::string>>{{29.97003f, "FPS:29.97"},
                                                                               {23.976024f, "FPS:23.97"},
                                                                               {25.0f, "FPS:25.00"},
                                                                               {0.0f, "FPS:Auto"},
                                                                               {150.5f, "FPS:Auto"},
                                                                               {150.0f, "FPS:150.00"}}) {
        clip.FrameRate = rate;
        clip.ShowRateAndAspect("16:9");
        EXPECT_EQ(clip.Row().LabelText(RowLabel::FrameRate), text) << rate;
    }
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Size), "(WxH)720x480(16:9)");
    clip.ShowRateAndAspect("1.333");
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Size), "(WxH)720x480(1.333:1)");

    const TLabelInfo* size = clip.Row().Label(RowLabel::Size);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->Left, 235);
    EXPECT_EQ(size->Width, 123);
    EXPECT_EQ(clip.Row().Label(RowLabel::FrameRate)->Left, 180);
    EXPECT_EQ(clip.Row().Label(RowLabel::FrameRate)->Width, 55);
    // Labels come into being on first use only.
    EXPECT_EQ(clip.Row().Label(RowLabel::Subtitle), nullptr);

    clip.SetInfoText("Clip Name : a.mp4");
    EXPECT_EQ(clip.Row().Hint, "Clip Name : a.mp4");
    clip.SetOutputName("a.avi");
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Output), "a.avi");
    EXPECT_EQ(clip.Row().Label(RowLabel::Output)->Left, 465);
    EXPECT_EQ(clip.Row().Hint, "Clip Name : a.mp4\nOutput Name : a.avi");
}

TEST(ClipRowTexts, AudioRows) {
    TVideoInfo clip;
    const TInfoListItem& unnamed = clip.AddAudioRow(audioStream(2, ""), false);
    const TInfoListItem& english =
        clip.AddAudioRow(audioStream(3, "English", "AC-3", 6, 44100, 384000), true);
    EXPECT_EQ(unnamed.Kind, RowKind::Audio);
    EXPECT_EQ(unnamed.LabelText(RowLabel::AudioName), "Audio ID:2");
    EXPECT_EQ(unnamed.LabelText(RowLabel::AudioCodec), "Codec:AAC 2CH");
    EXPECT_EQ(unnamed.LabelText(RowLabel::AudioSampleRate), "48.0KHz");
    EXPECT_EQ(unnamed.LabelText(RowLabel::AudioBitRate), "Bitrate:192.0Kb");
    EXPECT_FALSE(unnamed.LastAudio);
    EXPECT_EQ(english.LabelText(RowLabel::AudioName), "Audio:English");
    EXPECT_EQ(english.LabelText(RowLabel::AudioCodec), "Codec:AC-3 6CH");
    EXPECT_EQ(english.LabelText(RowLabel::AudioSampleRate), "44.1KHz");
    EXPECT_EQ(english.LabelText(RowLabel::AudioBitRate), "Bitrate:384.0Kb");
    EXPECT_TRUE(english.LastAudio);
    EXPECT_EQ(english.StreamId, 3);
    EXPECT_EQ(english.Label(RowLabel::AudioName)->Left, 38);
    EXPECT_EQ(english.Label(RowLabel::AudioBitRate)->Width, 88);
}

TEST(ClipRowTexts, TrackAndSubtitleNames) {
    TVideoInfo clip;
    clip.SetAudioTrackIndex(0);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::AudioTrack), "Unkonwn");
    clip.AudioTracks = std::vector<std::string>{"English#1#ac3", "Deutsch"};
    clip.SetAudioTrackIndex(0);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::AudioTrack), "English");
    clip.SetAudioTrackIndex(1);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::AudioTrack), "Deutsch");
    clip.SetAudioTrackIndex(2);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::AudioTrack), "Disable");
    clip.SetAudioTrackIndex(-1);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::AudioTrack), "Unkonwn");
    clip.Subtitles = std::vector<std::string>{"French"};
    clip.SetSubtitleIndex(1);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Subtitle), "Disable");
    EXPECT_EQ(clip.Row().Label(RowLabel::Subtitle)->Left, 314);
}

TEST_F(ClipListTest, AppendPlacesRowsAndNumbers) {
    add("a.mp4", 2);
    add("b.mp4");
    add("c.mkv", 1);
    ASSERT_EQ(list.Rows().size(), 6u);
    for (size_t i = 0; i < list.Rows().size(); ++i)
        EXPECT_EQ(list.Rows()[i]->Top, static_cast<int>(i) * 18);
    EXPECT_EQ(list.Rows()[0]->Kind, RowKind::Clip);
    EXPECT_EQ(list.Rows()[1]->Kind, RowKind::Audio);
    EXPECT_EQ(list.Rows()[2]->Clip, list.Clip(0));
    EXPECT_EQ(list.Rows()[3]->Number, 2);
    EXPECT_EQ(list.Rows()[5]->Number, 3);
    EXPECT_EQ(list.PanelHeight(), 6 * 18);
    EXPECT_EQ(list.Clip(2)->OutputName, "2-c.mkv.mp4");
    EXPECT_EQ(list.Clip(3), nullptr);
}

TEST_F(ClipListTest, PressSelectsTheRowWithItsAudioRowsAndShowsTheClip) {
    TVideoInfo& first = add("a.mp4", 2);
    TVideoInfo& second = add("b.mp4", 1);
    second.SetStartTime(5);
    second.SetEndTime(40);

    ASSERT_TRUE(list.PressRow(&first.Row()));
    EXPECT_EQ(list.SelectedRows().size(), 3u);
    EXPECT_TRUE(first.Selected);
    EXPECT_EQ(list.CurrentClip(), &first);
    EXPECT_EQ(list.Controls().Preview, &first.Thumbnail);
    EXPECT_TRUE(list.Controls().TimesEnabled);
    EXPECT_TRUE(list.Controls().TrimBarEnabled);
    EXPECT_FALSE(list.Controls().SnapshotEnabled);
    EXPECT_FALSE(list.Controls().AudioEnabled);
    EXPECT_EQ(list.Controls().EndText, "00:01:00");

    // Pressing an audio row selects that clip's audio rows but not its clip row.
    ASSERT_TRUE(list.PressRow(second.AudioRows()[0].get()));
    EXPECT_FALSE(first.Selected);
    EXPECT_FALSE(first.Row().Selected);
    EXPECT_FALSE(first.AudioRows()[1]->Selected);
    EXPECT_TRUE(second.Selected);
    EXPECT_FALSE(second.Row().Selected);
    EXPECT_EQ(list.SelectedRows().size(), 1u);
    EXPECT_EQ(list.SelectedClips(), std::vector<TVideoInfo*>{&second});
    EXPECT_EQ(list.Controls().StartText, "00:00:05");
    EXPECT_EQ(list.Controls().EndText, "00:00:40");

    // Showing the current clip again changes nothing and leaves the preview alone.
    const int stops = events.stopPreviews;
    EXPECT_TRUE(list.ShowClip(&second));
    EXPECT_EQ(events.stopPreviews, stops);
    EXPECT_TRUE(list.PressRow(&second.Row()));
    EXPECT_EQ(events.stopPreviews, stops);
    EXPECT_EQ(list.SelectedRows().size(), 2u);

    list.Busy = true;
    EXPECT_FALSE(list.PressRow(&first.Row()));
    list.Busy = false;
    list.Seeking = true;
    EXPECT_FALSE(list.PressRow(&first.Row()));
    list.Seeking = false;
    TVideoInfo stranger;
    EXPECT_FALSE(list.PressRow(&stranger.Row()));
    EXPECT_FALSE(list.ShowClip(&stranger));
    EXPECT_EQ(list.CurrentClip(), &second);
}

TEST_F(ClipListTest, ShowClipFillsTrackListsAndNoneDisablesEverything) {
    TVideoInfo& clip = add("a.mkv");
    clip.AudioTracks = std::vector<std::string>{"English#0", "German#1"};
    clip.AudioTrackIndex = 1;
    clip.Subtitles = std::vector<std::string>{"English"};
    ASSERT_TRUE(list.ShowClip(&clip));
    EXPECT_TRUE(list.Controls().AudioEnabled);
    EXPECT_EQ(list.Controls().AudioItems, (std::vector<std::string>{"English", "German"}));
    EXPECT_EQ(list.Controls().AudioIndex, 1);
    EXPECT_EQ(list.Controls().SubtitleItems, (std::vector<std::string>{"English", "Disable"}));
    EXPECT_EQ(list.Controls().SubtitleIndex, 0);

    ASSERT_TRUE(list.ChangeSubtitle(1));
    EXPECT_EQ(clip.SubtitleIndex, 1);
    EXPECT_EQ(clip.Row().LabelText(RowLabel::Subtitle), "Disable");
    ASSERT_TRUE(list.ChangeAudioTrack(0));
    EXPECT_EQ(clip.Row().LabelText(RowLabel::AudioTrack), "English");
    EXPECT_FALSE(list.ChangeAudioTrack(2));
    EXPECT_EQ(clip.AudioTrackIndex, 0);

    ASSERT_TRUE(list.ShowClip(nullptr));
    EXPECT_EQ(list.CurrentClip(), nullptr);
    EXPECT_EQ(list.Controls().Preview, nullptr);
    EXPECT_FALSE(list.Controls().AudioEnabled);
    EXPECT_FALSE(list.Controls().SubtitleEnabled);
    EXPECT_FALSE(list.Controls().TimesEnabled);
    EXPECT_FALSE(list.Controls().TrimBarEnabled);
    EXPECT_TRUE(list.Controls().AudioItems.empty());
    EXPECT_TRUE(list.Controls().StartText.empty());
    EXPECT_FALSE(list.ChangeAudioTrack(0));
}

TEST_F(ClipListTest, AudioCheckIsExclusivePerClip) {
    TVideoInfo& clip = add("a.ts", 3);
    TVideoInfo& other = add("b.ts", 1);
    other.AudioRows()[0]->Checked = true;
    clip.AudioRows()[0]->Checked = true;
    ASSERT_TRUE(list.ClickAudioCheck(clip.AudioRows()[2].get()));
    EXPECT_FALSE(clip.AudioRows()[0]->Checked);
    EXPECT_TRUE(clip.AudioRows()[2]->Checked);
    EXPECT_EQ(clip.SelectedAudioId, 3);
    EXPECT_TRUE(other.AudioRows()[0]->Checked);
    // Already checked, or a clip row: nothing happens.
    EXPECT_FALSE(list.ClickAudioCheck(clip.AudioRows()[2].get()));
    EXPECT_FALSE(list.ClickAudioCheck(&clip.Row()));
}

TEST_F(ClipListTest, ArrowKeysMoveFromClipToClipAndScrollTheSelectionIntoView) {
    // Eight clips with one audio row each: 16 rows, nine of them visible.
    for (int i = 0; i < 8; ++i)
        add("/v/" + std::to_string(i) + ".avi", 1);
    // With nothing selected, Down takes the first clip.
    ASSERT_TRUE(list.SelectedClips().empty());
    ASSERT_TRUE(list.MoveSelection(1));
    EXPECT_EQ(list.CurrentClip(), list.Clip(0));
    for (int i = 1; i < 8; ++i) {
        ASSERT_TRUE(list.MoveSelection(1));
        ASSERT_EQ(list.SelectedClips(), std::vector<TVideoInfo*>{list.Clip(i)});
        EXPECT_EQ(list.CurrentClip(), list.Clip(i));
        // The clip row and its audio row are both in view.
        const int row = 2 * i;
        EXPECT_LE(list.FirstVisibleRow(), row);
        EXPECT_GT(list.FirstVisibleRow() + ClipList::VisibleRows, row + 1) << i;
    }
    EXPECT_FALSE(list.MoveSelection(1)); // the last clip stays
    EXPECT_EQ(list.CurrentClip(), list.Clip(7));
    for (int i = 6; i >= 0; --i)
        ASSERT_TRUE(list.MoveSelection(-1));
    EXPECT_EQ(list.CurrentClip(), list.Clip(0));
    EXPECT_EQ(list.FirstVisibleRow(), 0);
    EXPECT_FALSE(list.MoveSelection(-1));

    // Nothing moves while files are added.
    list.Busy = true;
    EXPECT_FALSE(list.MoveSelection(1));
    EXPECT_EQ(list.CurrentClip(), list.Clip(0));
}

TEST_F(ClipListTest, RemovingTheMiddleClipSelectsTheNextRow) {
    add("a.mp4");
    TVideoInfo& middle = add("b.mp4");
    TVideoInfo& last = add("c.mp4");
    ASSERT_TRUE(list.PressRow(&middle.Row()));
    ASSERT_TRUE(list.RemoveSelectedClips());
    EXPECT_EQ(paths(), (std::vector<std::string>{"a.mp4", "c.mp4"}));
    EXPECT_EQ(list.SelectedRows(), std::vector<TInfoListItem*>{&last.Row()});
    EXPECT_EQ(list.CurrentClip(), &last);
    // Renumbered: numbers, places and output names follow the new positions.
    EXPECT_EQ(last.Row().Number, 2);
    EXPECT_EQ(last.Row().Top, 18);
    EXPECT_EQ(last.OutputName, "1-c.mp4.mp4");

    // Removing the last clip selects the new last row.
    ASSERT_TRUE(list.RemoveSelectedClips());
    EXPECT_EQ(paths(), (std::vector<std::string>{"a.mp4"}));
    EXPECT_EQ(list.SelectedRows(), std::vector<TInfoListItem*>{&list.Clip(0)->Row()});

    ASSERT_TRUE(list.RemoveSelectedClips());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.CurrentClip(), nullptr);
    EXPECT_EQ(list.Mode, ListMode::Empty);
    EXPECT_TRUE(list.IntroVisible);
    EXPECT_TRUE(list.ListTransparent);
    EXPECT_FALSE(list.RemoveSelectedClips());
}

TEST_F(ClipListTest, RemovalTakesEveryRowOfTheClip) {
    TVideoInfo& first = add("a.mkv", 2);
    TVideoInfo& second = add("b.mkv", 3);
    add("c.mkv", 1);
    add("d.mkv");
    // An audio row selects the clip without its clip row; the clip row must
    // still leave the list with the clip.
    ASSERT_TRUE(list.PressRow(second.AudioRows()[1].get()));
    ASSERT_TRUE(list.RemoveSelectedClips());
    EXPECT_EQ(paths(), (std::vector<std::string>{"a.mkv", "c.mkv", "d.mkv"}));
    ASSERT_EQ(list.Rows().size(), 6u);
    for (size_t i = 0; i < list.Rows().size(); ++i) {
        EXPECT_EQ(list.Rows()[i]->Top, static_cast<int>(i) * 18);
        EXPECT_NE(list.IndexOf(list.Rows()[i]->Clip), -1);
    }
    // The row after the removed ones is the next clip's row.
    EXPECT_EQ(list.SelectedRows().front(), &list.Clip(1)->Row());
    EXPECT_EQ(list.Clip(1)->AudioRows()[0]->Number, 2);
    EXPECT_EQ(first.AudioRows()[1]->Number, 1);
}

TEST_F(ClipListTest, NothingSelectedRemovesNothing) {
    add("a.mp4");
    add("b.mp4");
    EXPECT_FALSE(list.RemoveSelectedClips());
    EXPECT_EQ(list.Count(), 2);
    ASSERT_TRUE(list.PressRow(&list.Clip(0)->Row()));
    list.Busy = true;
    EXPECT_FALSE(list.RemoveButton());
    EXPECT_FALSE(list.ClearButton());
    list.Busy = false;
    list.Mode = ListMode::Web;
    EXPECT_FALSE(list.RemoveButton());
    EXPECT_FALSE(list.ClearButton());
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(ClipListTest, ClearAsksFirst) {
    EXPECT_FALSE(list.ClearClips()); // empty: no question
    EXPECT_TRUE(prompter.shown().empty());

    add("a.mp4", 1);
    add("b.mp4");
    ASSERT_TRUE(list.PressRow(&list.Clip(1)->Row()));
    list.DvdDrive = "/dev/sr0";
    list.SetThumbTop(50);

    prompter.script({PromptAnswer::No});
    EXPECT_FALSE(list.ClearButton());
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "Do you want to clear the file list?");
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Confirmation);
    EXPECT_EQ(prompter.shown()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.CurrentClip(), list.Clip(1));

    prompter.script({PromptAnswer::Yes});
    ASSERT_TRUE(list.ClearButton());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_TRUE(list.SelectedRows().empty());
    EXPECT_TRUE(list.SelectedClips().empty());
    EXPECT_EQ(list.CurrentClip(), nullptr);
    EXPECT_EQ(list.DvdDrive, "A");
    EXPECT_EQ(list.ThumbTop(), 2);
    EXPECT_EQ(list.PanelHeight(), 0);
    EXPECT_EQ(list.Mode, ListMode::Empty);
    EXPECT_TRUE(list.IntroVisible);
}

TEST_F(ClipListTest, NineVisibleRowsFollowTheThumb) {
    for (int i = 0; i < 4; ++i)
        add("clip" + std::to_string(i) + ".ts", 2); // 12 rows
    ASSERT_EQ(list.Rows().size(), 12u);
    EXPECT_EQ(list.PanelTop(), 0);
    list.SetThumbTop(61);
    EXPECT_EQ(list.FirstVisibleRow(), 1);
    EXPECT_EQ(list.PanelTop(), -18);
    list.SetThumbTop(120);
    EXPECT_EQ(list.FirstVisibleRow(), 3);
    list.SetThumbTop(500);
    EXPECT_EQ(list.ThumbTop(), 120);
    list.SetThumbTop(-4);
    EXPECT_EQ(list.ThumbTop(), 2);

    // Dragging moves the thumb by the cursor's offset, kept within 2..120.
    list.ThumbPress(300);
    list.ThumbMove(359);
    EXPECT_EQ(list.ThumbTop(), 61);
    list.ThumbMove(1000);
    EXPECT_EQ(list.ThumbTop(), 120);
    list.ThumbRelease();
    list.ThumbMove(300);
    EXPECT_EQ(list.ThumbTop(), 120);

    // Nine rows or fewer never scroll.
    list.PressRow(&list.Clip(0)->Row());
    ASSERT_TRUE(list.RemoveSelectedClips());
    EXPECT_EQ(list.Rows().size(), 9u);
    EXPECT_EQ(list.PanelTop(), 0);
}

TEST_F(ClipListTest, ContextMenuEnablesWhatApplies) {
    const auto enabled = [&] {
        std::vector<bool> states;
        const auto entries = list.OpenContextMenu();
        for (const MenuEntry& entry : entries.value())
            states.push_back(entry.Enabled);
        return states;
    };
    auto menu = list.OpenContextMenu();
    ASSERT_TRUE(menu.has_value());
    ASSERT_EQ(menu->size(), 4u);
    EXPECT_EQ((*menu)[0].Text, "Remove Select");
    EXPECT_EQ((*menu)[1].Text, "Clear");
    EXPECT_EQ((*menu)[2].Text, "-");
    EXPECT_EQ((*menu)[3].Text, "Add clip(s)...");
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true}));

    add("a.mp4");
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, true, true}));
    list.PressRow(&list.Clip(0)->Row());
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true}));

    list.Busy = true;
    EXPECT_FALSE(list.OpenContextMenu().has_value());
    list.Busy = false;
    list.Seeking = true;
    EXPECT_FALSE(list.OpenContextMenu().has_value());
}

} // namespace
} // namespace quilo
