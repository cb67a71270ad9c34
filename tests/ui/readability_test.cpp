// What a reader sees in every window and message box: text that stands out
// from the ground it is drawn on, and text that fits its control in every
// target's panel and in every row of the clip list.
#include "platform/desktop/qt_prompter.h"
#include "quilo_test/support.h"
#include "skin/skin_palette.h"
#include "ui/about_window.h"
#include "ui/add_link_dialog.h"
#include "ui/burner_settings_dialog.h"
#include "ui/clip_list_view.h"
#include "ui/crop_dialog_view.h"
#include "ui/frame_rate_dialog.h"
#include "ui/main_window_dialogs.h"
#include "ui/notice_window.h"
#include "ui/options_dialog.h"
#include "ui/output_panel_view.h"
#include "ui/progress_window.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr double LeastContrast = 4.5;

QString describe(const QWidget* widget, const QString& text) {
    return QString("%1 \"%2\" (%3) in %4")
        .arg(widget->metaObject()->className(), text, widget->objectName(), widget->window()->windowTitle());
}

// Takes a widget's text away and gives back what puts it back; nothing for a
// widget without text of its own.
std::optional<std::pair<QString, std::function<void()>>> takeText(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
        const QString text = label->text();
        label->setText(QString(" "));
        return std::make_pair(text, std::function<void()>([label, text] { label->setText(text); }));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty()) {
        const QString text = button->text();
        const QSignalBlocker blocker(button);
        button->setText(QString(" "));
        return std::make_pair(text, std::function<void()>([button, text] {
                                  const QSignalBlocker again(button);
                                  button->setText(text);
                              }));
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && !edit->text().isEmpty()) {
        const QString text = edit->text();
        const QSignalBlocker blocker(edit);
        edit->setText(QString());
        return std::make_pair(text, std::function<void()>([edit, text] {
                                  const QSignalBlocker again(edit);
                                  edit->setText(text);
                              }));
    }
    if (auto* box = qobject_cast<QComboBox*>(widget); box && !box->isEditable() && box->currentIndex() >= 0) {
        const int index = box->currentIndex();
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(-1);
        return std::make_pair(box->itemText(index), std::function<void()>([box, index] {
                                  const QSignalBlocker again(box);
                                  box->setCurrentIndex(index);
                              }));
    }
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        QStringList texts;
        for (QAction* action : menu->actions()) {
            texts << action->text();
            action->setText(action->isSeparator() ? QString() : QString(" "));
        }
        return std::make_pair(texts.join(", "), std::function<void()>([menu, texts] {
                                  for (int i = 0; i < texts.size(); ++i)
                                      menu->actions()[i]->setText(texts[i]);
                              }));
    }
    return std::nullopt;
}

QImage drawn(QWidget* widget) {
    QWidget* window = widget->window();
    const QRect place(widget->mapTo(window, QPoint(0, 0)), widget->size());
    return window->grab(place).toImage().convertToFormat(QImage::Format_RGB32);
}

// The contrast of a widget's text as drawn: the window is drawn with and
// without the text; the pixels that change are the text's, and its most inked
// pixel against the ground under it is the contrast a reader gets. Nothing
// when no text is drawn.
std::optional<double> drawnContrast(QWidget* widget, QString& text) {
    auto taken = takeText(widget);
    if (!taken)
        return std::nullopt;
    const QImage without = drawn(widget);
    taken->second();
    text = taken->first;
    const QImage with = drawn(widget);
    if (with.size() != without.size())
        return std::nullopt;
    std::optional<double> best;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) {
            const QRgb ink = with.pixel(x, y), ground = without.pixel(x, y);
            if (ink != ground)
                best = std::max(best.value_or(1.0), skin::ContrastRatio(QColor(ink), QColor(ground)));
        }
    return best;
}

// Every text of a window and its children that shows, with a contrast below the least.
std::vector<std::string> poorContrast(QWidget* window) {
    window->show();
    QApplication::processEvents();
    std::vector<std::string> poor;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    int measured = 0;
    for (QWidget* widget : widgets) {
        if (widget->window() != window || !widget->isVisibleTo(window) || widget->size().isEmpty())
            continue;
        QString text;
        const auto contrast = drawnContrast(widget, text);
        if (!contrast)
            continue;
        ++measured;
        if (*contrast < LeastContrast)
            poor.push_back(
                QString("%1: %2").arg(describe(widget, text)).arg(*contrast, 0, 'f', 2).toStdString());
    }
    EXPECT_GT(measured, 0) << window->metaObject()->className();
    return poor;
}

