#include "ui/output_panel_view.h"

#include "ui/control_binding.h"
#include "ui/list_box_labels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace quilo {
namespace {

constexpr int RowHeightPixels = 20;
constexpr int VideoCaptionWidth = 150;
constexpr int AudioCaptionWidth = 118;

std::string textOf(const QString& text) {
    return text.toStdString();
}

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName("panelCaption");
    return label;
}

} // namespace

OutputPanelView::OutputPanelView(OutputPanelModel& panel, DesktopServices& desktop, QWidget* parent)
    : QWidget(parent), panel_(panel), desktop_(desktop) {
    setObjectName("outputPanel");
    // The saved profiles have long names: their row spans the panel; the
    // video and audio settings share the rest in two columns.
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(10, 6, 10, 6);
    whole->setSpacing(2);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(16);
    auto* video = new QVBoxLayout;
    auto* audio = new QVBoxLayout;
    video->setSpacing(2);
    audio->setSpacing(2);
    columns->addLayout(video, 530);
    columns->addLayout(audio, 266);
    Row profile = addRow(whole, "Profile Setting :", VideoCaptionWidth);
    profileCaption_ = profile.caption;
    savedProfile_ = addSelector(profile.widget, &OutputPanelModel::ChangeSavedProfile);
    whole->addLayout(columns, 1);
    buildVideoColumn(video);
    buildAudioColumn(audio);
    video->addStretch(1);
    audio->addStretch(1);
    // Names after the model's controls, for finding a widget by what it shows.
    const std::pair<QWidget*, const char*> names[] = {
        {savedProfile_, "savedProfile"}, {imageMode_, "imageMode"},
        {resolution_, "resolution"},     {width_, "videoWidth"},
        {height_, "videoHeight"},        {frameRate_, "videoFrameRate"},
        {videoBitRate_, "videoBitRate"}, {videoCodec_, "videoCodec"},
        {outputFormat_, "outputFormat"}, {audioCodec_, "audioCodec"},
        {audioBitRate_, "audioBitRate"}, {sampleRate_, "audioSampleRate"},
        {channel_, "audioChannel"},      {volume_, "volume"},
        {volumeLabel_, "volumeLabel"},   {cpuCores_, "cpuCores"},
        {highQuality_, "highQuality"},   {deinterlace_, "deinterlace"},
        {forceSync_, "forceSync"},       {dvdSetting_, "dvdSetting"},
        {dvdPanel_, "dvdPanel"},         {outputFolder_, "outputFolder"},
        {displayName_, "displayName"},   {artistName_, "artistName"}};
    for (const auto& [widget, objectName] : names)
        widget->setObjectName(objectName);
    // What a screen reader calls each field: its caption (a field's value is read apart).
    const std::pair<QWidget*, const char*> spokenNames[] = {{savedProfile_, "Profile Setting"},
                                                            {imageMode_, "Output Image Setting"},
                                                            {resolution_, "Video Resolution"},
                                                            {width_, "Video Width"},
                                                            {height_, "Video Height"},
                                                            {frameRate_, "Video Frame Rate"},
                                                            {videoBitRate_, "Video Quality, Kbps"},
                                                            {videoCodec_, "Video Codec"},
                                                            {outputFormat_, "Output Format"},
                                                            {displayName_, "Display Name"},
                                                            {artistName_, "Artist Name"},
                                                            {dvdSetting_, "DVD Setting"},
                                                            {outputFolder_, "Output Folder"},
                                                            {openFolder_, "Open output folder"},
                                                            {audioCodec_, "Audio Format"},
                                                            {audioBitRate_, "Audio Quality, Kbps"},
                                                            {sampleRate_, "Audio Sample Rate"},
                                                            {channel_, "Audio Channels"},
                                                            {volume_, "Volume"},
                                                            {cpuCores_, "CPU Core Use"}};
    for (const auto& [widget, spokenName] : spokenNames)
        widget->setAccessibleName(spokenName);
    LabelListBoxes(this);
    refresh();
}

OutputPanelView::Row OutputPanelView::addRow(QVBoxLayout* column, const QString& caption, int captionWidth) {
    auto* row = new QWidget(this);
    row->setFixedHeight(RowHeightPixels);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    QLabel* label = nullptr;
    if (!caption.isNull()) {
        label = plainLabel(caption, row);
        label->setFixedWidth(captionWidth);
        layout->addWidget(label);
    }
    column->addWidget(row);
    rows_.push_back(row);
    return {row, label};
}

