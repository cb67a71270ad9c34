// The burner settings dialog's widgets over its model, on the real disc
// library of a machine without optical drives: the scan behind its panel, the
// image file chosen from the drive list with the keyboard, Next and Cancel.
#include "dvd/burning/disc_device.h"
#include "ui/burner_settings_dialog.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quilo;
using namespace quilo::test;

namespace {

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

class BurnerDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        application();
        ASSERT_TRUE(CDevice::LoadDiscLibrary(programDir()));
        owned = std::make_unique<BurnerSettingsDialog>(burner, work.file("Option.ini"), prompter);
        owned->imageFileChooser() = [this] { return image; };
    }
    void TearDown() override {
        owned.reset();
        CDevice::Devices().clear();
    }
    template <typename Widget> Widget* find(const char* name) {
        auto* widget = dialog().findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString label(const char* name) { return find<QLabel>(name)->text(); }

    TempDir work;
    std::string image = work.file("disc.iso");
    BurnerControl burner;
    WatchingPrompter prompter;
    std::unique_ptr<BurnerSettingsDialog> owned; // made once the application is there
    BurnerSettingsDialog& dialog() { return *owned; }
};

TEST_F(BurnerDialogTest, TheImageFileIsOfferedWithoutADriveAndNextTakesIt) {
    bool panelShownDuringScan = false;
    const auto refresh = dialog().model().changed;
    dialog().model().changed = [&] {
        refresh();
        panelShownDuringScan = find<QLabel>("Panel_Info")->isVisibleTo(&dialog());
    };
    QTimer::singleShot(0, &dialog(), [&] {
        if (!QTest::qWaitFor([&] { return dialog().model().initialised(); }, 60000)) {
            ADD_FAILURE() << "the first scan never ended";
            return dialog().done(QDialog::Rejected);
        }
        auto* drives = find<QComboBox>("suiComboBox_Drive");
        EXPECT_EQ(itemsOf(drives), QStringList{QString::fromUtf8(ImageFileEntry)});
        EXPECT_EQ(drives->currentIndex(), -1);
        EXPECT_TRUE(drives->isEnabled());
        EXPECT_TRUE(drives->hasFocus());
        EXPECT_EQ(itemsOf(find<QComboBox>("suiComboBox_WriteSpeed")), QStringList{"Unsupported"});
        EXPECT_FALSE(find<QComboBox>("suiComboBox_WriteSpeed")->isEnabled());
        EXPECT_EQ(label("lblAvailableSize"), "0.00");
        EXPECT_FALSE(find<QLabel>("Panel_Info")->isVisibleTo(&dialog()));

        // Nothing chosen yet: Next says there is no burner and the dialog stays.
        find<QPushButton>("suiImageButton_Next")->click();
        EXPECT_TRUE(dialog().isVisible());

        QTest::keyClick(drives, Qt::Key_End);
        EXPECT_EQ(drives->currentIndex(), 0);
        EXPECT_EQ(label("lblType"), "DVD-RAM");
        EXPECT_EQ(label("hint").toStdString(),
                  "* The disc image will be written to " + image + ", click Next");
        EXPECT_TRUE(find<QComboBox>("suiComboBox_WriteSpeed")->isEnabled());
        find<QPushButton>("suiImageButton_Next")->click();
    });
    EXPECT_TRUE(dialog().ShowModal());
    EXPECT_TRUE(panelShownDuringScan);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Cannot find your burner, cannot create DVD disc.\n"
                                       "Please seletct a writable DVD driver and try again!"});
    ASSERT_NE(burner.selectedDrive(), nullptr);
    EXPECT_EQ(burner.selectedDrive()->GetDeviceName(), "stdio:" + image);
    EXPECT_EQ(burner.burnParams().volumeLabel, "DVD_DISC");

    // The next showing reuses the scan; Cancel (here the Escape key) starts nothing.
    QTimer::singleShot(0, &dialog(), [&] {
        EXPECT_FALSE(dialog().model().timerOn());
        QTest::keyClick(&dialog(), Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog().ShowModal());
    EXPECT_TRUE(dialog().model().cancelled());
}

} // namespace
