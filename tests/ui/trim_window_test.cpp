// The main window on an X display (Xvfb) with the real engine: the trim bar
// dragged and typed into, the preview's frame after a release, snapshots, the
// crop dialog on a letterboxed clip, and the close button while a frame is
// sought. Clips show their own second: red = 8 x second, green = 255 - red.
#include "quilo_test/support.h"
#include "ui/clip_list_view.h"
#include "ui/crop_dialog_view.h"
#include "ui/main_window.h"
#include "ui/output_panel_view.h"
#include "ui/preview_panel.h"
#include "ui/trim_bar_view.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr int ClipSeconds = 30;

// A test pattern of 160 x 80 with 20 black rows above and below, stored
// losslessly so the bars stay exactly black, with a sound track as a clip has.
std::string letterboxedClip() {
    return fixture("window-letterboxed.mkv", {"-f",       "lavfi",
                                              "-i",       "testsrc=size=160x80:rate=10:duration=4",
                                              "-f",       "lavfi",
                                              "-i",       "sine=frequency=440:duration=4",
                                              "-vf",      "format=yuv444p,pad=160:120:0:20:black",
                                              "-c:v",     "libx264",
                                              "-qp",      "0",
                                              "-preset",  "ultrafast",
                                              "-pix_fmt", "yuv444p",
                                              "-c:a",     "aac"});
}

// The first frame of a file as RGB bytes, decoded by the ffmpeg program.
std::string firstFrameRgb(const std::string& path) {
    const ProcessResult run = runProcess(
        "ffmpeg", {"-v", "error", "-i", path, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    return run.exitCode == 0 ? run.out : std::string();
}

// Runs `act` once `ready` holds, from the event loop of whatever modal
// dialog is open meanwhile; gives up (and closes the dialog) after a minute.
void whenReady(std::function<bool()> ready, std::function<void()> act) {
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, [timer, started, ready, act] {
        if (!ready() && started->elapsed() < 60000)
            return;
        timer->stop();
        timer->deleteLater();
        if (started->elapsed() >= 60000) {
            ADD_FAILURE() << "the awaited state never came";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        act();
    });
    timer->start(50);
}

class TrimWindowTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        preview = window->previewPanel();
        trimBar = preview->trimBar();
    }

    TVideoInfo* addAndSelect(const std::string& path) {
        window->addChosenFiles({path});
        const int count = window->session().clips().Count();
        EXPECT_GE(count, 1);
        TVideoInfo* clip = window->session().clips().Clip(count - 1);
        QTest::mouseClick(window->clipListView(), Qt::LeftButton, {}, QPoint(200, clip->Row().Top + 5));
        EXPECT_EQ(window->session().clips().CurrentClip(), clip);
        return clip;
    }

    // Presses on a handle's middle, moves by `dx` and releases there.
    void drag(TrimItem item, int dx) {
        const QPoint from = trimBar->handleRect(item).center();
        QTest::mousePress(trimBar, Qt::LeftButton, {}, from);
        QTest::mouseMove(trimBar, from + QPoint(dx / 2, 0));
        QTest::mouseMove(trimBar, from + QPoint(dx, 0));
        QTest::mouseRelease(trimBar, Qt::LeftButton, {}, from + QPoint(dx, 0));
    }

    bool waitUntilShown() {
        return QTest::qWaitFor([&] { return !preview->seekingLabel()->isVisible(); }, 60000);
    }

    // The preview's middle pixel as shown on the screen.
    QColor previewColour() {
        QWidget* picture = preview->picture();
        const QImage shown = picture->grab().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    }

    void typeInto(QLineEdit* field, const QString& digits) {
        QTest::mouseClick(field, Qt::LeftButton);
        field->setCursorPosition(0);
        QTest::keyClicks(field, digits);
    }

    void saveScreenshot(QWidget* widget, const std::string& name) {
        const std::string folder = programDir() + "../screenshots/";
        std::filesystem::create_directories(folder);
        widget->grab().save(QString::fromStdString(folder + name));
    }

    std::string convertTo(ConverterTypeId category, TargetTypeId target) {
        window->categoryButton(category)->click();
        window->targetButton(target)->click();
        desktop.shown.clear();
        window->startButton()->click(); // returns when the job has ended
        return desktop.shown.empty() ? std::string() : desktop.shown.front();
    }

    PreviewPanel* preview = nullptr;
    TrimBarView* trimBar = nullptr;
};

} // namespace