// What a widget's text needs to show in full, and what it has.
struct Fit {
    QString text;
    int needed;
    int room;
};

std::vector<Fit> fitsOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull())
            return {};
        return {{label->text(), label->sizeHint().width(), label->width()}};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (button->text().isEmpty())
            return {};
        return {{button->text(), button->sizeHint().width(), button->width()}};
    }
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        // Every item the user may choose shows in full once chosen.
        std::vector<Fit> fits;
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        option.frame = box->hasFrame();
        const QFontMetrics metrics = box->fontMetrics();
        for (int i = 0; i < box->count(); ++i) {
            const QSize text(metrics.horizontalAdvance(box->itemText(i)), metrics.height());
            const int needed =
                box->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, box).width();
            fits.push_back({box->itemText(i), needed, box->width()});
        }
        return fits;
    }
    return {};
}

std::vector<std::string> cutTexts(QWidget* window) {
    window->show();
    QApplication::processEvents();
    std::vector<std::string> cut;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisibleTo(window))
            continue;
        for (const Fit& fit : fitsOf(widget))
            if (fit.needed > fit.room)
                cut.push_back(QString("%1 needs %2 of %3")
                                  .arg(describe(widget, fit.text))
                                  .arg(fit.needed)
                                  .arg(fit.room)
                                  .toStdString());
    }
    return cut;
}

class Readability : public WindowTest {
protected:
    // Every window the program shows, in each of its faces.
    std::vector<QWidget*> dialogs() {
        MainWindowDialogs* d = window->dialogs();
        return {d->optionsDialog(),      d->aboutWindow(),        d->frameRateDialog(),
                d->noticeWindow(),       window->burnerDialog(),  window->cropDialog(),
                window->addLinkDialog(), window->progressWindow()};
    }

    template <typename Check> void forEveryFace(QWidget* dialog, Check check) {
        if (auto* options = qobject_cast<OptionsDialog*>(dialog)) {
            auto* pages = options->findChild<QStackedWidget*>();
            for (int page = 0; page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                check(dialog);
            }
        } else if (auto* progress = qobject_cast<ProgressWindow*>(dialog)) {
            check(dialog);
            // The whole job's longest figures: before it can tell, and with links still to come.
            progress->ShowJobTotals({0, EstimatingText});
            check(dialog);
            progress->ShowJobTotals({100, "99:59:59 + 99 links"});
            check(dialog);
            // The download panel covers the clip's labels while a link downloads.
            auto* downloads = dialog->findChild<QWidget*>("pl_DownloadMsg");
            ASSERT_NE(downloads, nullptr);
            downloads->show();
            for (QLabel* value : downloads->findChildren<QLabel*>())
                if (value->text().isEmpty())
                    value->setText("00:00:10");
            check(dialog);
            downloads->hide();
        } else {
            check(dialog);
        }
        dialog->hide();
    }
};

} // namespace

