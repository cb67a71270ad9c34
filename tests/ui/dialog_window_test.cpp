// The main window's dialogs driven through their widgets, as the user works
// them: the options dialog's template and profile pages, the multi-audio
// notice, the frame-rate choice, the abnormal-end offer, the Browse and close
// buttons and the header links. Converted files are checked with ffprobe.
#include "platform/ini_file.h"
#include "quilo_test/support.h"
#include "shell/product_links.h"
#include "ui/about_window.h"
#include "ui/clip_list_view.h"
#include "ui/frame_rate_dialog.h"
#include "ui/main_window_dialogs.h"
#include "ui/notice_window.h"
#include "ui/options_dialog.h"
#include "ui/output_panel_view.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
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
            QTimer::singleShot(0, this, act_);
        }
        return false;
    }

private:
    QWidget* dialog_;
    std::function<void()> act_;
};

// For looking at the windows: saved when QUILO_SCREENSHOT_DIR names a folder.
void screenshot(QWidget* widget, const char* name) {
    if (const char* folder = std::getenv("QUILO_SCREENSHOT_DIR"))
        widget->grab().save(QString(folder) + "/" + name + ".png");
}

template <typename Widget> Widget* child(QWidget* parent, const char* name) {
    auto* widget = parent->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Frames 1/50 s and 3/50 s apart in turn: the container's average says 25.5,
// the stream's timing 50; both are usual rates.
std::string disagreeingRatesClip() {
    return fixture("ui-disagreeing-rates.mp4",
                   {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=50", "-t", "2", "-vf",
                    "setpts=(2*N-mod(N\\,2))/50/TB", "-fps_mode", "passthrough", "-c:v", "libx264", "-preset",
                    "ultrafast", "-video_track_timescale", "50"});
}

std::string sixtySecondClip() {
    return fixture("ui-sixty-seconds.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f",
                                            "lavfi", "-i", "sine=frequency=440", "-t", "60", "-c:v",
                                            "libx264", "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

class DialogsTest : public WindowTest {
protected:
    MainWindowDialogs& dialogs() { return *window->dialogs(); }
    OutputPanelModel& panel() { return window->session().panel(); }
    QToolButton* header(const char* name) { return dialogs().headerButton(name); }
    std::string option(const char* key) {
        return IniFile(window->dataFolder() + "Option.ini").readString("Option", key, "none");
    }
    void selectTarget(ConverterTypeId category, TargetTypeId target) {
        window->categoryButton(category)->click();
        window->targetButton(target)->click();
        ASSERT_EQ(panel().currentTarget(), target);
    }
    std::string outputLabel(int clip) {
        return window->session().clips().Clip(clip)->Row().LabelText(RowLabel::Output);
    }
    // The template page: empty the template, then click the tags in turn.
    void typeTemplate(OptionsDialog* options, std::initializer_list<int> tags, bool autoDash) {
        child<QLineEdit>(options, "suiEdit_Template")->clear();
        auto* dash = child<QCheckBox>(options, "suiCheckBox_Add1");
        if (dash->isChecked() != autoDash)
            dash->click();
        const QList<QPushButton*> labels = options->findChildren<QPushButton*>("tagLabel");
        ASSERT_EQ(labels.size(), 6);
        for (int tag : tags)
            labels[tag]->click();
    }
};

} // namespace

TEST_F(DialogsTest, TheTemplateBuiltFromClicksNamesTheRowsAndTheConvertedFiles) {
    window->addChosenFiles({shortClip()});
    selectTarget(Category::GeneralVideo, Target::MP4);
    EXPECT_EQ(outputLabel(0), "ui-two-seconds.mp4");

    OptionsDialog* options = dialogs().optionsDialog();
    QString built;
    auto worker = std::make_unique<OnShow>(options, [&] {
        typeTemplate(options, {0, 4}, true); // #Name, #Time
        built = child<QLineEdit>(options, "suiEdit_Template")->text();
        screenshot(options, "options-template");
        child<QPushButton>(options, "suiImageButton_OK")->click();
    });
    header("suiImageButton_Option")->click();
    ASSERT_EQ(worker->showings, 1);
    worker.reset();
    EXPECT_EQ(built, "#Name-#Time");
    const std::string today = QDate::currentDate().toString("MM-dd-yyyy").toStdString();
    EXPECT_EQ(outputLabel(0), "ui-two-seconds-" + today + ".mp4");

    window->startButton()->click();
    ASSERT_EQ(desktop.shown.size(), 1u);
    EXPECT_EQ(fileName(desktop.shown[0]), "ui-two-seconds-" + today + ".mp4");
    EXPECT_EQ(streamCount(ffprobe(desktop.shown[0]), "video"), 1);

    // #SN from a serial start of 5: the clips count on from it, job after job.
    OnShow serial(options, [&] {
        typeTemplate(options, {5}, false);
        auto* start = child<QLineEdit>(options, "suiEdit_SN");
        start->selectAll();
        QTest::keyClicks(start, "5");
        child<QPushButton>(options, "suiImageButton_OK")->click();
    });
    header("suiImageButton_Option")->click();
    window->addChosenFiles({shortClip()});
    EXPECT_EQ(outputLabel(0), "005.mp4");
    EXPECT_EQ(outputLabel(1), "006.mp4");
    window->startButton()->click();
    ASSERT_EQ(desktop.shown.size(), 2u);
    const std::string folder = window->session().JobOutputFolder();
    EXPECT_TRUE(fileExists(folder + "005.mp4"));
    EXPECT_TRUE(fileExists(folder + "006.mp4"));
    EXPECT_EQ(streamCount(ffprobe(folder + "006.mp4"), "audio"), 1);

    // The settings outlive the run.
    const IniFile settings(window->dataFolder() + "Option.ini");
    window.reset();
    EXPECT_EQ(settings.readString("Option", "Template", ""), "#SN");
    EXPECT_EQ(settings.readString("Option", "OutputPSPSerialNumber", ""), "5");
}

TEST_F(DialogsTest, AProfileSavedOnTheProfilePageReachesThePanelAndTheCommandLine) {
    selectTarget(Category::Apple, Target::iPhone);
    OptionsDialog* options = dialogs().optionsDialog();
    OnShow worker(options, [&] {
        options->findChildren<QPushButton*>("pageButton")[2]->click();
        auto* type = child<QComboBox>(options, "suiComboBox_Type");
        const int iPhone = type->findText("iPhone");
        ASSERT_GE(iPhone, 0);
        type->setCurrentIndex(iPhone);
        emit type->activated(iPhone);
        auto* name = child<QLineEdit>(options, "suiEdit_ProfileName");
        name->selectAll();
        QTest::keyClicks(name, "My iPhone");
        child<QPushButton>(options, "suiImageButton_Add")->click();

        // A built-in profile can be neither overwritten nor removed.
        auto* profile = child<QComboBox>(options, "suiComboBox_Profile");
        const int builtIn = profile->findText("iPhone Retina", Qt::MatchStartsWith);
        ASSERT_GE(builtIn, 0);
        profile->setCurrentIndex(builtIn);
        emit profile->activated(builtIn);
        screenshot(options, "options-profiles");
        child<QPushButton>(options, "suiImageButton_Add")->click();
        child<QPushButton>(options, "suiImageButton_Del")->click();
        // Cancel: the save alone is a change the panel follows.
        child<QPushButton>(options, "suiImageButton_Cancel")->click();
    });
    header("suiImageButton_Option")->click();
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

TEST_F(DialogsTest, ATwoLanguageClipBringsTheNoticeUntilTheUserDeclinesItAlsoAfterARestart) {
    bool messageShown = false, warningShown = true;
    auto answer = [&] {
        NoticeWindow* notice = dialogs().noticeWindow();
        messageShown = child<QLabel>(notice, "labelMessage")->isVisible();
        warningShown = child<QLabel>(notice, "warningLabel")->isVisible();
        screenshot(notice, "notice-multi-audio");
        child<QCheckBox>(notice, "cbMultiAudio")->click();
        child<QPushButton>(notice, "suiImageButton_OK")->click();
    };
    OnShow first(dialogs().noticeWindow(), answer);
    window->addChosenFiles({twoLanguageClip()});
    ASSERT_EQ(window->session().clips().Count(), 1);
    EXPECT_EQ(first.showings, 1);
    EXPECT_TRUE(messageShown);
    EXPECT_FALSE(warningShown);
    EXPECT_EQ(option("ShowMultiAudio"), "1");
    // OK follows the link to the help page about several audio tracks.
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_TRUE(desktop.opened[0].ends_with("/video-converter/multi-track-hd-video.htm"))
        << desktop.opened[0];

    window->addChosenFiles({twoLanguageClip()});
    EXPECT_EQ(first.showings, 1);

    restart();
    OnShow again(dialogs().noticeWindow(), answer);
    window->addChosenFiles({twoLanguageClip()});
    EXPECT_EQ(window->session().clips().Count(), 1);
    EXPECT_EQ(again.showings, 0);
}

TEST_F(DialogsTest, DisagreeingFrameRatesAreAskedAndTheChosenRateReachesTheFile) {
    FrameRateDialog* dialog = dialogs().frameRateDialog();
    bool okAtFirst = true, okAfterChoice = false;
    QString second;
    OnShow worker(dialog, [&] {
        auto* ok = child<QPushButton>(dialog, "btnOk");
        okAtFirst = ok->isEnabled();
        second = child<QRadioButton>(dialog, "rbtnFPS2")->text();
        child<QRadioButton>(dialog, "rbtnFPS2")->click();
        okAfterChoice = ok->isEnabled();
        screenshot(dialog, "frame-rate");
        ok->click();
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
    window->startButton()->click();
    ASSERT_EQ(desktop.shown.size(), 1u);
    const QJsonObject video = firstStream(ffprobe(desktop.shown[0]), "video");
    EXPECT_EQ(video["avg_frame_rate"].toString(), "50/1");
}

TEST_F(DialogsTest, AfterAKilledConversionTheNextStartOffersToMailBothLogs) {
    // An earlier run of the window started the reminder's count of days.
    window->show();
    const IniFile settings(window->dataFolder() + "Option.ini");
    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.readString("sys", "UpdateDate", "") != ""; }, 30000));
    EXPECT_TRUE(prompter.texts().empty());

    QProcess converter;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(home.path()));
    env.insert("XDG_DATA_HOME", QString::fromStdString(appData.path()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.path()));
    converter.setProcessEnvironment(env);
    TempDir out;
    converter.start(
        QString::fromStdString(programDir() + "quilo-convert"),
        {"--output", QString::fromStdString(out.path()), "/MP4", QString::fromStdString(sixtySecondClip())});
    ASSERT_TRUE(converter.waitForStarted());
    std::string seen;
    while (seen.find("fps ") == std::string::npos && converter.state() == QProcess::Running) {
        converter.waitForReadyRead(100);
        seen += converter.readAllStandardError().toStdString();
    }
    ASSERT_NE(seen.find("fps "), std::string::npos) << seen;
    ::kill(static_cast<pid_t>(converter.processId()), SIGKILL);
    converter.waitForFinished();

    restart();
    prompter.script({PromptAnswer::Yes});
    window->show();
    // The reminder waits for the window's first showing and then its timer.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.mails.empty(); }, 30000));
    window->hide();
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

TEST_F(DialogsTest, BrowseChangesTheOutputFolderForTheNextJobAndTheNextRun) {
    TempDir picked;
    chosenFolder = picked.path() + "videos";
    std::filesystem::create_directory(chosenFolder);
    selectTarget(Category::GeneralVideo, Target::MP4);
    window->addChosenFiles({shortClip()});

    child<QToolButton>(window->outputPanelView(), "suiImageButton_Browse")->click();
    const std::string folder = chosenFolder + "/";
    EXPECT_EQ(child<QLineEdit>(window->outputPanelView(), "outputFolder")->text().toStdString(),
              folder + targetSubFolder(Target::MP4));
    EXPECT_EQ(option("OutputFolder"), folder);

    window->startButton()->click();
    ASSERT_EQ(desktop.shown.size(), 1u);
    EXPECT_EQ(desktop.shown[0], folder + targetSubFolder(Target::MP4) + "ui-two-seconds.mp4");
    EXPECT_TRUE(fileExists(desktop.shown[0]));

    restart();
    EXPECT_EQ(window->session().options().OutputFolder, folder);
}

TEST_F(DialogsTest, TheCloseButtonSavesTheLanguageAndTheFolder) {
    IniFile options(window->dataFolder() + "Option.ini");
    options.eraseKey("Option", "DefaultAudio");
    options.eraseKey("Option", "OutputFolder");
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(option("DefaultAudio"), "1");
    EXPECT_EQ(option("OutputFolder"), window->session().options().OutputFolder);
}

TEST_F(DialogsTest, HeaderButtonsOpenTheProductsPagesAndTheAboutWindow) {
    const ProductLinks links = ProductLinks::Read(programDir());
    header("CheckNewVer")->click();
    header("suiImageButton_Mail")->click();
    AboutWindow* about = dialogs().aboutWindow();
    QString version;
    OnShow worker(about, [&] {
        version = child<QLabel>(about, "versionLabel")->text();
        screenshot(about, "about");
        for (QPushButton* link : about->findChildren<QPushButton*>("link"))
            if (link->text() == "View update log")
                link->click();
        child<QPushButton>(about, "okButton")->click();
    });
    header("suiImageButton_About")->click();
    EXPECT_EQ(worker.showings, 1);
    EXPECT_EQ(version, "Version 1.0");

    // The help menu: the installed help pages, then the home page.
    ASSERT_TRUE(header("suiImageButton_Help")->isVisibleTo(window.get()));
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            entries << action->text();
        menu->actions()[0]->trigger();
        menu->close();
    });
    header("suiImageButton_Help")->click();
    EXPECT_EQ(entries, (QStringList{"Help file", "Online Home page"}));

    const std::vector<std::string> expected = {links.DownloadPage("1.0"), "mailto:" + links.supportMail,
                                               links.UpdateLogPage(), programDir() + "help/index.html"};
    EXPECT_EQ(desktop.opened, expected);
}