QComboBox* OutputPanelView::addSelector(QWidget* row, void (OutputPanelModel::*change)(int)) {
    auto* box = new QComboBox(row);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(6);
    row->layout()->addWidget(box);
    OutputPanelModel* model = &panel_;
    connect(box, &QComboBox::activated, this, [this, model, change](int index) {
        (model->*change)(index);
        changed();
    });
    return box;
}

QSpinBox* OutputPanelView::addNumber(QWidget* row) {
    auto* box = new QSpinBox(row);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setKeyboardTracking(true);
    row->layout()->addWidget(box);
    return box;
}

QCheckBox* OutputPanelView::addCheck(QWidget* row, const QString& text) {
    auto* box = new QCheckBox(text, row);
    row->layout()->addWidget(box);
    return box;
}

void OutputPanelView::buildVideoColumn(QVBoxLayout* column) {
    Row row = addRow(column, "Output Image Setting :", VideoCaptionWidth);
    imageCaption_ = row.caption;
    imageMode_ = addSelector(row.widget, &OutputPanelModel::ChangeImageMode);

    row = addRow(column, "Video Resolution (W : H) :", VideoCaptionWidth);
    resolutionCaption_ = row.caption;
    resolution_ = addSelector(row.widget, &OutputPanelModel::ChangeResolution);
    width_ = addNumber(row.widget);
    sizeSeparator_ = plainLabel(":", row.widget);
    row.widget->layout()->addWidget(sizeSeparator_);
    height_ = addNumber(row.widget);
    static_cast<QHBoxLayout*>(row.widget->layout())->addStretch(1);
    connect(width_, &QSpinBox::textChanged, this, [this](const QString& text) {
        panel_.SetWidthText(textOf(text));
        emit panelChanged();
    });
    connect(height_, &QSpinBox::textChanged, this, [this](const QString& text) {
        panel_.SetHeightText(textOf(text));
        emit panelChanged();
    });
    connect(width_, &QSpinBox::editingFinished, this, [this] {
        panel_.LeaveWidth();
        changed();
    });
    connect(height_, &QSpinBox::editingFinished, this, [this] {
        panel_.LeaveHeight();
        changed();
    });

    row = addRow(column, "Video Frame Rate :", VideoCaptionWidth);
    frameRateCaption_ = row.caption;
    frameRate_ = addSelector(row.widget, &OutputPanelModel::ChangeVideoFrameRate);

    row = addRow(column, "Video Quality :", VideoCaptionWidth);
    bitRateCaption_ = row.caption;
    videoBitRate_ = addNumber(row.widget);
    kbpsCaption_ = plainLabel("Kbps", row.widget);
    row.widget->layout()->addWidget(kbpsCaption_);
    static_cast<QHBoxLayout*>(row.widget->layout())->addStretch(1);
    connect(videoBitRate_, &QSpinBox::textChanged, this,
            [this](const QString& text) { panel_.SetVideoBitRateText(textOf(text)); });

    row = addRow(column, "Video Codec :", VideoCaptionWidth);
    codecCaption_ = row.caption;
    videoCodec_ = addSelector(row.widget, &OutputPanelModel::ChangeVideoCodec);

    row = addRow(column, "Output Format :", VideoCaptionWidth);
    formatCaption_ = row.caption;
    outputFormat_ = addSelector(row.widget, &OutputPanelModel::ChangeOutputFormat);

    row = addRow(column, "Display Name :", VideoCaptionWidth);
    displayCaption_ = row.caption;
    displayName_ = new QLineEdit(row.widget);
    row.widget->layout()->addWidget(displayName_);
    artistCaption_ = plainLabel("Artist Name :", row.widget);
    row.widget->layout()->addWidget(artistCaption_);
    artistName_ = new QLineEdit(row.widget);
    row.widget->layout()->addWidget(artistName_);
    connect(displayName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { panel_.SetDisplayName(textOf(text)); });
    connect(artistName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { panel_.SetArtistName(textOf(text)); });

    row = addRow(column, "DVD Setting :", VideoCaptionWidth);
    dvdSettingCaption_ = row.caption;
    dvdSetting_ = addSelector(row.widget, &OutputPanelModel::ChangeDvdSetting);

    // The DVD panel: format and aspect pairs that behave like radio buttons.
    row = addRow(column, "DVD Format :", VideoCaptionWidth);
    dvdPanel_ = row.widget;
    dvdNtsc_ = addCheck(row.widget, "NTSC DVD");
    dvdPal_ = addCheck(row.widget, "PAL DVD");
    auto* aspectCaption = plainLabel("DVD Aspect Ratio :", row.widget);
    row.widget->layout()->addWidget(aspectCaption);
    dvd169_ = addCheck(row.widget, "16 : 9");
    dvd43_ = addCheck(row.widget, "4 : 3");
    const std::pair<QCheckBox*, void (OutputPanelModel::*)()> dvdBoxes[] = {
        {dvdNtsc_, &OutputPanelModel::ReleaseDvdNtsc},
        {dvdPal_, &OutputPanelModel::ReleaseDvdPal},
        {dvd169_, &OutputPanelModel::ReleaseDvd169},
        {dvd43_, &OutputPanelModel::ReleaseDvd43}};
    for (const auto& [box, release] : dvdBoxes)
        connect(box, &QCheckBox::clicked, this, [this, model = &panel_, release] {
            (model->*release)();
            changed();
        });

    row = addRow(column, "Output Folder :", VideoCaptionWidth);
    outputFolder_ = new QLineEdit(row.widget);
    outputFolder_->setReadOnly(true);
    static_cast<QHBoxLayout*>(row.widget->layout())->addWidget(outputFolder_, 1);
    auto* browse = new QToolButton(row.widget);
    browse->setObjectName("suiImageButton_Browse");
    browse->setText("Browse");
    browse->setAccessibleName("Browse output folder");
    row.widget->layout()->addWidget(browse);
    connect(browse, &QToolButton::clicked, this, &OutputPanelView::browseRequested);
    openFolder_ = new QToolButton(row.widget);
    openFolder_->setObjectName("openFolder");
    openFolder_->setText("Open");
    row.widget->layout()->addWidget(openFolder_);
    connect(openFolder_, &QToolButton::clicked, this,
            [this] { desktop_.openDocument(panel_.FolderToOpen()); });
}

