// The main window through Qt's accessibility interfaces, as the AT-SPI bridge
// reads it: every control that shows has a name, and the custom-drawn clip
// list has one item per row, read and driven like the rows themselves.
#include "quilo_test/support.h"
#include "ui/about_window.h"
#include "ui/add_link_dialog.h"
#include "ui/burner_settings_dialog.h"
#include "ui/clip_list_view.h"
#include "ui/crop_dialog_view.h"
#include "ui/frame_rate_dialog.h"
#include "ui/main_window.h"
#include "ui/main_window_dialogs.h"
#include "ui/notice_window.h"
#include "ui/progress_window.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

class AccessibilityTest : public WindowTest {};

bool isControl(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::ListItem:
        return true;
    default:
        return false;
    }
}

// On Linux a list box's name is its value; what it is comes from the label it is the buddy of.
QString spokenName(QAccessibleInterface* node) {
    if (node->role() != QAccessible::ComboBox)
        return node->text(QAccessible::Name);
    const auto labels = node->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.front().first->text(QAccessible::Name);
}

void collectNameless(QAccessibleInterface* node, QStringList& nameless) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        if (isControl(child->role()) && spokenName(child).trimmed().isEmpty()) {
            QObject* object = child->object();
            nameless
                << QString("role %1 %2").arg(child->role()).arg(object ? object->objectName() : "(item)");
        }
        collectNameless(child, nameless);
    }
}

} // namespace

TEST_F(AccessibilityTest, EveryShownControlOfTheMainWindowHasAName) {
    window->addChosenFiles({shortClip()});
    window->show();
    QStringList nameless;
    collectNameless(QAccessible::queryAccessibleInterface(window.get()), nameless);
    EXPECT_TRUE(nameless.isEmpty()) << nameless.join(", ").toStdString();
}

TEST_F(AccessibilityTest, EveryShownControlOfTheDialogsHasAName) {
    MainWindowDialogs& dialogs = *window->dialogs();
    auto checkShown = [](const char* what, QWidget* dialog) {
        QStringList nameless;
        collectNameless(QAccessible::queryAccessibleInterface(dialog), nameless);
        EXPECT_TRUE(nameless.isEmpty()) << what << ": " << nameless.join(", ").toStdString();
    };
    const std::pair<const char*, QWidget*> windows[] = {{"about", dialogs.aboutWindow()},
                                                        {"frame rate", dialogs.frameRateDialog()},
                                                        {"notice", dialogs.noticeWindow()},
                                                        {"progress", window->progressWindow()},
                                                        {"burner settings", window->burnerDialog()},
                                                        {"add link", window->addLinkDialog()},
                                                        {"crop", window->cropDialog()}};
    for (const auto& [what, dialog] : windows) {
        ASSERT_NE(dialog, nullptr) << what;
        dialog->show();
        checkShown(what, dialog);
        dialog->hide();
    }

    // The options dialog shows one page at a time.
    OptionsDialog* options = dialogs.optionsDialog();
    options->show();
    const auto pageButtons = options->findChildren<QPushButton*>("pageButton");
    ASSERT_EQ(pageButtons.size(), 3);
    for (QPushButton* page : pageButtons) {
        page->click();
        checkShown(qPrintable(page->text()), options);
    }
    options->hide();
}

TEST_F(AccessibilityTest, TheClipListHasOneNamedItemPerRowThatAPressSelects) {
    const std::string clip = shortClip();
    window->addChosenFiles({clip, clip});
    window->show();
    const auto& rows = window->session().clips().Rows();
    ASSERT_EQ(rows.size(), 4u); // two clips, one audio row each

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window->clipListView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), "Clip list");
    ASSERT_EQ(list->childCount(), 4);

    QAccessibleInterface* firstClip = list->child(0);
    QAccessibleInterface* firstAudio = list->child(1);
    QAccessibleInterface* secondClip = list->child(2);
    ASSERT_TRUE(firstClip && firstAudio && secondClip);
    EXPECT_EQ(list->indexOfChild(secondClip), 2);
    EXPECT_EQ(firstClip->role(), QAccessible::ListItem);
    // The row reads as it shows: the clip's name and picture size, the audio codec.
    const QString clipName = firstClip->text(QAccessible::Name);
    EXPECT_TRUE(clipName.startsWith("ui-two-seconds.mp4")) << clipName.toStdString();
    EXPECT_TRUE(clipName.contains("160x120")) << clipName.toStdString();
    EXPECT_TRUE(firstAudio->text(QAccessible::Name).contains("Codec:AAC"))
        << firstAudio->text(QAccessible::Name).toStdString();
    EXPECT_TRUE(firstAudio->state().checked);
    // Items stand at the rows' places on the screen, and a point finds its item.
    const QRect place = secondClip->rect();
    EXPECT_EQ(place.topLeft(), window->clipListView()->mapToGlobal(QPoint(0, 2 * RowHeight)));
    EXPECT_EQ(list->childAt(place.center().x(), place.center().y()), secondClip);

    auto* press = secondClip->actionInterface();
    ASSERT_NE(press, nullptr);
    ASSERT_TRUE(press->actionNames().contains(QAccessibleActionInterface::pressAction()));
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window->session().clips().SelectedClips(), std::vector<TVideoInfo*>{rows[2]->Clip});
    EXPECT_TRUE(secondClip->state().selected);
    EXPECT_FALSE(firstClip->state().selected);

    // A removed row's item no longer stands for anything.
    window->session().clips().RemoveSelectedClips();
    EXPECT_EQ(list->childCount(), 2);
    EXPECT_FALSE(secondClip->isValid());
    EXPECT_EQ(secondClip->text(QAccessible::Name), QString());
}
