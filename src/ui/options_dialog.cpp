#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace quilo {
namespace {

constexpr int DialogWidth = 639, DialogHeight = 354;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

void showChoices(QComboBox* box, const ChoiceList& list) {
    const QSignalBlocker blocker(box);
    box->clear();
    for (const std::string& item : list.items)
        box->addItem(text(item));
    box->setCurrentIndex(list.selected);
    box->setEnabled(list.enabled);
}

} // namespace

OptionsDialog::OptionsDialog(OptionsModel& model, FolderChooser chooseFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), model_(model),
      chooseFolder_(std::move(chooseFolder)) {
    setObjectName("optionsDialog");
    setAccessibleName("Options");
    setWindowTitle("Options");
    setModal(true);
    setFixedSize(DialogWidth, DialogHeight);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* caption = new QLabel("Options", this);
    caption->setObjectName("caption");
    top->addWidget(caption);
    top->addSpacing(20);
    const char* pageCaptions[] = {"Renaming Template", "Language && Folder", "Video Profiles"};
    for (int page = 0; page < 3; ++page) {
        auto* button = new QPushButton(pageCaptions[page], this);
        button->setObjectName("pageButton");
        button->setAccessibleName(QString(pageCaptions[page]).replace("&&", "&"));
        connect(button, &QPushButton::clicked, this, [this, page] {
            model_.ShowPage(static_cast<OptionsModel::Page>(page));
            showPage();
        });
        top->addWidget(button);
        pageButtons_.push_back(button);
    }
    top->addStretch();
    auto* close = new QPushButton(QStringLiteral("✕"), this);
    close->setObjectName("suiImageButton_Close");
    close->setAccessibleName("Close");
    close->setFlat(true);
    close->setFixedWidth(28);
    top->addWidget(close);
    layout->addLayout(top);

    pages_ = new QStackedWidget(this);
    for (auto build : {&OptionsDialog::buildTemplatePage, &OptionsDialog::buildLanguagePage,
                       &OptionsDialog::buildProfilePage}) {
        auto* page = new QWidget(pages_);
        (this->*build)(page);
        pages_->addWidget(page);
    }
    pages_->widget(0)->setObjectName("Panel_FileName");
    pages_->widget(1)->setObjectName("Panel_Language");
    pages_->widget(2)->setObjectName("Panel_Profile");
    layout->addWidget(pages_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("suiImageButton_OK");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("suiImageButton_Cancel");
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        takeTemplatePage();
        model_.Ok();
        accept();
    });
    for (QPushButton* button : {cancel, close})
        connect(button, &QPushButton::clicked, this, &OptionsDialog::reject);
    showTemplatePage();
}

void OptionsDialog::reject() {
    takeTemplatePage(); // typed text stays for the next opening, but is not taken over
    model_.Cancel();
    QDialog::reject();
}

bool OptionsDialog::ShowOptions() {
    model_.Open();
    showPage();
    exec();
    return model_.changed();
}

