// The clip list's widget over its model: where a press lands (rows, the audio
// check images, the scroll thumb) and the header's remove and clear buttons.
#include "platform/ini_file.h"
#include "quilo_test/support.h"
#include "ui/clip_list_view.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

QToolButton* headerButton(MainWindow& window, const QString& text) {
    for (QToolButton* button : window.findChildren<QToolButton*>("headerButton"))
        if (button->text() == text)
            return button;
    ADD_FAILURE() << text.toStdString();
    return nullptr;
}

class ClipListViewTest : public WindowTest {};

} // namespace

TEST_F(ClipListViewTest, TheAudioCheckImageChoosesTheClipsAudioStream) {
    // The user has declined the notice about several audio tracks.
    IniFile(window->dataFolder() + "Option.ini").writeBool("Option", "ShowMultiAudio", true);
    window->addChosenFiles({twoLanguageClip()});
    ASSERT_EQ(window->session().clips().Rows().size(), 3u);
    ClipListView* list = window->clipListView();
    TInfoListItem* english = list->rowAt({100, RowHeight + 5});
    TInfoListItem* french = list->rowAt({100, 2 * RowHeight + 5});
    ASSERT_TRUE(english && french);
    ASSERT_EQ(english->Kind, RowKind::Audio);
    EXPECT_TRUE(english->Checked); // the preferred language
    EXPECT_FALSE(french->Checked);

    // A press beside the check image selects the row but keeps the audio choice.
    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(300, 2 * RowHeight + 5));
    EXPECT_TRUE(french->Selected);
    EXPECT_FALSE(french->Checked);

    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(27, 2 * RowHeight + 9));
    EXPECT_TRUE(french->Checked);
    EXPECT_FALSE(english->Checked);
    EXPECT_EQ(french->Clip->SelectedAudioId, french->StreamId);
}

TEST_F(ClipListViewTest, DraggingTheThumbScrollsTheRowsTheViewHitsAndDraws) {
    // Five clips with one audio row each: ten rows, one more than shows.
    const std::string clip = shortClip();
    window->addChosenFiles({clip, clip, clip, clip, clip});
    ClipList& clips = window->session().clips();
    ASSERT_EQ(clips.Rows().size(), 10u);
    ClipListView* list = window->clipListView();
    EXPECT_EQ(list->rowAt({100, 5}), clips.Rows()[0]);
    EXPECT_EQ(list->rowAt({100, 9 * RowHeight + 1}), nullptr); // below the ninth row

    const int barX = ClipListView::RowWidth + ClipListView::BarWidth / 2;
    QTest::mousePress(list, Qt::LeftButton, {}, QPoint(barX, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(barX, 200), list->mapToGlobal(QPointF(barX, 200)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &move);
    QTest::mouseRelease(list, Qt::LeftButton, {}, QPoint(barX, 200));
    EXPECT_EQ(clips.ThumbTop(), ClipList::ThumbMaxTop);
    EXPECT_EQ(clips.FirstVisibleRow(), 1);
    EXPECT_EQ(list->rowAt({100, 5}), clips.Rows()[1]);
    EXPECT_EQ(list->rowAt({100, 8 * RowHeight + 5}), clips.Rows()[9]);
}

TEST_F(ClipListViewTest, RemoveTakesTheSelectedClipAndClearAsksFirst) {
    const std::string clip = shortClip();
    window->addChosenFiles({clip, clip, clip});
    ClipList& clips = window->session().clips();
    ASSERT_EQ(clips.Count(), 3);
    TVideoInfo* last = clips.Clip(2);

    QTest::mouseClick(window->clipListView(), Qt::LeftButton, {}, QPoint(200, 2 * RowHeight + 5));
    headerButton(*window, "Remove")->click();
    ASSERT_EQ(clips.Count(), 2);
    // The row after the removed one is selected now: the last clip's.
    EXPECT_EQ(clips.SelectedClips(), std::vector<TVideoInfo*>{last});

    prompter.script({PromptAnswer::No});
    headerButton(*window, "Clear")->click();
    EXPECT_EQ(clips.Count(), 2);
    headerButton(*window, "Clear")->click();
    EXPECT_EQ(clips.Count(), 0);
    const std::vector<std::string> asked(2, "Do you want to clear the file list?");
    EXPECT_EQ(prompter.texts(), asked);
    EXPECT_EQ(window->clipListView()->rowAt({100, 5}), nullptr);
}
