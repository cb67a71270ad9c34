// The options dialog over its model: the renaming template page, the language
// and output folder page and the saved-profile page, with OK, Cancel and close.
#pragma once

#include "profiles/options_model.h"

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace quilo {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for a folder (caption, start folder); empty when the user cancels.
    using FolderChooser = std::function<std::string(const std::string& caption, const std::string& start)>;

    OptionsDialog(OptionsModel& model, FolderChooser chooseFolder, QWidget* parent = nullptr);

    // ShowOptions: opens the model, shows the dialog modally; true when
    // something changed.
    bool ShowOptions();

protected:
    // Dragging the background moves the frameless dialog.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Cancel, the close button and the Escape key.
    void reject() override;

private:
    void buildTemplatePage(QWidget* page);
    void buildLanguagePage(QWidget* page);
    void buildProfilePage(QWidget* page);
    QComboBox* addProfileSelector(QWidget* page, const char* caption, const char* objectName, int row);
    void showPage();
    void showTemplatePage();
    void showProfilePage();
    void takeTemplatePage();

    OptionsModel& model_;
    FolderChooser chooseFolder_;
    std::vector<QPushButton*> pageButtons_;
    QStackedWidget* pages_ = nullptr;

    QLineEdit *template_ = nullptr, *serialStart_ = nullptr, *fixedDigits_ = nullptr;
    QCheckBox *add1_ = nullptr, *add2_ = nullptr;
    QComboBox* audioLanguage_ = nullptr;
    QLineEdit* outputFolder_ = nullptr;
    QComboBox *type_ = nullptr, *profile_ = nullptr, *videoFormat_ = nullptr, *videoCodec_ = nullptr,
              *resolution_ = nullptr, *frameRate_ = nullptr, *audioBitRate_ = nullptr, *sampleRate_ = nullptr,
              *audioCodec_ = nullptr, *volume_ = nullptr;
    QSpinBox* videoBitRate_ = nullptr;
    QLineEdit* profileName_ = nullptr;
    QPoint dragOffset_;
};

} // namespace quilo
