#include "ui/burner_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quilo {
namespace {

// The first scan starts once the dialog is on the screen.
constexpr int FirstScanDelayMs = 500;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

// The colours of the program's other windows, set here so that the main
// window's light texts never land on a light background.
void showCombo(QComboBox* box, const BurnerComboBox& model) {
    const QSignalBlocker blocker(box);
    box->clear();
    for (const auto& item : model.items)
        box->addItem(text(item));
    box->setCurrentIndex(model.selected);
    box->setEnabled(model.enabled);
}

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(120);
    return label;
}

} // namespace

BurnerSettingsDialog::BurnerSettingsDialog(BurnerControl& burner, const std::string& optionFile,
                                           Prompter& prompter, QWidget* parent)
    : QDialog(parent), options_(optionFile), port_(this), model_(burner, options_, prompter, port_.port()) {
    setWindowTitle("Burner Settings");
    setModal(true);
    model_.chooseImageFile = [this] { return askImageFile(); };
    model_.changed = [this] { refresh(); };
    connect(&driveWatch_, &OpticalDriveWatch::drivesChanged, this, [this] {
        model_.DevicesChanged();
        refresh();
    });
    buildControls();
    // Wide enough for the transport notes to wrap onto whole lines.
    setMinimumWidth(540);
    refresh();
}

BurnerSettingsDialog::~BurnerSettingsDialog() {
    model_.FormDestroy();
}