TEST(Skin, EveryTextColourStandsOutFromItsGround) {
    for (const auto& pair : skin::TextColourPairs())
        EXPECT_GE(skin::ContrastRatio(pair.ink, pair.ground), LeastContrast) << pair.use;
    // The measure itself: black on white is the most there is, a colour on itself the least.
    EXPECT_NEAR(skin::ContrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_LT(skin::ContrastRatio(QColor(0xe9, 0xee, 0xf5), QColor(0xef, 0xef, 0xef)), 1.1);
}

TEST_F(Readability, EveryMessageBoxIsReadable) {
    window->show();
    for (PromptKind kind :
         {PromptKind::Information, PromptKind::Confirmation, PromptKind::Warning, PromptKind::Error}) {
        // The boxes are the main window's children, as the program shows them.
        const auto box = MakeMessageBox(kind, "Do you want to clear the file list?",
                                        PromptButtons::YesNoCancel, window.get());
        const auto poor = poorContrast(box.get());
        EXPECT_TRUE(poor.empty()) << ::testing::PrintToString(poor);
        box->hide();
    }
    // The measure catches the boxes as they were: near-white text on light grey.
    const auto old = MakeMessageBox(PromptKind::Confirmation, "Do you want to clear the file list?",
                                    PromptButtons::YesNo, nullptr);
    old->setStyleSheet("QMessageBox { background: #efefef; } QLabel { color: #e9eef5; }");
    EXPECT_FALSE(poorContrast(old.get()).empty());
}

TEST_F(Readability, EveryWindowIsReadable) {
    window->addChosenFiles({shortClip()});
    for (TargetTypeId target : {Target::MP4, Target::DVD_Folder, Target::MP3, Target::PSP}) {
        window->session().panel().SelectTargetAsClicked(target);
        window->outputPanelView()->refresh();
        const auto poor = poorContrast(window.get());
        EXPECT_TRUE(poor.empty()) << targetIdentifier(target) << ": " << ::testing::PrintToString(poor);
    }
    for (QWidget* dialog : dialogs())
        forEveryFace(dialog, [](QWidget* shown) {
            const auto poor = poorContrast(shown);
            EXPECT_TRUE(poor.empty()) << ::testing::PrintToString(poor);
        });

    QFileDialog files(window.get());
    files.setOption(QFileDialog::DontUseNativeDialog);
    const auto poorFiles = poorContrast(&files);
    EXPECT_TRUE(poorFiles.empty()) << ::testing::PrintToString(poorFiles);
}

TEST_F(Readability, EveryTextFitsInEveryTargetsPanel) {
    window->addChosenFiles({shortClip()});
    for (TargetTypeId target = 0; target < TargetCount; ++target) {
        window->session().panel().SelectTargetAsClicked(target);
        window->outputPanelView()->refresh();
        const auto cut = cutTexts(window.get());
        EXPECT_TRUE(cut.empty()) << targetIdentifier(target) << ": " << ::testing::PrintToString(cut);
    }
    for (QWidget* dialog : dialogs())
        forEveryFace(dialog, [](QWidget* shown) {
            const auto cut = cutTexts(shown);
            EXPECT_TRUE(cut.empty()) << ::testing::PrintToString(cut);
        });
}

TEST_F(Readability, ClipRowsShowTheirColumnsApartAndCutOnlyNamesWithAnEllipsis) {
    const std::string clip =
        fixture("a clip whose name is much too long for the list.mpg",
                {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-f", "lavfi", "-i",
                 "sine=frequency=440", "-ac", "2", "-t", "2", "-c:v", "mpeg2video", "-c:a", "mp2"});
    window->addChosenFiles({clip});
    ClipListView* list = window->clipListView();
    const auto& rows = window->session().clips().Rows();
    ASSERT_EQ(rows.size(), 2u); // the clip and its audio stream
    const QFontMetrics metrics(list->font());
    QStringList shown;
    for (const TInfoListItem* row : rows) {
        const auto cells = list->cellsOf(*row);
        for (size_t i = 0; i < cells.size(); ++i) {
            const auto& cell = cells[i];
            shown << cell.shown;
            EXPECT_LE(metrics.horizontalAdvance(cell.shown), cell.box.width()) << cell.full.toStdString();
            EXPECT_LE(cell.box.right(), ClipListView::RowWidth);
            if (i + 1 < cells.size()) {
                EXPECT_LT(cell.box.right(), cells[i + 1].box.left())
                    << cell.full.toStdString() << " runs into " << cells[i + 1].full.toStdString();
            }
            if (cell.shown != cell.full) {
                EXPECT_TRUE(cell.shown.endsWith(QChar(0x2026))) << cell.shown.toStdString();
            }
        }
    }
    // The long name is cut with "…" and told in full by the row's tooltip.
    EXPECT_TRUE(shown.contains("Beginning") && shown.contains("Ending")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains("Codec:MPEG Audio 2CH")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const QString& text) {
        return text.startsWith("a clip") && text.endsWith(QChar(0x2026));
    })) << shown.join(" | ").toStdString();
    EXPECT_NE(rows[0]->Hint.find("a clip whose name is much too long for the list.mpg"), std::string::npos);
}
