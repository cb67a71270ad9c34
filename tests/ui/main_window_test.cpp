// The windows under the offscreen platform: the main window over its models,
// the panel's widgets following target clicks and edits, a generated clip
// added to the list, and jobs run through the modal progress window to their
// end, converted or stopped.
#include "platform/ini_file.h"
#include "quilo_test/support.h"
#include "ui/clip_list_view.h"
#include "ui/main_window.h"
#include "ui/output_panel_view.h"
#include "ui/progress_window.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

QStringList itemsOf(const SelectorControl& control) {
    QStringList items;
    for (const auto& item : control.items)
        items << QString::fromStdString(item);
    return items;
}

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

class MainWindowTest : public WindowTest {
protected:
    OutputPanelModel& panel() { return window->session().panel(); }
    template <typename Widget> Widget* panelWidget(const char* name) {
        auto* widget = window->outputPanelView()->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QCheckBox* checkBox(const QString& text) {
        for (QCheckBox* box : window->outputPanelView()->findChildren<QCheckBox*>())
            if (box->text() == text)
                return box;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    void selectTarget(ConverterTypeId category, TargetTypeId target) {
        window->categoryButton(category)->click();
        window->targetButton(target)->click();
        ASSERT_EQ(panel().currentTarget(), target);
    }
    QLabel* progressLabel(const char* name) { return window->progressWindow()->findChild<QLabel*>(name); }
};

} // namespace

TEST_F(MainWindowTest, TheWindowStartsOnTheGeneralVideoTargetAndAnEmptyListTellsHowToAddClips) {
    EXPECT_EQ(panel().currentTarget(), Target::AVI);
    EXPECT_FALSE(window->targetButton(Target::AVI)->isEnabled()); // the current target's button
    EXPECT_TRUE(window->targetButton(Target::MP4)->isEnabled());
    auto* format = panelWidget<QComboBox>("outputFormat");
    EXPECT_EQ(itemsOf(format), itemsOf(panel().controls().outputFormat));
    EXPECT_EQ(format->currentIndex(), panel().controls().outputFormat.index);

    // Without clips there is no list to convert: the user is told how to add
    // clips, and nothing is recorded or shown.
    window->startButton()->click();
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{AddClipsFirstText});
    EXPECT_FALSE(IniFile(window->dataFolder() + "UserLog.log").hasSection("AdvancedSetting"));
    EXPECT_TRUE(desktop.shown.empty());
}

