#include "ui/main_window.h"

#include "conversion/crop_button.h"
#include "conversion/engine_api.h"
#include "media/preview_panel_model.h"
#include "platform/command_handoff.h"
#include "platform/desktop/qt_prompter.h"
#include "platform/desktop/system_desktop_services.h"
#include "shell/application_folders.h"
#include "shell/mail_and_help.h"
#include "skin/skin_pictures.h"
#include "skin/skin_region.h"
#include "ui/add_link_dialog.h"
#include "ui/burner_settings_dialog.h"
#include "ui/clip_list_view.h"
#include "ui/crop_dialog_view.h"
#include "ui/list_box_labels.h"
#include "ui/main_window_dialogs.h"
#include "ui/open_dialog_filter.h"
#include "ui/output_panel_view.h"
#include "ui/preview_panel.h"
#include "ui/progress_window.h"
#include "ui/web_list_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace quilo {

Q_LOGGING_CATEGORY(commandsLog, "quilo.commands", QtWarningMsg)

namespace {

constexpr const char* CategoryCaptions[CategoryCount] = {"General Video", "HD Video", "Apple", "Sony",
                                                         "Microsoft",     "Portable", "Music", "DVD"};
constexpr int TitleBandHeight = 44;

QString buttonCaption(TargetTypeId target) {
    return QString::fromStdString(targetIdentifier(target)).replace('_', ' ');
}

QString name(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : " | ") + line;
    return text;
}

} // namespace

MainWindow::MainWindow(const ProductIdentity& identity, ProgramFolders program, Services services)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window), identity_(identity),
      program_(std::move(program)),
      dataFolder_(EnsureDataFolder(program_.files, identity.displayProductName, services.applicationData)),
      ownPrompter_(services.prompter ? nullptr : std::make_unique<QtPrompter>(this)),
      ownDesktop_(services.desktop ? nullptr : std::make_unique<SystemDesktopServices>()),
      prompter_(services.prompter ? *services.prompter : *ownPrompter_),
      desktop_(services.desktop ? *services.desktop : *ownDesktop_),
      frameRateChoice_([this](FrameRateChoice&) { dialogs_->ChooseFrameRate(); }),
      background_(skin::MainWindowBackground()) {
    const auto pace = [&services] {
        if (services.pace)
            services.pace();
    };
    session_ = std::make_unique<ConverterSession>(ConverterSession::Setup{
        program_, dataFolder_, prompter_, frameRateChoice_, this, std::move(services.processorCores)});
    session_->clips().setEvents(this);
    pace();

    setFixedSize(background_.size());
    setMask(SkinWindowShape(background_, skin::KeyColour.rgb()));
    setAcceptDrops(true);

    loadTimer_ = new QTimer(this);
    loadTimer_->setSingleShot(true);
    loadTimer_->setInterval(ClipLoader::LoadTimerMs);
    connect(loadTimer_, &QTimer::timeout, this, &MainWindow::loadTimerFired);

    buildHeader(identity);
    buildTargetButtons();
    pace();

    listView_ = new ClipListView(session_->clips(), this);
    listView_->move(24, 178);
    connect(listView_, &ClipListView::addRequested, this, &MainWindow::addClicked);
    connect(listView_, &ClipListView::removeRequested, this, [this] {
        session_->clips().RemoveSelectedClips();
        showAll();
        logClips();
    });
    connect(listView_, &ClipListView::clearRequested, this, [this] {
        session_->clips().ClearClips();
        showAll();
    });

    panelView_ = new OutputPanelView(session_->panel(), desktop_, this);
    panelView_->setGeometry(14, 350, 832, 272);
    connect(panelView_, &OutputPanelView::panelChanged, listView_, qOverload<>(&QWidget::update));
    connect(panelView_, &OutputPanelView::cropClicked, this, &MainWindow::cropClicked);
    buildPreview();
    pace();

    CDevice::LoadDiscLibrary(program_.libraries);
    burner_ = std::make_unique<BurnerControl>();
    burnerDialog_ = new BurnerSettingsDialog(*burner_, dataFolder_ + "Option.ini", prompter_, this);
    progress_ = new ProgressWindow(*session_, prompter_, desktop_, this, burner_.get());
    burnerDialog_->model().showPercent = [this](int percent) { progress_->ShowPercent(percent); };
    pace();

    downloads_ =
        std::make_unique<TDownloadManager>(program_.libraries, carrier_, prompter_, linkPort_.port());
    downloads_->SetDownloadFolder(session_->options().OutputFolder);
    downloads_->SetProgressWindow(progress_->windowPort());
    webLinks_ = std::make_unique<WebLinks>(*downloads_, session_->clips(), prompter_);
    webView_ = new WebListView(*webLinks_, listView_->size(), this);
    webView_->move(listView_->pos());
    webView_->hide();
    addLink_ = new AddLinkDialog(
        linkForm_, prompter_, [this] { return webLinks_->PageUrls(); }, this);
    chooseFolder_ = services.chooseFolder
                        ? services.chooseFolder
                        : [this](const std::string& caption, const std::string& start) {
                              return QFileDialog::getExistingDirectory(this, QString::fromStdString(caption),
                                                                       QString::fromStdString(start))
                                  .toStdString();
                          };
    dialogs_ = new MainWindowDialogs(this, *session_, frameRateChoice_, identity_, program_.files, prompter_,
                                     desktop_, chooseFolder_);
    pace();
    dialogs_->AddHeaderButtons();
    placeHeader();
    connect(dialogs_, &MainWindowDialogs::panelChanged, this, &MainWindow::showAll);
    connect(panelView_, &OutputPanelView::browseRequested, this, &MainWindow::browseClicked);
    // The dialogs are this window's children: one pass names all their list boxes.
    LabelListBoxes(this);
    buildKeyboard();
    showSelection();
}