TEST_F(TrimWindowTest, TheRightHandleDraggedToTheMiddleHalvesTheConvertedFile) {
    TVideoInfo* clip = addAndSelect(secondsClip());
    ASSERT_EQ(clip->Duration, ClipSeconds);
    EXPECT_EQ(preview->endField()->displayText(), "00:00:30");
    EXPECT_EQ(trimBar->handleRect(TrimItem::RightHandle).left(), 156);

    // From 156 to 83: second 30 * 73 / 146 = 15.
    drag(TrimItem::RightHandle, -73);
    EXPECT_EQ(trimBar->handleRect(TrimItem::RightHandle).left(), 83);
    EXPECT_EQ(preview->endField()->displayText(), "00:00:15");
    EXPECT_EQ(clip->EndTime, 15);
    EXPECT_EQ(clip->Row().LabelText(RowLabel::End), "00:00:15");
    EXPECT_TRUE(preview->seekingLabel()->isVisible());

    // The released handle's own second shows: red 8 x 15.
    ASSERT_TRUE(waitUntilShown());
    const QColor shown = previewColour();
    EXPECT_NEAR(shown.red(), 120, 8);
    EXPECT_NEAR(shown.green(), 135, 8);
    EXPECT_TRUE(preview->snapshotButton()->isEnabled());
    saveScreenshot(window.get(), "trim-right-handle-at-15.png");

    const std::string output = convertTo(Category::GeneralVideo, Target::MP4);
    ASSERT_TRUE(fileExists(output)) << output;
    EXPECT_NEAR(durationSeconds(ffprobe(output)), 15.0, 0.5);
}

TEST_F(TrimWindowTest, ATypedStartMovesTheLeftHandleAndAnImpossibleOneIsPutBack) {
    TVideoInfo* clip = addAndSelect(secondsClip());
    QLineEdit* start = preview->startField();
    typeInto(start, "000006");
    EXPECT_EQ(start->displayText(), "00:00:06");
    QTest::keyClick(start, Qt::Key_Tab); // leaving the field stores it
    EXPECT_EQ(clip->StartTime, 6);
    // 6 / 30 of the 146-pixel track.
    EXPECT_EQ(trimBar->handleRect(TrimItem::LeftHandle).left(), 29);
    EXPECT_EQ(clip->Row().LabelText(RowLabel::Start), "00:00:06");

    // 40 minutes lies past the end: the field turns red while typed.
    typeInto(start, "004000");
    EXPECT_EQ(start->displayText(), "00:40:00");
    const QImage red = start->grab().toImage();
    const QColor background = red.pixelColor(red.width() - 3, red.height() / 2);
    // A dark red, so that its white text can be read.
    EXPECT_GT(background.red(), 150);
    EXPECT_LT(background.green(), 60);
    saveScreenshot(window.get(), "trim-start-field-red.png");
    QTest::keyClick(start, Qt::Key_Tab);
    EXPECT_EQ(start->displayText(), "00:00:06");
    EXPECT_EQ(clip->StartTime, 6);
    EXPECT_EQ(trimBar->handleRect(TrimItem::LeftHandle).left(), 29);
    const QImage normal = start->grab().toImage();
    EXPECT_LT(normal.pixelColor(normal.width() - 3, normal.height() / 2).red(), 100);
}

TEST_F(TrimWindowTest, TheSnapshotButtonSavesTheShownFrameAsJpgAndBmp) {
    addAndSelect(secondsClip());
    EXPECT_FALSE(preview->snapshotButton()->isEnabled()); // no frame from the engine yet
    drag(TrimItem::LeftHandle, 73);                       // second 15
    ASSERT_TRUE(waitUntilShown());
    ASSERT_TRUE(preview->snapshotButton()->isEnabled());

    TempDir pictures;
    const auto save = [&](const QString& filter, const std::string& name) {
        whenReady([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr; },
                  [&] {
                      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                      EXPECT_EQ(dialog->objectName(), "snapshotDialog");
                      EXPECT_EQ(dialog->nameFilters(), QStringList({"JPG (*.jpg)", "BMP (*.bmp)"}));
                      dialog->selectNameFilter(filter);
                      dialog->setDirectory(QString::fromStdString(pictures.path()));
                      // The user's name in place of the proposed one.
                      auto* nameField = dialog->findChild<QLineEdit*>("fileNameEdit");
                      if (!nameField) {
                          ADD_FAILURE() << "no file name field";
                          dialog->close();
                          return;
                      }
                      EXPECT_EQ(nameField->text(), "Picture");
                      nameField->setText(QString::fromStdString(name));
                      QMetaObject::invokeMethod(dialog, "accept"); // its Save button
                  });
        QTest::mouseClick(preview->snapshotButton(), Qt::LeftButton);
    };
    save("JPG (*.jpg)", "Picture");
    save("BMP (*.bmp)", "frame");

    for (const std::string name : {"Picture.jpg", "frame.bmp"}) {
        SCOPED_TRACE(name);
        const std::string path = pictures.file(name);
        std::string present;
        for (const auto& entry : std::filesystem::directory_iterator(pictures.path()))
            present += entry.path().filename().string() + " ";
        ASSERT_TRUE(fileExists(path)) << present;
        const QJsonObject picture = firstStream(ffprobe(path), "video");
        EXPECT_EQ(picture["codec_name"].toString(), name.ends_with(".jpg") ? "mjpeg" : "bmp");
        EXPECT_EQ(picture["width"].toInt(), 160);
        EXPECT_EQ(picture["height"].toInt(), 120);
        const std::string rgb = firstFrameRgb(path);
        ASSERT_EQ(rgb.size(), 160u * 120u * 3u);
        const std::size_t middle = (60 * 160 + 80) * 3;
        EXPECT_NEAR(static_cast<unsigned char>(rgb[middle]), 120, 8); // second 15
    }
}