void OutputPanelView::buildAudioColumn(QVBoxLayout* column) {
    Row row = addRow(column, "Format :", AudioCaptionWidth);
    audioCodec_ = addSelector(row.widget, &OutputPanelModel::ChangeAudioCodec);

    row = addRow(column, "Audio Quality :", AudioCaptionWidth);
    audioBitRate_ = addSelector(row.widget, &OutputPanelModel::ChangeAudioBitRate);
    row.widget->layout()->addWidget(plainLabel("Kbps", row.widget));

    row = addRow(column, "Audio Sample Rate :", AudioCaptionWidth);
    sampleRate_ = addSelector(row.widget, &OutputPanelModel::ChangeAudioSampleRate);
    row = addRow(column, "Audio Channel :", AudioCaptionWidth);
    channel_ = addSelector(row.widget, &OutputPanelModel::ChangeAudioChannel);

    row = addRow(column, "Volume :", AudioCaptionWidth);
    volume_ = new QSlider(Qt::Horizontal, row.widget);
    row.widget->layout()->addWidget(volume_);
    volumeLabel_ = plainLabel({}, row.widget);
    volumeLabel_->setFixedWidth(56);
    row.widget->layout()->addWidget(volumeLabel_);
    connect(volume_, &QSlider::valueChanged, this, [this](int position) {
        panel_.MoveVolume(position);
        changed();
    });

    row = addRow(column, "CPU Core Use :", AudioCaptionWidth);
    cpuCores_ = addSelector(row.widget, &OutputPanelModel::ChangeCpuCores);

    // Checking an advanced box explains it; the model shows the message.
    row = addRow(column, QString(), 0);
    highQuality_ = addCheck(row.widget, "Use High Quality Engine");
    connect(highQuality_, &QCheckBox::clicked, this, [this](bool checked) {
        panel_.SetHighQuality(checked);
        changed();
    });
    row = addRow(column, QString(), 0);
    deinterlace_ = addCheck(row.widget, "Deinterlacing");
    connect(deinterlace_, &QCheckBox::clicked, this, [this](bool checked) {
        panel_.SetDeinterlace(checked);
        changed();
    });
    forceSync_ = addCheck(row.widget, "Force A/V Sync");
    connect(forceSync_, &QCheckBox::clicked, this, [this](bool checked) {
        panel_.SetForceSync(checked);
        changed();
    });
    crop_ = new QToolButton(row.widget);
    crop_->setObjectName("suiImageButton_Crop");
    crop_->setText("Crop");
    crop_->setAccessibleName("Crop");
    row.widget->layout()->addWidget(crop_);
    connect(crop_, &QToolButton::clicked, this, &OutputPanelView::cropClicked);
    row = addRow(column, QString(), 0);
    letterBox_ = addCheck(row.widget, "Auto Add Letter Box");
    connect(letterBox_, &QCheckBox::clicked, this, [this](bool checked) {
        panel_.SetAddLetterBox(checked);
        changed();
    });
    dvdLetterBox_ = addCheck(row.widget, "Auto Add Letter Box");
    connect(dvdLetterBox_, &QCheckBox::clicked, this, [this](bool checked) {
        panel_.SetDvdLetterBox(checked);
        changed();
    });

    dvdLabel_ = new QLabel(this);
    dvdLabel_->setObjectName("dvdLabel");
    dvdLabel_->setWordWrap(true);
    column->addWidget(dvdLabel_);
}