void MainWindow::buildKeyboard() {
    auto* add = new QAction(this);
    add->setShortcut(QKeySequence::Open);
    add->setShortcutContext(Qt::WindowShortcut);
    connect(add, &QAction::triggered, this, &MainWindow::addClicked);
    addAction(add);
    // Having chosen the clips, the next stop is Start.
    setTabOrder(listView_, start_);
}

MainWindow::~MainWindow() {
    // The downloads report to both windows and read the session: they end first.
    webLinks_.reset();
    downloads_.reset();
    // The progress window's job reads the session: it goes next; the burner
    // dialog tears the burner control down before the control goes.
    delete progress_;
    delete burnerDialog_;
    // The views go before the models they show (a field losing the focus
    // would otherwise reach a dead model), and the engine sessions end while
    // the clips they show still exist.
    preview_->SetChangeListener({});
    delete previewView_;
    delete cropView_;
    previewView_ = nullptr;
    cropView_ = nullptr;
    crop_.reset();
    preview_.reset();
}

void MainWindow::buildPreview() {
    const std::string engine = program_.libraries + EngineLibraryName;
    preview_ = std::make_unique<PreviewPanelModel>(session_->clips(), prompter_, engine, dataFolder_);
    previewView_ = new PreviewPanel(*preview_, this);
    previewView_->move(586, 176);
    preview_->SetChangeListener([this] {
        previewView_->refresh();
        listView_->update();
    });
    connect(previewView_, &PreviewPanel::clipTimesChanged, listView_, qOverload<>(&QWidget::update));

    crop_ = std::make_unique<CropDialog>(engine, dataFolder_);
    cropView_ = new CropDialogView(*crop_, this);
}

void MainWindow::cropClicked() {
    CropButtonClicked(
        session_->clips(), *crop_, prompter_, [this] { stopPreview(); }, [this] { cropView_->exec(); });
    previewView_->refresh();
}

void MainWindow::stopPreview() {
    if (!preview_)
        return; // the window is going
    preview_->StopPreview();
    previewView_->refresh();
}

void MainWindow::currentClipChanged(TVideoInfo* clip) {
    if (!preview_)
        return;
    preview_->ShowClip(clip);
    previewView_->refresh();
}

void MainWindow::buildHeader(const ProductIdentity& identity) {
    auto* caption = new QLabel(QString::fromStdString(identity.displayProductName), this);
    caption->setObjectName("caption");
    caption->setGeometry(24, 10, 150, 26);

    const std::pair<const char*, void (MainWindow::*)()> actions[] = {{"Add Files", &MainWindow::addClicked},
                                                                      {"Add URL", &MainWindow::addUrlClicked},
                                                                      {"Remove", nullptr},
                                                                      {"Clear", nullptr}};
    int left = 176;
    for (const auto& [text, action] : actions) {
        auto* button = new QToolButton(this);
        button->setObjectName("headerButton");
        button->setText(text);
        button->setAccessibleName(text);
        button->setGeometry(left, 9, 60, 27);
        left += 63;
        if (action)
            connect(button, &QToolButton::clicked, this, action);
        else if (QString(text) == "Remove")
            connect(button, &QToolButton::clicked, this, [this] {
                if (!webLinks_->RemoveClicked())
                    session_->clips().RemoveButton();
                showAll();
            });
        else
            connect(button, &QToolButton::clicked, this, [this] {
                if (!webLinks_->ClearClicked())
                    session_->clips().ClearButton();
                showAll();
            });
    }

    start_ = new QPushButton("Start", this);
    start_->setObjectName("startButton");
    start_->setGeometry(592, 9, 92, 27);
    connect(start_, &QPushButton::clicked, this, &MainWindow::startClicked);

    auto* minimise = new QToolButton(this);
    minimise->setObjectName("windowButton");
    minimise->setText(QStringLiteral("–"));
    minimise->setAccessibleName("Minimize");
    minimise->setToolTip("Minimize");
    minimise->setGeometry(width() - 76, 10, 26, 26);
    connect(minimise, &QToolButton::clicked, this, &QWidget::showMinimized);
    auto* close = new QToolButton(this);
    close->setObjectName("windowButton");
    close->setText(QStringLiteral("✕"));
    close->setAccessibleName("Close");
    close->setToolTip("Close");
    close->setGeometry(width() - 44, 10, 26, 26);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
}