void OptionsDialog::buildTemplatePage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    auto* templateCaption = new QLabel("Renaming Template :", page);
    templateCaption->setObjectName("Label25");
    template_ = new QLineEdit(page);
    template_->setObjectName("suiEdit_Template");
    template_->setAccessibleName("Renaming Template");
    row->addWidget(templateCaption);
    row->addWidget(template_, 1);
    layout->addLayout(row);
    auto* example = new QLabel("eg : \"#Name-#Resolution\" means : Titanic-720x480.avi", page);
    example->setObjectName("Label26");
    layout->addWidget(example);
    auto* interpretation =
        new QLabel("Template Interpretation : (simply click template label to add it to content)", page);
    interpretation->setObjectName("Label27");
    layout->addWidget(interpretation);
    for (int index = 0; index < static_cast<int>(std::size(TemplateTags)); ++index) {
        auto* tag = new QPushButton(TemplateTags[index].help, page);
        tag->setObjectName("tagLabel");
        tag->setAccessibleName(TemplateTags[index].tag);
        tag->setToolTip("Click to add this template");
        tag->setCursor(Qt::PointingHandCursor);
        tag->setFlat(true);
        connect(tag, &QPushButton::clicked, this, [this, index] {
            model_.templateText = template_->text().toStdString();
            model_.ClickTag(index);
            template_->setText(text(model_.templateText));
        });
        auto* indent = new QHBoxLayout;
        indent->addSpacing(24);
        indent->addWidget(tag, 1);
        layout->addLayout(indent);
    }
    auto* options = new QHBoxLayout;
    add1_ = new QCheckBox(" Auto Add \"-\"", page);
    add1_->setObjectName("suiCheckBox_Add1");
    add2_ = new QCheckBox(" Auto Add \"_\"", page);
    add2_->setObjectName("suiCheckBox_Add2");
    auto* serialCaption = new QLabel("SN Start :", page);
    serialCaption->setObjectName("Label28");
    serialStart_ = new QLineEdit(page);
    serialStart_->setObjectName("suiEdit_SN");
    serialStart_->setAccessibleName("SN Start");
    serialStart_->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), serialStart_));
    serialStart_->setFixedWidth(60);
    auto* digitsCaption = new QLabel("Fixed Digit :", page);
    digitsCaption->setObjectName("Label29");
    fixedDigits_ = new QLineEdit(page);
    fixedDigits_->setObjectName("suiEdit_SN_FD");
    fixedDigits_->setAccessibleName("Fixed Digit");
    fixedDigits_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]?"), fixedDigits_));
    fixedDigits_->setFixedWidth(30);
    for (QWidget* widget : std::initializer_list<QWidget*>{add1_, add2_, serialCaption, serialStart_,
                                                           digitsCaption, fixedDigits_})
        options->addWidget(widget);
    options->addStretch();
    layout->addLayout(options);
    layout->addStretch();

    connect(add1_, &QCheckBox::clicked, this, [this](bool checked) {
        model_.SetAdd1(checked);
        add2_->setChecked(model_.add2());
    });
    connect(add2_, &QCheckBox::clicked, this, [this](bool checked) {
        model_.SetAdd2(checked);
        add1_->setChecked(model_.add1());
    });
}

void OptionsDialog::buildLanguagePage(QWidget* page) {
    auto* layout = new QGridLayout(page);
    auto* languageCaption = new QLabel("Default Audio Language :", page);
    languageCaption->setObjectName("Label15");
    audioLanguage_ = new QComboBox(page);
    audioLanguage_->setObjectName("suiComboBox_AudLang");
    audioLanguage_->setAccessibleName("Default Audio Language");
    for (const char* language : AudioLanguages)
        audioLanguage_->addItem(language);
    auto* folderCaption = new QLabel("Output Folder :", page);
    folderCaption->setObjectName("Label_OutputFolder");
    outputFolder_ = new QLineEdit(page);
    outputFolder_->setObjectName("suiEdit_OutputFolder");
    outputFolder_->setAccessibleName("Output Folder");
    outputFolder_->setReadOnly(true);
    auto* browse = new QPushButton("Browse...", page);
    browse->setObjectName("suiImageButton_Browse");
    layout->addWidget(languageCaption, 0, 0);
    layout->addWidget(audioLanguage_, 0, 1);
    layout->addWidget(folderCaption, 1, 0);
    layout->addWidget(outputFolder_, 1, 1);
    layout->addWidget(browse, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);

    connect(audioLanguage_, &QComboBox::activated, this, [this](int index) {
        model_.SelectAudioLanguage(index);
        showProfilePage();
    });
    connect(browse, &QPushButton::clicked, this, [this] {
        const std::string folder = chooseFolder_ ? chooseFolder_("Please select Output Folder:", "/") : "";
        if (folder.empty())
            return;
        model_.ChooseOutputFolder(folder);
        outputFolder_->setText(text(model_.outputFolderText()));
    });
}