void OutputPanelView::changed() {
    refresh();
    emit panelChanged();
}

void OutputPanelView::refresh() {
    const PanelControls& c = panel_.controls();
    ShowSelector(savedProfile_, c.savedProfile);
    ShowSelector(imageMode_, c.imageMode);
    ShowSelector(resolution_, c.resolution);
    ShowNumber(width_, c.videoWidth);
    ShowNumber(height_, c.videoHeight);
    sizeSeparator_->setVisible(c.sizeSeparatorVisible && c.videoWidth.visible);
    resolutionCaption_->setVisible(c.resolutionLabelVisible);
    ShowSelector(frameRate_, c.videoFrameRate);
    ShowNumber(videoBitRate_, c.videoBitRate);
    ShowSelector(videoCodec_, c.videoCodec);
    ShowSelector(outputFormat_, c.outputFormat);
    ShowSelector(audioCodec_, c.audioCodec);
    ShowSelector(audioBitRate_, c.audioBitRate);
    ShowSelector(sampleRate_, c.audioSampleRate);
    ShowSelector(channel_, c.audioChannel);
    ShowSlider(volume_, c.volume);
    volumeLabel_->setText(QString::fromStdString(c.volumeLabel));
    volumeLabel_->setVisible(c.volume.visible);
    ShowText(displayName_, c.displayName);
    ShowText(artistName_, c.artistName);
    displayCaption_->setVisible(c.displayName.visible);
    artistCaption_->setVisible(c.artistName.visible);
    ShowSelector(cpuCores_, c.cpuCores);
    ShowCheck(highQuality_, c.highQuality);
    ShowCheck(deinterlace_, c.deinterlace);
    ShowCheck(forceSync_, c.forceSync);
    crop_->setVisible(c.cropButtonVisible);
    ShowCheck(letterBox_, c.addLetterBox);
    ShowSelector(dvdSetting_, c.dvdSetting);
    ShowCheck(dvdNtsc_, c.dvdNtsc);
    ShowCheck(dvdPal_, c.dvdPal);
    ShowCheck(dvd169_, c.dvd169);
    ShowCheck(dvd43_, c.dvd43);
    ShowCheck(dvdLetterBox_, c.addLetterBoxVob);
    dvdLetterBox_->setVisible(c.dvdPanelVisible);
    dvdPanel_->setVisible(c.dvdPanelVisible);
    dvdLabel_->setText(QString::fromStdString(c.dvdLabel));
    dvdLabel_->setVisible(c.dvdPanelVisible && !c.dvdLabel.empty());
    ShowText(outputFolder_, c.outputFolder);

    // Each caption follows the control it names.
    profileCaption_->setVisible(c.savedProfile.visible);
    imageCaption_->setVisible(c.imageMode.visible);
    frameRateCaption_->setVisible(c.videoFrameRate.visible);
    bitRateCaption_->setVisible(c.videoBitRate.visible);
    kbpsCaption_->setVisible(c.videoBitRate.visible);
    codecCaption_->setVisible(c.videoCodec.visible);
    formatCaption_->setVisible(c.outputFormat.visible);
    dvdSettingCaption_->setVisible(c.dvdSetting.visible);
    showRows();
}

void OutputPanelView::showRows() {
    for (QWidget* row : rows_) {
        if (row == dvdPanel_)
            continue;
        bool any = false;
        for (QObject* child : row->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget && !widget->isHidden() && widget->objectName() != "panelCaption")
                any = true;
        }
        row->setVisible(any);
    }
}

} // namespace quilo