// The title band from left to right, each control as wide as its text needs
// at the shipped font (never narrower than the skin's buttons), so that no
// text is cut.
void MainWindow::placeHeader() {
    auto* caption = findChild<QLabel*>("caption", Qt::FindDirectChildrenOnly);
    caption->ensurePolished();
    caption->setGeometry(24, 10, caption->sizeHint().width(), 26);
    int left = caption->geometry().right() + 10;
    const auto place = [&left](QWidget* widget, int least, int top, int height, int gap) {
        widget->ensurePolished();
        const int width = std::max(least, widget->sizeHint().width());
        widget->setGeometry(left, top, width, height);
        left += width + gap;
    };
    for (QToolButton* button : findChildren<QToolButton*>("headerButton", Qt::FindDirectChildrenOnly))
        place(button, 56, 9, 27, 3);
    place(dialogs_->headerButton("suiImageButton_Option"), 56, 9, 27, 3);
    place(dialogs_->headerButton("CheckNewVer"), 56, 9, 27, 4);
    place(start_, 80, 9, 27, 4);
    for (const char* icon : {"suiImageButton_About", "suiImageButton_Mail", "suiImageButton_Help"})
        place(dialogs_->headerButton(icon), 26, 10, 26, 2);
}

void MainWindow::buildTargetButtons() {
    auto* categoryRow = new QWidget(this);
    categoryRow->setGeometry(20, 62, 820, 36);
    auto* categoryLayout = new QHBoxLayout(categoryRow);
    categoryLayout->setContentsMargins(0, 0, 0, 0);
    for (ConverterTypeId category = 0; category < CategoryCount; ++category) {
        auto* button = new QToolButton(categoryRow);
        button->setText(CategoryCaptions[category]);
        button->setObjectName(name(categoryTable()[category].button));
        button->setProperty("role", "target");
        connect(button, &QToolButton::clicked, this, [this, category] {
            session_->panel().ClickCategory(category);
            showAll();
        });
        categoryLayout->addWidget(button);
        categoryButtons_[category] = button;
    }

    // One row per category, all at the same place: only the current one shows.
    std::array<QHBoxLayout*, CategoryCount> rows{};
    for (ConverterTypeId category = 0; category < CategoryCount; ++category) {
        auto* row = new QWidget(this);
        row->setGeometry(20, 116, 820, 40);
        row->setObjectName(name(categoryTable()[category].panel));
        rows[category] = new QHBoxLayout(row);
        rows[category]->setContentsMargins(0, 0, 0, 0);
        rows[category]->setAlignment(Qt::AlignLeft);
    }
    for (TargetTypeId target = 0; target < TargetCount; ++target) {
        auto* button = new QToolButton(rows[targetCategory(target)]->parentWidget());
        button->setText(buttonCaption(target));
        button->setObjectName("target_" + QString::fromStdString(targetIdentifier(target)));
        button->setProperty("role", "target");
        button->setVisible(TargetSelectionModel::targetButtonVisible(target));
        connect(button, &QToolButton::clicked, this, [this, target] {
            session_->panel().ClickTarget(target);
            showAll();
        });
        if (TargetSelectionModel::targetButtonVisible(target))
            rows[targetCategory(target)]->addWidget(button);
        targetButtons_[target] = button;
    }
}

void MainWindow::showSelection() {
    const TargetSelectionModel& selection = session_->panel().selection();
    for (ConverterTypeId category = 0; category < CategoryCount; ++category) {
        categoryButtons_[category]->setEnabled(selection.categoryButtonEnabled(category));
        targetButtons_[categoryTable()[category].defaultTarget]->parentWidget()->setVisible(
            selection.targetPanelVisible(category));
    }
    for (TargetTypeId target = 0; target < TargetCount; ++target)
        targetButtons_[target]->setEnabled(selection.targetButtonEnabled(target));
}

void MainWindow::showAll() {
    showSelection();
    panelView_->refresh();
    // The clip area holds clips or links, never both.
    const bool links = session_->clips().Mode == ListMode::Web;
    listView_->setVisible(!links);
    webView_->setVisible(links);
    listView_->update();
    webView_->update();
    update();
}

void MainWindow::applyArguments(const std::vector<std::string>& arguments) {
    qCDebug(commandsLog).noquote() << "command line:" << QString::fromStdString(joined(arguments));
    if (!HandleCommandLine(arguments, *this))
        restorePanel();
}