TEST_F(MainWindowTest, TargetClicksAndEditsReachTheModelAndTheWidgetsFollowIt) {
    window->categoryButton(Category::Music)->click();
    EXPECT_EQ(panel().currentCategory(), Category::Music);
    EXPECT_TRUE(panelWidget<QComboBox>("videoCodec")->isHidden());
    EXPECT_TRUE(panelWidget<QComboBox>("imageMode")->isHidden());
    EXPECT_TRUE(panelWidget<QComboBox>("outputFormat")->isHidden());
    EXPECT_TRUE(checkBox("Deinterlacing")->isHidden());
    EXPECT_FALSE(panelWidget<QComboBox>("audioCodec")->isHidden());

    selectTarget(Category::GeneralVideo, Target::MP4);
    auto* videoCodec = panelWidget<QComboBox>("videoCodec");
    EXPECT_FALSE(videoCodec->isHidden());
    EXPECT_EQ(itemsOf(videoCodec), itemsOf(panel().controls().videoCodec));
    EXPECT_EQ(panelWidget<QLineEdit>("outputFolder")->text().toStdString(),
              panel().controls().outputFolder.text);
    EXPECT_TRUE(panel().controls().outputFolder.text.ends_with(targetSubFolder(Target::MP4)));

    // A choice in a selector goes to the model, which may rebuild other lists.
    selectTarget(Category::GeneralVideo, Target::AVC);
    auto* format = panelWidget<QComboBox>("outputFormat");
    ASSERT_GT(format->count(), 1);
    emit format->activated(1);
    EXPECT_EQ(panel().controls().outputFormat.index, 1);
    EXPECT_EQ(itemsOf(videoCodec), itemsOf(panel().controls().videoCodec));
    EXPECT_EQ(videoCodec->currentIndex(), panel().controls().videoCodec.index);

    auto* volume = panelWidget<QSlider>("volume");
    ASSERT_GE(volume->maximum(), 3);
    volume->setValue(3);
    EXPECT_EQ(panel().controls().volume.position, 3);
    EXPECT_EQ(panelWidget<QLabel>("volumeLabel")->text(), "+ 3 db.");

    // Checking an advanced box explains it once; unchecking says nothing.
    checkBox("Deinterlacing")->click();
    checkBox("Deinterlacing")->click();
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_TRUE(prompter.texts()[0].starts_with("If your original video is interleaving video"));
    EXPECT_FALSE(panel().controls().deinterlace.checked);

    // The DVD boxes: the selector sets them; a box then leaves the selector alone.
    selectTarget(Category::DVD, Target::DVD_Folder);
    EXPECT_FALSE(panelWidget<QWidget>("dvdPanel")->isHidden());
    emit panelWidget<QComboBox>("dvdSetting")->activated(3);
    EXPECT_TRUE(checkBox("PAL DVD")->isChecked());
    EXPECT_TRUE(checkBox("16 : 9")->isChecked());
    checkBox("NTSC DVD")->click();
    EXPECT_TRUE(checkBox("NTSC DVD")->isChecked());
    EXPECT_FALSE(checkBox("PAL DVD")->isChecked());
    EXPECT_EQ(panelWidget<QComboBox>("dvdSetting")->currentIndex(), 3);
    // Clicking the checked box keeps it checked, as its pair's other half is off.
    checkBox("NTSC DVD")->click();
    EXPECT_TRUE(checkBox("NTSC DVD")->isChecked());
    EXPECT_TRUE(panel().controls().dvdNtsc.checked);
}

TEST_F(MainWindowTest, AnAddedClipShowsItsRowsAndAJobConvertsItAndClosesTheWindow) {
    const std::string clip = shortClip();
    window->addChosenFiles({clip});
    ASSERT_EQ(window->session().clips().Count(), 1);
    ClipListView* list = window->clipListView();
    TInfoListItem* clipRow = list->rowAt({100, 5});
    ASSERT_NE(clipRow, nullptr);
    EXPECT_EQ(clipRow->Kind, RowKind::Clip);
    EXPECT_NE(clipRow->LabelText(RowLabel::Name).find("ui-two-seconds"), std::string::npos);
    TInfoListItem* audioRow = list->rowAt({100, RowHeight + 5});
    ASSERT_NE(audioRow, nullptr);
    EXPECT_EQ(audioRow->Kind, RowKind::Audio);

    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_TRUE(clipRow->Selected);
    EXPECT_TRUE(audioRow->Selected);
    EXPECT_EQ(window->session().clips().CurrentClip(), clipRow->Clip);

    selectTarget(Category::GeneralVideo, Target::MP4);
    window->startButton()->click(); // returns when the progress window has closed

    EXPECT_FALSE(window->progressWindow()->isVisible());
    EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
    // The open-folder box is on by default: the converted file is shown, nothing is said.
    ASSERT_EQ(desktop.shown.size(), 1u);
    const std::string output = desktop.shown[0];
    EXPECT_TRUE(output.starts_with(window->session().JobOutputFolder())) << output;
    ASSERT_TRUE(fileExists(output)) << output;
    const QJsonObject probe = ffprobe(output);
    EXPECT_TRUE(probe["format"].toObject()["format_name"].toString().contains("mp4"));
    EXPECT_EQ(streamCount(probe, "video"), 1);
    EXPECT_EQ(streamCount(probe, "audio"), 1);
    EXPECT_NEAR(durationSeconds(probe), 2.0, 0.3);

    EXPECT_EQ(progressLabel("currentClip")->text(), "ui-two-seconds.mp4");
    EXPECT_EQ(progressLabel("percent")->text(), "100");
    const IniFile options(window->dataFolder() + "Option.ini");
    EXPECT_EQ(options.readString("ConvertParam", "Format"), "MP4");
    EXPECT_EQ(options.readString("Option", "OpenFolder"), "1");
    EXPECT_TRUE(IniFile(window->dataFolder() + "UserLog.log").hasSection("AdvancedSetting"));
}

