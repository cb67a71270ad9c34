// The main window's dialogs on an X display (Xvfb), worked with the mouse and
// the keyboard as the user works them: the options dialog's template and
// profile pages, the serial number from job to job, the multi-audio notice,
// the frame-rate choice, the abnormal-end offer, the Browse and close buttons
// and the header links. Converted files are checked with ffprobe; what the
// screen shows is saved in the build's screenshots folder.
#include "conversion/engine_parameter_set.h"
#include "conversion/user_log.h"
#include "platform/ini_file.h"
#include "profiles/update_reminder.h"
#include "quilo_test/support.h"
#include "shell/product_links.h"
#include "ui/about_window.h"
#include "ui/clip_list_view.h"
#include "ui/frame_rate_dialog.h"
#include "ui/main_window_dialogs.h"
#include "ui/notice_window.h"
#include "ui/options_dialog.h"
#include "ui/output_panel_view.h"
#include "ui/progress_window.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// Works a modal window each time it shows, from inside its own event loop.
class OnShow : public QObject {
public:
    OnShow(QWidget* dialog, std::function<void()> act) : dialog_(dialog), act_(std::move(act)) {
        dialog->installEventFilter(this);
    }
    int showings = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == dialog_ && event->type() == QEvent::Show) {
            ++showings;
            QTimer::singleShot(0, this, [this] {
                // The user sees the window before working it.
                EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_));
                act_();
            });
        }
        return false;
    }

private:
    QWidget* dialog_;
    std::function<void()> act_;
};

template <typename Widget> Widget* child(QWidget* parent, const char* name) {
    auto* widget = parent->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// A press and release of the left button on a control's middle.
void click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Check boxes and radio buttons take the click on their box at the left.
void tick(QWidget* box) {
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isVisible()) << box->objectName().toStdString();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
}

// Replaces a field's text as typed: a click into it, select all, the keys.
void typeInto(QLineEdit* field, const QString& keys) {
    ASSERT_NE(field, nullptr);
    click(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, keys);
}

// Frames 1/50 s and 3/50 s apart in turn: the container's average says 25.5,
// the stream's timing 50; both are usual rates.
std::string disagreeingRatesClip() {
    return fixture("ui-disagreeing-rates.mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=50", "-t", "2", "-vf",
                    "setpts=(2*N-mod(N\\,2))/50/TB", "-fps_mode", "passthrough", "-c:v", "libx264", "-preset",
                    "ultrafast", "-video_track_timescale", "50"});
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

class DialogWindowTest : public ShownWindowTest {
protected:
    MainWindowDialogs& dialogs() { return *window->dialogs(); }
    OutputPanelModel& panel() { return window->session().panel(); }
    QToolButton* header(const char* name) { return dialogs().headerButton(name); }
    std::string option(const char* key) {
        return IniFile(window->dataFolder() + "Option.ini").readString("Option", key, "none");
    }
    void selectTarget(ConverterTypeId category, TargetTypeId target) {
        click(window->categoryButton(category));
        click(window->targetButton(target));
        ASSERT_EQ(panel().currentTarget(), target);
    }
    std::string outputLabel(int clip) {
        return window->session().clips().Clip(clip)->Row().LabelText(RowLabel::Output);
    }
    // Returns when the job has ended and its window has closed.
    void convert() {
        click(window->startButton());
        EXPECT_FALSE(window->findChild<ProgressWindow*>()->isVisible());
    }
    // The template page: empty the template, then click the tags in turn.
    void clickTemplate(OptionsDialog* options, std::initializer_list<int> tags, bool autoDash) {
        typeInto(child<QLineEdit>(options, "suiEdit_Template"), "");
        auto* dash = child<QCheckBox>(options, "suiCheckBox_Add1");
        if (dash->isChecked() != autoDash)
            tick(dash);
        ASSERT_EQ(dash->isChecked(), autoDash);
        const QList<QPushButton*> labels = options->findChildren<QPushButton*>("tagLabel");
        ASSERT_EQ(labels.size(), 6);
        for (int tag : tags)
            click(labels[tag]);
    }
};

} // namespace