void MainWindow::takeHandoff() {
    const std::vector<std::string> lines = takeCommandHandoff();
    qCDebug(commandsLog).noquote() << "hand-off:" << QString::fromStdString(joined(lines));
    HandleCommandHandoff(lines, jobRunning_, *this);
}

void MainWindow::selectTargetAsClicked(TargetTypeId target) {
    session_->panel().SelectTargetAsClicked(target);
    showAll();
}

void MainWindow::restorePanel() {
    session_->panel().RestorePanel();
    showAll();
}

void MainWindow::addFilesLater(const std::vector<std::string>& paths) {
    if (session_->loader().DropFiles(paths))
        loadTimer_->start();
}

void MainWindow::loadTimerFired() {
    // A job reads the clips on its worker: new ones wait until it has ended.
    if (jobRunning_) {
        loadTimer_->start();
        return;
    }
    session_->loader().LoadTimerFired();
    showAll();
}

void MainWindow::addClicked() {
    if (!session_->loader().BeginAdd())
        return;
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, QString(), QString(), QtFileDialogFilter(session_->options().OpenDialogFilter));
    std::vector<std::string> paths;
    for (const QString& path : chosen)
        paths.push_back(path.toStdString());
    addChosenFiles(paths);
}

void MainWindow::addUrlClicked() {
    if (jobRunning_)
        return;
    webLinks_->AddLinkClicked(linkForm_, [this] { return addLink_->ask(); });
    showAll();
}

bool MainWindow::ConfirmSwitchToLocal() {
    return prompter_.ask(PromptKind::Warning, SwitchToLocalText, PromptButtons::OkCancel) == PromptAnswer::Ok;
}

void MainWindow::ClearWebVideos() {
    webLinks_->GiveUp();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == static_cast<QEvent::Type>(WM_LINK_ANALYSIS)) {
        const auto* notice = static_cast<PortEvent*>(event);
        if (webLinks_->AnalysisNotice(notice->wParam(), notice->lParam()) == AnalysisOutcome::Stopped)
            progress_->DownloadStopped(notice->lParam());
        downloads_->ReapFinishedRuns();
        showAll();
        return true;
    }
    return QWidget::event(event);
}

void MainWindow::addChosenFiles(const std::vector<std::string>& paths) {
    session_->loader().AddChosenFiles(paths);
    showAll();
    logClips();
}

void MainWindow::logClips() const {
    std::vector<std::string> paths;
    for (const TVideoInfo* clip : session_->clips().Clips())
        paths.push_back(clip->FilePath);
    qCDebug(commandsLog).noquote() << "clip list:" << QString::fromStdString(joined(paths));
}

void MainWindow::startClicked() {
    StartClicked(session_->clips(), session_->panel(), *this, prompter_, session_->userLog(), identity_);
    showAll();
}

void MainWindow::repaint() {
    QWidget::repaint();
}

bool MainWindow::confirmBurnerSettings() {
    return burnerDialog_->ShowModal();
}

bool MainWindow::previewSeeking() const {
    return session_->clips().Seeking;
}

void MainWindow::startJob(TargetTypeId target) {
    jobRunning_ = true;
    progress_->StartJob(target);
    jobRunning_ = false;
}

void MainWindow::startDownloadJob(TargetTypeId target, const std::string& extension) {
    jobRunning_ = true;
    progress_->StartDownloadJob(target, extension, *downloads_);
    jobRunning_ = false;
}

void MainWindow::clipCheckedChanged(TVideoInfo&) {
    session_->panel().ClipCheckedChanged();
    panelView_->refresh();
}

void MainWindow::ShowMultiAudioNotice() {
    dialogs_->notice().ShowMultiAudioNotice();
}

void MainWindow::browseClicked() {
    const std::string folder =
        chooseFolder_("Please select an output folder:", session_->options().OutputFolder);
    if (folder.empty())
        return;
    session_->ChooseOutputFolder(folder);
    panelView_->refresh();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    dialogs_->WindowShown();
}

// Closing is refused while the preview seeks; otherwise the session saves
// what the window closes with.
void MainWindow::closeEvent(QCloseEvent* event) {
    if ((!preview_ || preview_->MayClose()) && session_->CloseRequested())
        event->accept();
    else
        event->ignore();
}

void MainWindow::addProgressChanged() {
    listView_->repaint();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, background_);
}

// The title band moves the frameless window.
void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() < TitleBandHeight)
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    else
        dragOffset_ = {};
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && !dragOffset_.isNull())
        move(event->globalPosition().toPoint() - dragOffset_);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !jobRunning_)
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    if (!paths.empty())
        addFilesLater(paths);
    event->acceptProposedAction();
}

} // namespace quilo