TEST_F(MainWindowTest, AJobEndingWhileTheWindowIsMinimisedIsToldByANotification) {
    window->addChosenFiles({shortClip()});
    selectTarget(Category::GeneralVideo, Target::MP4);
    window->show();
    window->showMinimized();
    window->startButton()->click(); // returns when the progress window has closed

    // The folder opens, but the user is not looking: the desktop is told too.
    ASSERT_EQ(desktop.shown.size(), 1u);
    const std::string folder = std::filesystem::path(desktop.shown[0]).parent_path().string() + "/";
    EXPECT_EQ(desktop.notifications,
              std::vector<std::string>{"Process Finished!\n" +
                                       std::filesystem::path(desktop.shown[0]).filename().string() +
                                       " (MP4) in " + folder});
    EXPECT_TRUE(prompter.texts().empty());
}

namespace {

// Closes the progress window as soon as the engine says its conversion can be stopped.
class CloseOnStopPossible : public QObject {
public:
    explicit CloseOnStopPossible(ProgressWindow* window) : window_(window) {}
    bool visibleAfterClose = false;
    bool stopWasEnabled = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == static_cast<QEvent::Type>(2312) && !done_) {
            done_ = true;
            QMetaObject::invokeMethod(
                window_,
                [this] {
                    stopWasEnabled = window_->stopButton()->isEnabled();
                    window_->close();
                    visibleAfterClose = window_->isVisible();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    ProgressWindow* window_;
    bool done_ = false;
};

} // namespace

TEST_F(MainWindowTest, ClosingDuringAConversionAsksThenStopsTheJobAfterTheRunningClip) {
    window->addChosenFiles({sixtySecondClip(), shortClip()});
    ASSERT_EQ(window->session().clips().Count(), 2);
    selectTarget(Category::GeneralVideo, Target::MP4);
    CloseOnStopPossible closer(window->progressWindow());
    window->progressWindow()->installEventFilter(&closer);

    window->startButton()->click();

    EXPECT_TRUE(closer.stopWasEnabled);
    EXPECT_TRUE(closer.visibleAfterClose); // the window stays while the engine works
    EXPECT_FALSE(window->progressWindow()->isVisible());
    const std::vector<std::string> expected = {"Do you want to stop the process?", "Stop process by user!"};
    EXPECT_EQ(prompter.texts(), expected);
    EXPECT_TRUE(desktop.shown.empty());
    // The second clip was never started.
    EXPECT_EQ(progressLabel("currentClip")->text(), "ui-sixty-seconds.mp4");
}

TEST_F(MainWindowTest, APspJobWithoutUploadSaysSoAndStaysOpenUntilClosed) {
    window->addChosenFiles({shortClip()});
    selectTarget(Category::Sony, Target::PSP);
    ProgressWindow* progress = window->progressWindow();
    bool openAtMessage = false, uploadNowEnabled = false;
    prompter.onAsk = [&](const std::string& text) {
        if (text != "Process finished!\nYou can upload files to your PSP.")
            return;
        // After the message the user closes the window with its Stop button.
        QMetaObject::invokeMethod(
            progress,
            [&] {
                openAtMessage = progress->isVisible();
                uploadNowEnabled = progress->findChild<QToolButton*>("uploadNow")->isEnabled();
                progress->stopButton()->click();
            },
            Qt::QueuedConnection);
    };

    window->startButton()->click();

    EXPECT_TRUE(openAtMessage);
    EXPECT_TRUE(uploadNowEnabled);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Process finished!\nYou can upload files to your PSP."});
    EXPECT_TRUE(desktop.shown.empty()); // a PSP job opens no folder
    EXPECT_FALSE(progress->findChild<QCheckBox*>("openFolderBox")->isVisibleTo(progress));
}
