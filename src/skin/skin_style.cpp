#include "skin/skin_palette.h"

#include <QApplication>
#include <utility>

namespace quilo::skin {
namespace {

// The rules of every window. Colours are named with "@" and filled in from the
// palette's constants; windows are told apart by their class.
constexpr const char* Rules = R"(
QToolTip { color: @ink; background: @field; border: 1px solid @border; }
QDialog { background: @window; }
QLabel:disabled, QCheckBox:disabled, QRadioButton:disabled { color: @disabled; }
QLineEdit { background: @field; color: @ink; border: 1px solid @border; padding: 1px 4px;
  selection-background-color: @accentGround; selection-color: @bright; }
QLineEdit:disabled { color: @disabled; }
QLineEdit[fieldColour="1"] { background: @lime; color: @selectorInk; }
QLineEdit[fieldColour="2"] { background: @red; color: @bright; }
QComboBox[selectorColour], QSpinBox[selectorColour] { color: @selectorInk; border: 1px solid @border;
  padding: 1px 4px; selection-background-color: @accentGround; selection-color: @bright; }
QComboBox[selectorColour="grey"], QSpinBox[selectorColour="grey"] { background-color: @selectorGrey; }
QComboBox[selectorColour="white"], QSpinBox[selectorColour="white"] { background-color: @selectorWhite; }
QComboBox[selectorColour="green"], QSpinBox[selectorColour="green"] { background-color: @selectorGreen; }
QComboBox[selectorColour]:disabled, QSpinBox[selectorColour]:disabled { color: @selectorDisabled; }
QComboBox QAbstractItemView { color: @ink; background: @field; selection-background-color: @accentGround;
  selection-color: @bright; }

/* The main window */
quilo--MainWindow QLabel { font-size: 11px; }
quilo--MainWindow > QLabel#caption { font-size: 13px; font-weight: bold; }
quilo--MainWindow QCheckBox { font-size: 11px; }
quilo--MainWindow QLineEdit, quilo--MainWindow QComboBox, quilo--MainWindow QSpinBox { font-size: 11px; }
QToolButton[role="target"], QToolButton#windowButton, QToolButton#headerButton, QToolButton[headerKind]
  { color: @ink; background: transparent; border: 1px solid transparent; border-radius: 6px;
  padding: 4px 10px; font-size: 12px; }
QToolButton[role="target"]:hover, QToolButton#headerButton:hover, QToolButton[headerKind]:hover
  { border-color: @accent; }
QToolButton[role="target"]:disabled { color: @bright; background: @accentGround; }
QToolButton#windowButton { font-size: 14px; padding: 0px; }
QToolButton#headerButton, QToolButton[headerKind="text"] { background: @window; border-color: @border;
  padding: 4px 3px; font-size: 11px; }
QToolButton[headerKind="icon"] { font-size: 14px; padding: 0px; }
QPushButton#startButton { color: @bright; background: @accentGround; border: none; border-radius: 6px;
  font-size: 13px; font-weight: bold; }
QPushButton#startButton:hover { background: @accentGroundHover; }
QLabel#dvdLabel { color: @muted; }
quilo--OutputPanelView QToolButton { background: @window; border: 1px solid @border; border-radius: 4px;
  padding: 1px 8px; font-size: 11px; }
quilo--PreviewPanel QToolButton { color: @ink; background: @window; border: 1px solid @border;
  border-radius: 4px; padding: 1px; }
quilo--PreviewPanel QToolButton:disabled { color: @disabled; }
QLabel#Label_Info { background: @field; color: @ink; padding: 3px; }

/* The small dialogs: about, frame rate, notice */
quilo--AboutWindow QLabel, quilo--FrameRateDialog QLabel, quilo--NoticeWindow QLabel,
quilo--FrameRateDialog QCheckBox, quilo--NoticeWindow QCheckBox, quilo--FrameRateDialog QRadioButton
  { font-size: 11px; }
QLabel#title { font-size: 16px; font-weight: bold; }
QLabel#link, QPushButton#link { color: @link; text-decoration: underline; background: transparent;
  border: none; font-size: 11px; }
QPushButton#closeButton { color: @ink; background: transparent; border: none; font-size: 14px; }

/* The options dialog */
QDialog#optionsDialog { border: 1px solid @border; }
QDialog#optionsDialog QLabel, QDialog#optionsDialog QCheckBox { font-size: 11px; }
QDialog#optionsDialog QLabel#caption { font-size: 15px; font-weight: bold; }
QPushButton#tagLabel { color: @ink; background: transparent; border: none; text-align: left;
  font-family: Tahoma; font-size: 11px; padding: 0px; }
QPushButton#tagLabel:hover { color: @link; text-decoration: underline; }
QPushButton#pageButton { color: @ink; background: @button; border: 1px solid @border; border-radius: 5px;
  padding: 4px 12px; }