QComboBox* OptionsDialog::addProfileSelector(QWidget* page, const char* caption, const char* objectName,
                                             int row) {
    auto* layout = static_cast<QGridLayout*>(page->layout());
    auto* label = new QLabel(caption, page);
    auto* box = new QComboBox(page);
    box->setObjectName(objectName);
    box->setAccessibleName(QString(caption).remove(':').trimmed());
    layout->addWidget(label, row % 6, row / 6 * 2);
    layout->addWidget(box, row % 6, row / 6 * 2 + 1);
    return box;
}

void OptionsDialog::buildProfilePage(QWidget* page) {
    auto* layout = new QGridLayout(page);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
    type_ = addProfileSelector(page, "Output Type :", "suiComboBox_Type", 0);
    profile_ = addProfileSelector(page, "Profile :", "suiComboBox_Profile", 1);
    videoFormat_ = addProfileSelector(page, "Output File Format :", "suiComboBox_VideoFormat", 2);
    videoCodec_ = addProfileSelector(page, "Video Codec :", "suiComboBox_VideoCodec", 3);
    resolution_ = addProfileSelector(page, "Video Resolution : ", "suiComboBox_Resolution", 4);
    frameRate_ = addProfileSelector(page, "Video Frame Rate :", "suiComboBox_VideoFrameRate", 5);
    audioBitRate_ = addProfileSelector(page, "Audio Quality :", "suiComboBox_AudioBitRate", 6);
    sampleRate_ = addProfileSelector(page, "Audio Sample Rate :", "suiComboBox_AudioSampleRate", 7);
    audioCodec_ = addProfileSelector(page, "Audio Codec :", "suiComboBox_AudioCodec", 8);
    volume_ = new QComboBox(page);
    volume_->setObjectName("suiComboBox_Volume");
    volume_->hide();

    auto* bitRateCaption = new QLabel("Video Quality :", page);
    videoBitRate_ = new QSpinBox(page);
    videoBitRate_->setObjectName("suiSpinEdit_VideoBitRate");
    videoBitRate_->setAccessibleName("Video Quality");
    videoBitRate_->setSuffix(" Kbps");
    layout->addWidget(bitRateCaption, 3, 2);
    layout->addWidget(videoBitRate_, 3, 3);
    auto* nameCaption = new QLabel("Profile Name :", page);
    profileName_ = new QLineEdit(page);
    profileName_->setObjectName("suiEdit_ProfileName");
    profileName_->setAccessibleName("Profile Name");
    layout->addWidget(nameCaption, 4, 2);
    layout->addWidget(profileName_, 4, 3);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton("Save Profile", page);
    add->setObjectName("suiImageButton_Add");
    auto* remove = new QPushButton("Delete Profile", page);
    remove->setObjectName("suiImageButton_Del");
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(remove);
    layout->addLayout(buttons, 5, 2, 1, 2);

    ProfileEditor& editor = model_.profileEditor();
    connect(type_, &QComboBox::activated, this, [this](int index) {
        model_.SelectType(index);
        showProfilePage();
    });
    connect(profile_, &QComboBox::activated, this, [this, &editor](int index) {
        editor.SelectProfile(index);
        showProfilePage();
    });
    connect(videoFormat_, &QComboBox::activated, this, [this, &editor](int index) {
        editor.SelectOutputFormat(index);
        showProfilePage();
    });
    const std::pair<QComboBox*, ChoiceList ProfileEditor::*> plain[] = {
        {videoCodec_, &ProfileEditor::videoCodec}, {resolution_, &ProfileEditor::resolution},
        {frameRate_, &ProfileEditor::frameRate},   {audioBitRate_, &ProfileEditor::audioBitrate},
        {sampleRate_, &ProfileEditor::sampleRate}, {audioCodec_, &ProfileEditor::audioCodec},
        {volume_, &ProfileEditor::volume}};
    for (const auto& [box, list] : plain)
        connect(box, &QComboBox::activated, this,
                [&editor, list = list](int index) { (editor.*list).selected = index; });
    connect(videoBitRate_, &QSpinBox::valueChanged, this,
            [&editor](int value) { editor.videoBitRate = value; });
    connect(profileName_, &QLineEdit::textEdited, this,
            [&editor](const QString& name) { editor.profileName = name.toStdString(); });
    connect(profileName_, &QLineEdit::editingFinished, this, [this, &editor] {
        editor.ProfileNameLeft();
        profileName_->setText(text(editor.profileName));
    });
    connect(add, &QPushButton::clicked, this, [this] {
        model_.AddProfile();
        showProfilePage();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        model_.RemoveProfile();
        showProfilePage();
    });
}