void BurnerSettingsDialog::buildControls() {
    auto* outer = new QVBoxLayout(this);
    content_ = new QWidget(this);
    outer->addWidget(content_);
    auto* layout = new QVBoxLayout(content_);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* choices = new QFormLayout;
    drives_ = new QComboBox(content_);
    drives_->setObjectName("suiComboBox_Drive");
    drives_->setMinimumWidth(320);
    speeds_ = new QComboBox(content_);
    speeds_->setObjectName("suiComboBox_WriteSpeed");
    choices->addRow("DVD Burner :", drives_);
    choices->addRow("Write Speed :", speeds_);
    layout->addLayout(choices);
    connect(drives_, &QComboBox::activated, this, [this](int index) {
        model_.DriveSelected(index);
        refresh();
    });
    connect(speeds_, &QComboBox::activated, this, [this](int index) { model_.SpeedSelected(index); });

    auto* disc = new QGroupBox(" Disc Info ", content_);
    auto* discForm = new QFormLayout(disc);
    type_ = valueLabel("lblType", disc);
    available_ = valueLabel("lblAvailableSize", disc);
    used_ = valueLabel("lblUsedSize", disc);
    sessions_ = valueLabel("lblSessions", disc);
    tracks_ = valueLabel("lblTracks", disc);
    discForm->addRow("Disc Type :", type_);
    discForm->addRow("Available Size (MB) :", available_);
    discForm->addRow("Used Size (MB) :", used_);
    discForm->addRow("Sessions :", sessions_);
    discForm->addRow("Tracks :", tracks_);
    layout->addWidget(disc);

    auto* transport = new QGroupBox(" Burner Transport Setting ", content_);
    auto* transportLayout = new QVBoxLayout(transport);
    spti_ = new QCheckBox("SPTI - SCSI Pass Through Interface", transport);
    spti_->setObjectName("suiCheckBox_SPTI");
    aspi_ = new QCheckBox("ASPI - Advanced SCSI Programming Interface", transport);
    aspi_->setObjectName("suiCheckBox_ASPI");
    const auto note = [transport](const char* words) {
        auto* label = new QLabel(words, transport);
        label->setWordWrap(true);
        label->setIndent(22);
        return label;
    };
    transportLayout->addWidget(spti_);
    transportLayout->addWidget(
        note("This transport is preferrable for Windows NT-based system "
             "(NT4/2000/XP/2003). It can't be used for Windows 9x system (95/98/Me)."));
    transportLayout->addWidget(aspi_);
    transportLayout->addWidget(note("This transport is primarily intended for Windows 9x system, but can be "
                                    "used in Windows NT- based system."));
    layout->addWidget(transport);
    connect(spti_, &QCheckBox::clicked, this, [this] {
        model_.TransportClicked(true);
        refresh();
    });
    connect(aspi_, &QCheckBox::clicked, this, [this] {
        model_.TransportClicked(false);
        refresh();
    });

    hint_ = new QLabel(content_);
    hint_->setObjectName("hint");
    hint_->setWordWrap(true);
    layout->addWidget(hint_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    next_ = new QPushButton("Next", content_);
    next_->setObjectName("suiImageButton_Next");
    next_->setDefault(true);
    cancel_ = new QPushButton("Cancel", content_);
    cancel_->setObjectName("suiImageButton_Cancel");
    buttons->addWidget(next_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(next_, &QPushButton::clicked, this, &BurnerSettingsDialog::nextClicked);
    connect(cancel_, &QPushButton::clicked, this, &BurnerSettingsDialog::reject);

    // Over the whole dialog while the drives are scanned: nothing can be clicked meanwhile.
    infoPanel_ = new QLabel("Initializing Burner, Please Wait...", this);
    infoPanel_->setObjectName("Panel_Info");
    static_cast<QLabel*>(infoPanel_)->setAlignment(Qt::AlignCenter);
    infoPanel_->setAutoFillBackground(true);
    infoPanel_->hide();
}

void BurnerSettingsDialog::refresh() {
    showCombo(drives_, model_.drives());
    showCombo(speeds_, model_.writeSpeeds());
    const BurnerDiscInfo& info = model_.discInfo();
    type_->setText(text(info.type));
    available_->setText(text(info.availableSize));
    used_->setText(text(info.usedSize));
    sessions_->setText(text(info.sessions));
    tracks_->setText(text(info.tracks));
    {
        const QSignalBlocker sptiBlocker(spti_), aspiBlocker(aspi_);
        spti_->setChecked(model_.sptiChecked());
        aspi_->setChecked(model_.aspiChecked());
    }
    spti_->setEnabled(model_.transportEnabled());
    aspi_->setEnabled(model_.transportEnabled());
    hint_->setText(text(model_.hint()));
    content_->setEnabled(model_.dialogEnabled() && !model_.infoPanelVisible());
    infoPanel_->setGeometry(rect());
    infoPanel_->setVisible(model_.infoPanelVisible());
    infoPanel_->raise();
}

bool BurnerSettingsDialog::ShowModal() {
    exec();
    return !model_.cancelled();
}

void BurnerSettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    model_.FormShow();
    driveWatch_.start();
    if (model_.timerOn())
        QTimer::singleShot(FirstScanDelayMs, this, &BurnerSettingsDialog::firstScan);
    refresh();
}

void BurnerSettingsDialog::hideEvent(QHideEvent* event) {
    driveWatch_.stop();
    QDialog::hideEvent(event);
}

void BurnerSettingsDialog::firstScan() {
    model_.TimerTimer();
    refresh();
    // The controls were off during the scan; the drive list is the first choice to make.
    drives_->setFocus();
}

void BurnerSettingsDialog::nextClicked() {
    model_.NextClicked();
    refresh();
    if (model_.closed())
        accept();
}

void BurnerSettingsDialog::reject() {
    // A scan or an erase is under way: it ends first.
    if (!model_.dialogEnabled() || model_.infoPanelVisible() || model_.timerOn())
        return;
    model_.CancelClicked();
    QDialog::reject();
}

bool BurnerSettingsDialog::event(QEvent* event) {
    if (event->type() == static_cast<QEvent::Type>(WM_BURNER_NOTIFY)) {
        const auto* notice = static_cast<PortEvent*>(event);
        model_.BurnerNotify(notice->wParam(), notice->lParam());
        if (notice->wParam() == BurnerScanDone)
            refresh();
        return true;
    }
    return QDialog::event(event);
}

std::string BurnerSettingsDialog::askImageFile() {
    QFileDialog chooser(this, text(ImageFileEntry), QDir::homePath() + "/DVD_DISC.iso", "Disc image (*.iso)");
    chooser.setObjectName("imageFileChooser");
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix("iso");
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return {};
    return chooser.selectedFiles().constFirst().toStdString();
}

} // namespace quilo