TEST_F(DialogWindowTest, TheTemplateBuiltFromClicksNamesTheRowsAndTheConvertedFile) {
    window->addChosenFiles({shortClip()});
    selectTarget(Category::GeneralVideo, Target::MP4);
    EXPECT_EQ(outputLabel(0), "ui-two-seconds.mp4");

    OptionsDialog* options = dialogs().optionsDialog();
    QString built;
    OnShow worker(options, [&] {
        clickTemplate(options, {0, 4}, true); // #Name, #Time
        built = child<QLineEdit>(options, "suiEdit_Template")->text();
        saveScreen(options, "options-template.png");
        click(child<QPushButton>(options, "suiImageButton_OK"));
    });
    click(header("suiImageButton_Option"));
    ASSERT_EQ(worker.showings, 1);
    EXPECT_FALSE(options->isVisible());
    EXPECT_EQ(built, "#Name-#Time");
    const std::string today = QDate::currentDate().toString("MM-dd-yyyy").toStdString();
    const std::string name = "ui-two-seconds-" + today + ".mp4";
    EXPECT_EQ(outputLabel(0), name);
    saveScreen(window.get(), "main-window-template-names.png");

    convert();
    ASSERT_EQ(desktop.shown.size(), 1u);
    EXPECT_EQ(fileName(desktop.shown[0]), name);
    const QJsonObject probe = ffprobe(desktop.shown[0]);
    EXPECT_TRUE(probe["format"].toObject()["format_name"].toString().contains("mp4"));
    EXPECT_EQ(streamCount(probe, "video"), 1);
    EXPECT_NEAR(durationSeconds(probe), 2.0, 0.2);
}

TEST_F(DialogWindowTest, TheSerialNumberCountsOnFromJobToJobAndIntoTheNextRun) {
    selectTarget(Category::GeneralVideo, Target::MP4);
    OptionsDialog* options = dialogs().optionsDialog();
    QString shownStart;
    auto worker = std::make_unique<OnShow>(options, [&] {
        clickTemplate(options, {5}, false); // #SN
        typeInto(child<QLineEdit>(options, "suiEdit_SN"), "5");
        click(child<QPushButton>(options, "suiImageButton_OK"));
    });
    click(header("suiImageButton_Option"));
    ASSERT_EQ(worker->showings, 1);
    window->addChosenFiles({shortClip()});
    window->addChosenFiles({secondsClip()});
    ASSERT_EQ(window->session().clips().Count(), 2);
    EXPECT_EQ(outputLabel(0), "005.mp4");
    EXPECT_EQ(outputLabel(1), "006.mp4");

    const std::string folder = window->session().JobOutputFolder();
    convert();
    EXPECT_NEAR(durationSeconds(ffprobe(folder + "005.mp4")), 2.0, 0.2);
    EXPECT_NEAR(durationSeconds(ffprobe(folder + "006.mp4")), 30.0, 0.5);
    // The next job's clips are numbered past the files just written, and the
    // options dialog says where the count stands.
    EXPECT_EQ(outputLabel(0), "007.mp4");
    EXPECT_EQ(outputLabel(1), "008.mp4");
    EXPECT_EQ(option("OutputPSPSerialNumber"), "7");
    saveScreen(window.get(), "main-window-serials-counted-on.png");
    worker = std::make_unique<OnShow>(options, [&] {
        shownStart = child<QLineEdit>(options, "suiEdit_SN")->text();
        click(child<QPushButton>(options, "suiImageButton_Cancel"));
    });
    click(header("suiImageButton_Option"));
    EXPECT_EQ(shownStart, "7");

    // A job of the second clip alone: the first keeps its number, untouched.
    window->session().clips().Clip(0)->Checked = false;
    convert();
    EXPECT_FALSE(fileExists(folder + "007.mp4"));
    EXPECT_NEAR(durationSeconds(ffprobe(folder + "008.mp4")), 30.0, 0.5);
    EXPECT_EQ(outputLabel(0), "009.mp4");
    EXPECT_EQ(option("OutputPSPSerialNumber"), "9");

    // The next run goes on from there.
    worker.reset();
    restart();
    showWindow();
    window->addChosenFiles({shortClip()});
    selectTarget(Category::GeneralVideo, Target::MP4);
    EXPECT_EQ(outputLabel(0), "009.mp4");
    convert();
    EXPECT_EQ(streamCount(ffprobe(folder + "009.mp4"), "audio"), 1);
    const IniFile settings(window->dataFolder() + "Option.ini");
    window.reset();
    EXPECT_EQ(settings.readString("Option", "OutputPSPSerialNumber", ""), "10");
}

