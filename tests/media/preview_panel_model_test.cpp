// The preview panel's model over the real engine: the seeking flag that the
// clip list and the close button obey, a grabber that cannot start, and the
// crop button's answers.
#include "conversion/crop_button.h"
#include "quilo_test/grabber_support.h"
#include "media/preview_panel_model.h"
#include "quilo_test/test_doubles.h"

#include <gtest/gtest.h>

namespace quilo {
namespace {

using namespace quilo::test;

class PreviewPanelModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        auto added = std::make_unique<TVideoInfo>();
        added->FilePath = colourPerSecondClip();
        added->SetDuration(20); // long enough that the seconds asked stay as they are
        added->SetEndTime(20);
        added->Width = 160;
        added->Height = 120;
        added->Thumbnail = Bitmap24(80, 60);
        clip = &clips.Append(std::move(added));
    }

    ScriptedPrompter prompter;
    ClipList clips{prompter};
    TVideoInfo* clip = nullptr;
    TempDir data;
};

TEST_F(PreviewPanelModelTest, WhileAFrameIsSoughtRowsAndClosingAreRefused) {
    PreviewPanelModel preview(clips, prompter, engineLibrary(), data.path());
    ASSERT_TRUE(clips.ShowClip(clip));
    preview.ShowClip(clip);
    EXPECT_TRUE(preview.TrimBarEnabled());
    EXPECT_FALSE(preview.SnapshotEnabled()); // no frame yet
    EXPECT_TRUE(preview.MayClose());

    // The right handle from its end (156) to 32: second 20 * 22 / 146 = 3.
    preview.Press(TrimItem::RightHandle, 200);
    preview.Move(76);
    preview.Release();
    EXPECT_EQ(clip->EndTime, 3);
    EXPECT_EQ(preview.Trim().EndField().Text, "00:00:03");
    EXPECT_TRUE(preview.Seeking());
    EXPECT_TRUE(clips.Seeking);
    EXPECT_FALSE(preview.TrimBarEnabled());
    EXPECT_FALSE(clips.PressRow(&clip->Row()));
    EXPECT_FALSE(preview.MayClose());
    ASSERT_EQ(prompter.texts(), std::vector<std::string>{"Seeking disc, please waiting."});

    ASSERT_TRUE(WaitProcessingMessages([&] { return !preview.Seeking(); }, 60000));
    EXPECT_FALSE(clips.Seeking);
    EXPECT_EQ(preview.Grabber().LastFrameTime(), 3);
    EXPECT_TRUE(preview.SnapshotEnabled());
    EXPECT_TRUE(preview.MayClose());
    EXPECT_EQ(prompter.texts().size(), 1u);

    // Another clip (none) ends the session and its seeking state.
    preview.ShowClip(nullptr);
    EXPECT_FALSE(preview.Grabber().Loaded());
    EXPECT_FALSE(preview.TrimBarEnabled());
    EXPECT_FALSE(preview.FieldsEnabled());
}

TEST_F(PreviewPanelModelTest, AnEngineThatCannotStartLeavesTheWindowUsable) {
    PreviewPanelModel preview(clips, prompter, data.file("libTranzel.so"), data.path());
    preview.ShowClip(clip);
    preview.Press(TrimItem::LeftHandle, 0);
    preview.Move(73);
    preview.Release();
    EXPECT_EQ(clip->StartTime, 10);
    // No frame can come: the preview keeps the thumbnail and the window stays usable.
    EXPECT_FALSE(preview.Seeking());
    EXPECT_FALSE(clips.Seeking);
    EXPECT_TRUE(preview.TrimBarEnabled());
    EXPECT_TRUE(preview.MayClose());
    EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(PreviewPanelModelTest, TheCropButtonOpensTheDialogOrSaysWhyNot) {
    int stops = 0, shown = 0;
    const auto stop = [&] { ++stops; };
    CropDialog dialog(engineLibrary(), data.path());
    const auto show = [&] {
        ++shown;
        EXPECT_TRUE(dialog.Loaded());
        dialog.Cancel();
    };

    clips.Busy = true;
    EXPECT_EQ(CropButtonClicked(clips, dialog, prompter, stop, show), CropButtonResult::Ignored);
    clips.Busy = false;
    EXPECT_TRUE(prompter.texts().empty());

    EXPECT_EQ(CropButtonClicked(clips, dialog, prompter, stop, show), CropButtonResult::NoClip);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "Please select one clip to add effect.");
    EXPECT_EQ(prompter.shown()[0].kind, PromptKind::Information);
    EXPECT_EQ(stops, 0);

    ASSERT_TRUE(clips.ShowClip(clip));
    CropDialog broken(data.file("libTranzel.so"), data.path());
    EXPECT_EQ(CropButtonClicked(clips, broken, prompter, stop, show), CropButtonResult::CannotProcess);
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[1].text, "Cannot process it!");
    EXPECT_EQ(prompter.shown()[1].kind, PromptKind::Error);
    EXPECT_EQ(stops, 1); // the preview let go of the engine first
    EXPECT_EQ(shown, 0);

    EXPECT_EQ(CropButtonClicked(clips, dialog, prompter, stop, show), CropButtonResult::Shown);
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ(prompter.shown().size(), 2u);
}

} // namespace
} // namespace quilo
