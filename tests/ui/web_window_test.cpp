// Web links in the windows, with the real downloader over yt-dlp and pages
// served on 127.0.0.1: the add-link dialog, the link rows, a job that downloads
// and converts, and a stop during the download. QUILO_SHOT_DIR, when set,
// receives pictures of the windows at their interesting moments.
#include "quilo_test/page_server.h"
#include "ui/add_link_dialog.h"
#include "ui/clip_list_view.h"
#include "ui/progress_window.h"
#include "ui/web_list_accessible.h"
#include "ui/web_list_view.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <gmock/gmock.h>

using namespace quilo;
using namespace quilo::test;
using ::testing::ElementsAre;

namespace {

void picture(QWidget* widget, const std::string& name) {
    if (const char* folder = std::getenv("QUILO_SHOT_DIR"))
        widget->grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
}

// Acts on the progress window's first download notice of the given kind.
class OnDownloadNotice : public QObject {
public:
    OnDownloadNotice(ProgressWindow* window, long kind, std::function<void()> act)
        : window_(window), kind_(kind), act_(std::move(act)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == static_cast<QEvent::Type>(WM_LINK_DOWNLOAD) && !done_ &&
            static_cast<PortEvent*>(event)->wParam() == kind_) {
            done_ = true;
            QMetaObject::invokeMethod(window_, act_, Qt::QueuedConnection);
        }
        return false;
    }

private:
    ProgressWindow* window_;
    long kind_;
    std::function<void()> act_;
    bool done_ = false;
};

class WebWindowTest : public WindowTest {
protected:
    TempDir site;
    std::unique_ptr<PageServer> server;

    void SetUp() override {
        WindowTest::SetUp();
        std::filesystem::copy_file(shortClip(), site.file("clip.mp4"));
        writeFile(site.file("page.html"), pageWith("Harbour", "<video src=\"clip.mp4\"></video>"));
        writeFile(site.file("slow.html"), pageWith("Slow", "<video src=\"/slow/clip.mp4\"></video>"));
        server = std::make_unique<PageServer>(site.path());
        ASSERT_TRUE(server->running());
        window->show();
    }

    QToolButton* header(const QString& text) {
        for (QToolButton* button : window->findChildren<QToolButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    void waitFor(const std::function<bool()>& done) {
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    // The add-link button with `url` typed into the dialog and OK pressed, then
    // Cancel when the dialog stays open.
    void addLink(const std::string& url) {
        AddLinkDialog* dialog = window->addLinkDialog();
        QTimer::singleShot(0, dialog, [=, this] {
            dialog->urlField()->setText(QString::fromStdString(url));
            picture(dialog, "add-link-dialog");
            dialog->findChild<QPushButton*>("okButton")->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        header("Add URL")->click();
    }
    void addAnalysedLink(const std::string& url) {
        const size_t rows = window->webLinks().Rows().Rows().size();
        const size_t messages = prompter.shown().size();
        addLink(url);
        EXPECT_TRUE(window->webLinks().Analysing());
        picture(window.get(), "main-window-analysing");
        waitFor([&] {
            return window->webLinks().Rows().Rows().size() > rows || prompter.shown().size() > messages;
        });
    }
};

} // namespace

TEST_F(WebWindowTest, ALinkIsAnalysedIntoItsRowsAndAJobDownloadsAndConvertsIt) {
    window->categoryButton(Category::GeneralVideo)->click();
    window->targetButton(Target::MP4)->click();
    ASSERT_EQ(window->session().panel().currentTarget(), Target::MP4);
    addAnalysedLink(server->url("page.html"));
    ASSERT_TRUE(prompter.shown().empty()) << prompter.texts().at(0);
    EXPECT_TRUE(window->webListView()->isVisible());
    EXPECT_FALSE(window->clipListView()->isVisible());
    const auto& rows = window->webLinks().Rows().Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cell("WebUrl"), server->url("page.html"));
    // A press on the file row selects its link.
    QTest::mouseClick(window->webListView(), Qt::LeftButton, {}, QPoint(100, WebVideoRows::RowHeight + 9));
    EXPECT_TRUE(rows[0].selected);
    EXPECT_TRUE(rows[1].selected);
    picture(window.get(), "main-window-links");

    ProgressWindow* progress = window->progressWindow();
    std::string shownUrl;
    bool panelShown = false;
    OnDownloadNotice watcher(progress, 2, [&] {
        shownUrl = progress->findChild<QLabel*>("lb_URL")->text().toStdString();
        panelShown = progress->findChild<QWidget*>("pl_DownloadMsg")->isVisible();
        picture(progress, "progress-download");
    });
    progress->installEventFilter(&watcher);
    window->startButton()->click();

    EXPECT_TRUE(panelShown);
    EXPECT_EQ(shownUrl, server->url("page.html"));
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(prompter.shown().empty()) << prompter.texts().at(0);
    ASSERT_EQ(desktop.shown.size(), 1u); // the open-folder box shows the converted file
    const std::string output = desktop.shown[0];
    EXPECT_EQ(std::filesystem::path(output).extension(), ".mp4");
    const QJsonObject probe = ffprobe(output);
    EXPECT_EQ(streamCount(probe, "video"), 1);
    EXPECT_NEAR(durationSeconds(probe), 2.0, 0.3);
    EXPECT_EQ(window->downloadManager().GetTask(0)->state(), TaskConverted);
}

TEST_F(WebWindowTest, AssistiveToolsReadTheLinkRowsAndPressThem) {
    addAnalysedLink(server->url("page.html"));
    addAnalysedLink(server->url("slow.html"));
    ASSERT_TRUE(prompter.shown().empty()) << prompter.texts().at(0);
    const auto& rows = window->webLinks().Rows().Rows();
    ASSERT_EQ(rows.size(), 4u);

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window->webListView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), "Web video list");
    ASSERT_EQ(list->childCount(), 4);
    // A link row reads its address, a file row its cells as they show.
    EXPECT_TRUE(
        list->child(0)->text(QAccessible::Name).contains(QString::fromStdString(server->url("page.html"))))
        << list->child(0)->text(QAccessible::Name).toStdString();
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), SpokenWebRowText(rows[1]));
    EXPECT_FALSE(list->child(1)->text(QAccessible::Name).isEmpty());

    // Pressing the second link's file row selects that link, as a click does.
    list->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(rows[2].selected);
    EXPECT_TRUE(list->child(3)->state().selected);
    EXPECT_FALSE(list->child(0)->state().selected);
}