void OptionsDialog::mousePressEvent(QMouseEvent* event) {
    dragOffset_ = event->button() == Qt::LeftButton
                      ? event->globalPosition().toPoint() - frameGeometry().topLeft()
                      : QPoint();
}

void OptionsDialog::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && !dragOffset_.isNull())
        move(event->globalPosition().toPoint() - dragOffset_);
}

void OptionsDialog::showPage() {
    const int current = static_cast<int>(model_.page());
    for (int page = 0; page < static_cast<int>(pageButtons_.size()); ++page)
        pageButtons_[page]->setEnabled(model_.pageButtonEnabled(static_cast<OptionsModel::Page>(page)));
    pages_->setCurrentIndex(current);
    showTemplatePage();
    {
        const QSignalBlocker blocker(audioLanguage_);
        audioLanguage_->setCurrentIndex(model_.audioLanguage());
    }
    outputFolder_->setText(text(model_.outputFolderText()));
    showProfilePage();
}

void OptionsDialog::showTemplatePage() {
    template_->setText(text(model_.templateText));
    serialStart_->setText(text(model_.serialStartText));
    fixedDigits_->setText(text(model_.fixedDigitsText));
    add1_->setChecked(model_.add1());
    add2_->setChecked(model_.add2());
}

void OptionsDialog::takeTemplatePage() {
    model_.templateText = template_->text().toStdString();
    model_.serialStartText = serialStart_->text().toStdString();
    model_.fixedDigitsText = fixedDigits_->text().toStdString();
}

void OptionsDialog::showProfilePage() {
    ProfileEditor& editor = model_.profileEditor();
    {
        const QSignalBlocker blocker(type_);
        type_->clear();
        for (const std::string& type : editor.types())
            type_->addItem(text(type));
        type_->setCurrentIndex(editor.selectedType());
    }
    {
        const QSignalBlocker blocker(profile_);
        profile_->clear();
        for (const SavedProfileEntry& entry : editor.profiles().entries)
            profile_->addItem(text(entry.summary.empty() ? entry.name : entry.summary));
        profile_->setCurrentIndex(editor.selectedProfile());
    }
    showChoices(videoFormat_, editor.outputFormat);
    showChoices(videoCodec_, editor.videoCodec);
    showChoices(resolution_, editor.resolution);
    showChoices(frameRate_, editor.frameRate);
    showChoices(audioBitRate_, editor.audioBitrate);
    showChoices(sampleRate_, editor.sampleRate);
    showChoices(audioCodec_, editor.audioCodec);
    showChoices(volume_, editor.volume);
    {
        const QSignalBlocker blocker(videoBitRate_);
        const NumberSetting& range = editor.videoBitRateRange;
        videoBitRate_->setRange(std::min(range.minimum, editor.videoBitRate),
                                std::max({range.maximum, editor.videoBitRate, range.minimum}));
        videoBitRate_->setSingleStep(std::max(1, range.increment));
        videoBitRate_->setValue(editor.videoBitRate);
        videoBitRate_->setEnabled(editor.dependentsEnabled);
    }
    profileName_->setText(text(editor.profileName));
}

} // namespace quilo