TEST_F(TrimWindowTest, TheCropDialogFindsTheBlackBarsAndOkCropsTheConvertedFile) {
    TVideoInfo* clip = addAndSelect(letterboxedClip());
    ASSERT_EQ(clip->Width, 160);
    ASSERT_EQ(clip->Height, 120);
    CropDialogView* dialog = window->cropDialog();
    auto* cropButton = window->outputPanelView()->findChild<QToolButton*>("suiImageButton_Crop");
    ASSERT_NE(cropButton, nullptr);
    const auto fields = [&] {
        return std::vector<int>{dialog->field(CropField::X)->value(), dialog->field(CropField::Y)->value(),
                                dialog->field(CropField::W)->value(), dialog->field(CropField::H)->value()};
    };
    const auto framed = [&] { return dialog->isVisible() && dialog->model().PictureVisible(); };
    const std::vector<int> withoutBars{0, 20, 160, 80}, whole{0, 0, 160, 120};

    // Cancel after Restore: the clip keeps its whole frame.
    std::vector<int> found, restored;
    whenReady(framed, [&] {
        found = fields();
        saveScreenshot(dialog, "crop-dialog-bars-found.png");
        dialog->restoreButton()->click();
        restored = fields();
        saveScreenshot(dialog, "crop-dialog-restored.png");
        dialog->cancelButton()->click();
    });
    QTest::mouseClick(cropButton, Qt::LeftButton);
    EXPECT_EQ(found, withoutBars);
    EXPECT_EQ(restored, whole);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ((std::vector<int>{clip->CropX, clip->CropY, clip->CropW, clip->CropH}), whole);

    // OK keeps what was found.
    whenReady(framed, [&] {
        found = fields();
        dialog->okButton()->click();
    });
    QTest::mouseClick(cropButton, Qt::LeftButton);
    EXPECT_EQ(found, withoutBars);
    EXPECT_EQ((std::vector<int>{clip->CropX, clip->CropY, clip->CropW, clip->CropH}), withoutBars);
    EXPECT_TRUE(prompter.texts().empty());

    const std::string output = convertTo(Category::GeneralVideo, Target::MP4);
    ASSERT_TRUE(fileExists(output)) << output << " " << ::testing::PrintToString(prompter.texts());
    const QJsonObject video = firstStream(ffprobe(output), "video");
    EXPECT_EQ(video["width"].toInt(), 160);
    EXPECT_EQ(video["height"].toInt(), 80);
    // No bar is left: the top and bottom rows are picture, not black.
    const std::string rgb = firstFrameRgb(output);
    ASSERT_EQ(rgb.size(), 160u * 80u * 3u);
    for (int row : {0, 79}) {
        long sum = 0;
        for (int x = 0; x < 160 * 3; ++x)
            sum += static_cast<unsigned char>(rgb[static_cast<std::size_t>(row) * 160 * 3 + x]);
        EXPECT_GT(sum / (160 * 3), 30) << "row " << row;
    }
}

TEST_F(TrimWindowTest, TheCropButtonWantsAClipAndIsHiddenForMusic) {
    auto* cropButton = window->outputPanelView()->findChild<QToolButton*>("suiImageButton_Crop");
    ASSERT_NE(cropButton, nullptr);
    QTest::mouseClick(cropButton, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Please select one clip to add effect."});
    EXPECT_FALSE(window->cropDialog()->isVisible());
    window->categoryButton(Category::Music)->click();
    EXPECT_FALSE(cropButton->isVisible());
    window->categoryButton(Category::GeneralVideo)->click();
    EXPECT_TRUE(cropButton->isVisible());
}

TEST_F(TrimWindowTest, ClosingWhileAFrameIsSoughtIsRefused) {
    addAndSelect(secondsClip());
    drag(TrimItem::RightHandle, -73);
    ASSERT_TRUE(preview->seekingLabel()->isVisible());
    saveScreenshot(window.get(), "trim-seeking.png");
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Seeking disc, please waiting."});

    ASSERT_TRUE(waitUntilShown());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompter.texts().size(), 1u);
}