TEST_F(DialogWindowTest, AProfileSavedOnTheProfilePageReachesThePanelAndTheCommandLine) {
    selectTarget(Category::Apple, Target::iPhone);
    OptionsDialog* options = dialogs().optionsDialog();
    OnShow worker(options, [&] {
        click(options->findChildren<QPushButton*>("pageButton")[2]);
        auto* type = child<QComboBox>(options, "suiComboBox_Type");
        const int iPhone = type->findText("iPhone");
        ASSERT_GE(iPhone, 0);
        type->setCurrentIndex(iPhone);
        emit type->activated(iPhone);
        typeInto(child<QLineEdit>(options, "suiEdit_ProfileName"), "My iPhone");
        click(child<QPushButton>(options, "suiImageButton_Add"));

        // A built-in profile can be neither overwritten nor removed.
        auto* profile = child<QComboBox>(options, "suiComboBox_Profile");
        const int builtIn = profile->findText("iPhone Retina", Qt::MatchStartsWith);
        ASSERT_GE(builtIn, 0);
        profile->setCurrentIndex(builtIn);
        emit profile->activated(builtIn);
        saveScreen(options, "options-profiles.png");
        click(child<QPushButton>(options, "suiImageButton_Add"));
        click(child<QPushButton>(options, "suiImageButton_Del"));
        // Cancel: the save alone is a change the panel follows.
        click(child<QPushButton>(options, "suiImageButton_Cancel"));
    });
    click(header("suiImageButton_Option"));
    ASSERT_EQ(worker.showings, 1);
    const std::vector<std::string> messages = {
        "Profile Name : \"iPhone Retina\".\nYou Can not modify this setting!",
        "Profile Name : \"iPhone Retina\".\nYou Can not remove this setting!"};
    EXPECT_EQ(prompter.texts(), messages);
    const IniFile saved(window->dataFolder() + "PfSetting.ini");
    EXPECT_EQ(saved.readString("iPhone-Profile", "iPhone Retina", ""), "0,0,2,6,1500,2,0,0,1,0,0");

    QStringList listed;
    auto* selector = window->outputPanelView()->findChild<QComboBox*>("savedProfile");
    ASSERT_NE(selector, nullptr);
    for (int i = 0; i < selector->count(); ++i)
        listed << selector->itemText(i);
    EXPECT_TRUE(listed.filter(QRegularExpression("^My iPhone : ")).size() == 1)
        << listed.join("|").toStdString();

    const ProcessResult run = runProcess(
        programDir() + "quilo-convert", {"--list-profiles", "/iPhone"}, 60000,
        {{"HOME", home.path()}, {"XDG_DATA_HOME", appData.path()}, {"XDG_RUNTIME_DIR", home.path()}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("My iPhone\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("iPhone Retina\n"), std::string::npos) << run.out;
}

TEST_F(DialogWindowTest, ATwoLanguageClipBringsTheNoticeUntilTheUserDeclinesItAlsoAfterARestart) {
    bool messageShown = false, warningShown = true, linkFits = false;
    std::string linkTip;
    auto answer = [&] {
        NoticeWindow* notice = dialogs().noticeWindow();
        messageShown = child<QLabel>(notice, "labelMessage")->isVisible();
        warningShown = child<QLabel>(notice, "warningLabel")->isVisible();
        // The help page's address is seen in the window, whole in its tip.
        auto* link = child<QLabel>(notice, "link");
        linkFits = link->fontMetrics().horizontalAdvance(link->text()) <= link->width();
        linkTip = link->toolTip().toStdString();
        saveScreen(notice, "notice-multi-audio.png");
        tick(child<QCheckBox>(notice, "cbMultiAudio"));
        click(child<QPushButton>(notice, "suiImageButton_OK"));
    };
    auto first = std::make_unique<OnShow>(dialogs().noticeWindow(), answer);
    window->addChosenFiles({twoLanguageClip()});
    ASSERT_EQ(window->session().clips().Count(), 1);
    EXPECT_EQ(first->showings, 1);
    EXPECT_TRUE(messageShown);
    EXPECT_FALSE(warningShown);
    EXPECT_EQ(option("ShowMultiAudio"), "1");
    // OK follows the link to the help page about several audio tracks.
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_TRUE(desktop.opened[0].ends_with("/video-converter/multi-track-hd-video.htm"))
        << desktop.opened[0];
    EXPECT_TRUE(linkFits);
    EXPECT_EQ(linkTip, desktop.opened[0]);

    window->addChosenFiles({twoLanguageClip()});
    EXPECT_EQ(first->showings, 1);

    first.reset();
    restart();
    showWindow();
    OnShow again(dialogs().noticeWindow(), answer);
    window->addChosenFiles({twoLanguageClip()});
    EXPECT_EQ(window->session().clips().Count(), 1);
    EXPECT_EQ(again.showings, 0);
}

TEST_F(DialogWindowTest, DisagreeingFrameRatesAreAskedAndTheChosenRateReachesTheFile) {
    FrameRateDialog* dialog = dialogs().frameRateDialog();
    bool okAtFirst = true, okAfterChoice = false;
    QString second;
    OnShow worker(dialog, [&] {
        auto* ok = child<QPushButton>(dialog, "btnOk");
        okAtFirst = ok->isEnabled();
        second = child<QRadioButton>(dialog, "rbtnFPS2")->text();
        tick(child<QRadioButton>(dialog, "rbtnFPS2"));
        okAfterChoice = ok->isEnabled();
        saveScreen(dialog, "frame-rate.png");
        click(ok);
    });
    window->addChosenFiles({disagreeingRatesClip()});
    ASSERT_EQ(worker.showings, 1);
    ASSERT_EQ(window->session().clips().Count(), 1);
    EXPECT_FALSE(okAtFirst);
    EXPECT_TRUE(okAfterChoice);
    EXPECT_EQ(second, "50.00");
    EXPECT_FLOAT_EQ(window->session().clips().Clip(0)->FrameRate, 50.0f);

    selectTarget(Category::GeneralVideo, Target::MP4);
    panel().ChangeVideoFrameRate(0); // "Auto": the clip's own rate
    convert();
    ASSERT_EQ(desktop.shown.size(), 1u);
    const QJsonObject video = firstStream(ffprobe(desktop.shown[0]), "video");
    EXPECT_EQ(video["avg_frame_rate"].toString(), "50/1");
}

TEST_F(DialogWindowTest, AfterAKilledConversionTheNextStartOffersToMailBothLogs) {
    // This run starts the reminder's count of days and has nothing to offer.
    const IniFile settings(window->dataFolder() + "Option.ini");
    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.readString("sys", "UpdateDate", "") != ""; }, 30000));
    EXPECT_TRUE(prompter.texts().empty());

    QProcess converter;
    TempDir out;
    std::string seen;
    ASSERT_TRUE(startConverter(
        converter,
        {{"HOME", home.path()}, {"XDG_DATA_HOME", appData.path()}, {"XDG_RUNTIME_DIR", home.path()}},
        {"--output", out.path(), "/MP4", sixtySecondClip()}, seen))
        << seen;
    ::kill(static_cast<pid_t>(converter.processId()), SIGKILL);
    converter.waitForFinished();

    restart();
    prompter.script({PromptAnswer::Yes});
    showWindow();
    // The reminder waits for the window's first showing and then its timer.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.mails.empty(); }, 30000));
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(prompter.texts()[0], "Our program detects abnormal end in your previous conversion.\nWould you "
                                   "please send us the Log File which will help us find the problem?");
    ASSERT_EQ(desktop.mails.size(), 1u);
    const std::vector<std::string> logs = {window->dataFolder() + "UserLog.log",
                                           window->dataFolder() + "tamberlog.log"};
    EXPECT_EQ(desktop.mails[0].attachments, logs);
    EXPECT_EQ(desktop.mails[0].to, ProductLinks::Read(programDir()).problemReportAddress);
    EXPECT_EQ(desktop.mails[0].subject, "1.0 Log File");
}