QPushButton#pageButton:disabled { background: @accentGround; color: @bright; }
QPushButton#suiImageButton_Close { color: @ink; background: transparent; border: none; font-size: 14px; }

/* The progress window */
quilo--ProgressWindow QLabel { font-size: 12px; }
quilo--ProgressWindow QLabel#caption { color: @muted; }
quilo--ProgressWindow QLabel#title { font-size: 15px; font-weight: bold; }
quilo--ProgressWindow QCheckBox { font-size: 12px; }
quilo--ProgressWindow QPushButton { color: @bright; background: @accentGround; border: none; border-radius: 6px;
  padding: 4px; font-weight: bold; }
quilo--ProgressWindow QPushButton:disabled { background: @button; color: @disabled; }
quilo--ProgressWindow QToolButton { color: @ink; background: transparent; border: none; font-size: 14px;
  padding: 0px; }
QToolButton#uploadNow { color: @link; text-decoration: underline; font-size: 12px; padding: 0px; }
QToolButton#uploadNow:disabled { color: @disabled; }
QWidget#pl_DownloadMsg { background: @window; border-radius: 6px; }

/* The add-link dialog */
quilo--AddLinkDialog QLabel { font-size: 12px; }
quilo--AddLinkDialog QLabel#title { font-size: 15px; font-weight: bold; }
quilo--AddLinkDialog QLabel#example, quilo--AddLinkDialog QLabel#support { color: @muted; }
quilo--AddLinkDialog QLineEdit { padding: 3px 5px; font-size: 12px; }

/* Buttons that carry white text on the accent */
quilo--AddLinkDialog QPushButton, quilo--BurnerSettingsDialog QPushButton {
  color: @bright; background: @accentGround; border: none; border-radius: 5px; padding: 5px 18px;
  font-weight: bold; }
quilo--AddLinkDialog QPushButton:hover, quilo--BurnerSettingsDialog QPushButton:hover
  { background: @accentGroundHover; }
quilo--BurnerSettingsDialog QPushButton:disabled { background: @button; color: @disabled; }

/* The burner settings dialog */
quilo--BurnerSettingsDialog QLabel, quilo--BurnerSettingsDialog QCheckBox { font-size: 12px; }
quilo--BurnerSettingsDialog QGroupBox { color: @muted; border: 1px solid @border; border-radius: 6px;
  margin-top: 12px; padding-top: 6px; }
quilo--BurnerSettingsDialog QGroupBox::title { subcontrol-origin: margin; left: 10px; }
QLabel#Panel_Info { background: @window; font-size: 15px; font-weight: bold; }
QLabel#hint { color: @muted; }

/* Check boxes and radio buttons whose boxes show on the dark grounds */
QCheckBox::indicator, QRadioButton::indicator { width: 11px; height: 11px; border: 1px solid @muted;
  background: @field; }
QRadioButton::indicator { border-radius: 6px; }
QCheckBox::indicator:checked, QRadioButton::indicator:checked { background: @accent; border-color: @ink; }
QCheckBox::indicator:disabled, QRadioButton::indicator:disabled { border-color: @border; }

/* Where the keyboard is: one mark for every control */
QPushButton:focus, QToolButton:focus { border: 2px solid @focus; }
QLineEdit:focus, QComboBox:focus, QSpinBox:focus { border: 2px solid @focus; }
QCheckBox:focus, QRadioButton:focus, QSlider:focus { border: 1px solid @focus; border-radius: 3px; }
)";

QString name(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

} // namespace

QString StyleSheet() {
    const std::pair<const char*, QColor> colours[] = {
        {"@accentGroundHover", AccentGroundHover},
        {"@accentGround", AccentGround},
        {"@accent", Accent},
        {"@field", FieldGround},
        {"@window", WindowGround},
        {"@button", ButtonGround},
        {"@ink", Ink},
        {"@muted", MutedInk},
        {"@disabled", DisabledInk},
        {"@link", LinkInk},
        {"@bright", BrightInk},
        {"@border", Border},
        {"@focus", FocusMark},
        {"@selectorGrey", SelectorGrey},
        {"@selectorWhite", SelectorWhite},
        {"@selectorGreen", SelectorGreen},
        {"@selectorInk", SelectorInk},
        {"@selectorDisabled", SelectorDisabledInk},
        {"@lime", FieldLime},
        {"@red", FieldRed},
    };
    QString sheet = QString::fromUtf8(Rules);
    // Longer names first, so that no name is taken for the start of another.
    for (const auto& [placeholder, colour] : colours)
        sheet.replace(QString::fromUtf8(placeholder), name(colour));
    return sheet;
}

void Apply(QApplication& application) {
    application.setPalette(Palette());
    application.setStyleSheet(StyleSheet());
}

} // namespace quilo::skin