TEST_F(WebWindowTest, StopDuringADownloadEndsTheJobAndTheWindowStaysUsable) {
    addAnalysedLink(server->url("slow.html"));
    ASSERT_EQ(window->webLinks().Rows().Rows().size(), 2u);
    ProgressWindow* progress = window->progressWindow();
    OnDownloadNotice stopper(progress, 2, [&] { progress->stopButton()->click(); });
    progress->installEventFilter(&stopper);

    window->startButton()->click();

    EXPECT_FALSE(progress->isVisible());
    EXPECT_THAT(prompter.texts(), ElementsAre("Do you want to stop the process?", "Stop process by user!"));
    EXPECT_TRUE(desktop.shown.empty());
    const TDownloadTask& task = *window->downloadManager().GetTask(0);
    EXPECT_EQ(task.state(), TaskStopped);
    EXPECT_FALSE(fileExists(task.videos().at(0)->fullPath));
    EXPECT_EQ(window->session().clips().Count(), 0); // nothing half-downloaded reaches the list

    // The window goes on: another link can be added and analysed.
    prompter.clear();
    addAnalysedLink(server->url("page.html"));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(window->webLinks().Rows().Rows().size(), 4u);
}

TEST_F(WebWindowTest, TheDialogTakesTheClipboardsAddressAndStaysOpenOnAWrongOne) {
    QGuiApplication::clipboard()->setText("https://videos.example/watch?v=7");
    AddLinkDialog* dialog = window->addLinkDialog();
    std::string prefilled;
    bool openAfterWrong = false;
    QTimer::singleShot(0, dialog, [&] {
        prefilled = dialog->urlField()->text().toStdString();
        dialog->urlField()->setText("ftp://x");
        dialog->findChild<QPushButton*>("okButton")->click();
        openAfterWrong = dialog->isVisible();
        dialog->findChild<QPushButton*>("cancelButton")->click();
    });
    header("Add URL")->click();

    EXPECT_EQ(prefilled, "https://videos.example/watch?v=7");
    EXPECT_TRUE(openAfterWrong);
    EXPECT_THAT(prompter.texts(), ElementsAre("Please enter the correct video URL."));
    EXPECT_EQ(window->downloadManager().count(), 0);
    EXPECT_EQ(window->session().clips().Mode, ListMode::Empty);
}