TEST_F(DialogWindowTest, AConversionOfThisRunIsNotTakenForAnAbnormalEnd) {
    // The last look for a new version was 16 days ago: the reminder asks
    // about that, then looks at how the previous run's conversion ended.
    const std::string longAgo = ShortDateText(QDate::currentDate().addDays(-16), QLocale()).toStdString();
    IniFile(window->dataFolder() + "Option.ini").writeString("sys", "UpdateDate", longAgo);
    restart();
    prompter.script({PromptAnswer::No});
    showWindow();
    // A clip of this run is being converted when the reminder comes: the log
    // says unfinished until the clip ends.
    UserLog log(window->dataFolder());
    log.LogClipStart(EngineParameterSet{}, Target::MP4);
    ASSERT_FALSE(log.lastConversionFinished());
    const IniFile settings(window->dataFolder() + "Option.ini");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return settings.readString("sys", "UpdateDate", longAgo) != longAgo; }, 30000));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Do you want to check the latest version?"});
    EXPECT_TRUE(desktop.mails.empty());
    EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(DialogWindowTest, BrowseChangesTheOutputFolderForTheNextJobAndTheNextRun) {
    TempDir picked;
    chosenFolder = picked.path() + "videos";
    std::filesystem::create_directory(chosenFolder);
    selectTarget(Category::GeneralVideo, Target::MP4);
    window->addChosenFiles({shortClip()});

    click(child<QToolButton>(window->outputPanelView(), "suiImageButton_Browse"));
    const std::string folder = chosenFolder + "/";
    EXPECT_EQ(child<QLineEdit>(window->outputPanelView(), "outputFolder")->text().toStdString(),
              folder + targetSubFolder(Target::MP4));
    EXPECT_EQ(option("OutputFolder"), folder);
    saveScreen(window->outputPanelView(), "output-panel-browsed.png");

    convert();
    ASSERT_EQ(desktop.shown.size(), 1u);
    EXPECT_EQ(desktop.shown[0], folder + targetSubFolder(Target::MP4) + "ui-two-seconds.mp4");
    EXPECT_EQ(streamCount(ffprobe(desktop.shown[0]), "video"), 1);

    restart();
    showWindow();
    EXPECT_EQ(window->session().options().OutputFolder, folder);
    EXPECT_EQ(child<QLineEdit>(window->outputPanelView(), "outputFolder")->text().toStdString(),
              folder + targetSubFolder(panel().currentTarget()));
}

TEST_F(DialogWindowTest, TheCloseButtonSavesTheLanguageAndTheFolder) {
    IniFile options(window->dataFolder() + "Option.ini");
    options.eraseKey("Option", "DefaultAudio");
    options.eraseKey("Option", "OutputFolder");
    EXPECT_TRUE(window->close());
    EXPECT_EQ(option("DefaultAudio"), "1");
    EXPECT_EQ(option("OutputFolder"), window->session().options().OutputFolder);
}

TEST_F(DialogWindowTest, HeaderButtonsOpenTheProductsPagesAndTheAboutWindow) {
    const ProductLinks links = ProductLinks::Read(programDir());
    click(header("CheckNewVer"));
    click(header("suiImageButton_Mail"));
    AboutWindow* about = dialogs().aboutWindow();
    QString version;
    OnShow worker(about, [&] {
        version = child<QLabel>(about, "versionLabel")->text();
        saveScreen(about, "about.png");
        for (QPushButton* link : about->findChildren<QPushButton*>("link"))
            if (link->text() == "View update log")
                click(link);
        click(child<QPushButton>(about, "okButton"));
    });
    click(header("suiImageButton_About"));
    EXPECT_EQ(worker.showings, 1);
    EXPECT_EQ(version, "Version 1.0");

    // The help menu: the installed help pages, then the home page.
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            entries << action->text();
        menu->actions()[0]->trigger();
        menu->close();
    });
    click(header("suiImageButton_Help"));
    EXPECT_EQ(entries, (QStringList{"Help file", "Online Home page"}));

    const std::vector<std::string> expected = {links.DownloadPage("1.0"), "mailto:" + links.supportMail,
                                               links.UpdateLogPage(), programDir() + "help/index.html"};
    EXPECT_EQ(desktop.opened, expected);
}
