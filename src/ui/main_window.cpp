#include "ui/main_window.h"

#include "platform/command_handoff.h"
#include "platform/desktop/system_desktop_services.h"
#include "shell/application_folders.h"
#include "shell/mail_and_help.h"
#include "shell/skin_region.h"
#include "skin/skin_pictures.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
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

QString windowStyle() {
    return QStringLiteral(
        "QToolButton { color: #e8eef6; background: transparent; border: 1px solid transparent;"
        "  border-radius: 6px; padding: 4px 10px; font-size: 12px; }"
        "QToolButton:hover { border-color: #2f8fe8; }"
        "QToolButton:disabled { color: white; background: #2f8fe8; }"
        "QToolButton#windowButton { font-size: 14px; padding: 0px; }"
        "QLabel { color: #e8eef6; }"
        "QLabel#caption { font-size: 15px; font-weight: bold; }"
        "QLabel#status { color: #9fb0c4; font-size: 12px; }");
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : " | ") + line;
    return text;
}

} // namespace

MainWindow::MainWindow(const ProductIdentity& identity, std::string programFolder)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window), programFolder_(std::move(programFolder)),
      dataFolder_(EnsureDataFolder(programFolder_, identity.displayProductName)),
      background_(skin::MainWindowBackground()), buttons_(*this) {
    setFixedSize(background_.size());
    setMask(SkinWindowShape(background_, skin::KeyColour.rgb()));
    setStyleSheet(windowStyle());

    auto* caption = new QLabel(QString::fromStdString(identity.displayProductName), this);
    caption->setObjectName("caption");
    caption->setGeometry(24, 10, 500, 26);

    auto* help = new QToolButton(this);
    help->setObjectName("windowButton");
    help->setText(QStringLiteral("?"));
    help->setToolTip(QStringLiteral("Help"));
    help->setGeometry(width() - 108, 10, 26, 26);
    connect(help, &QToolButton::clicked, this, [this] {
        SystemDesktopServices desktop;
        OpenHtmlHelpPage(desktop, programFolder_ + "help/index.html");
    });

    auto* minimise = new QToolButton(this);
    minimise->setObjectName("windowButton");
    minimise->setText(QStringLiteral("–"));
    minimise->setGeometry(width() - 76, 10, 26, 26);
    connect(minimise, &QToolButton::clicked, this, &QWidget::showMinimized);
    auto* close = new QToolButton(this);
    close->setObjectName("windowButton");
    close->setText(QStringLiteral("✕"));
    close->setGeometry(width() - 44, 10, 26, 26);
    connect(close, &QToolButton::clicked, this, &QWidget::close);

    status_ = new QLabel(this);
    status_->setObjectName("status");
    status_->setGeometry(30, 182, 490, 420);
    status_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    status_->setWordWrap(true);

    buildButtons();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildButtons() {
    auto* categoryRow = new QWidget(this);
    categoryRow->setGeometry(20, 62, 820, 36);
    auto* categoryLayout = new QHBoxLayout(categoryRow);
    categoryLayout->setContentsMargins(0, 0, 0, 0);
    for (ConverterTypeId category = 0; category < CategoryCount; ++category) {
        auto* button = new QToolButton(categoryRow);
        button->setText(CategoryCaptions[category]);
        button->setObjectName(QString::fromUtf8(categoryTable()[category].button.data(),
                                                static_cast<int>(categoryTable()[category].button.size())));
        connect(button, &QToolButton::clicked, this, [this, category] {
            buttons_.ConverterTypeClick(category);
            showSelection();
        });
        categoryLayout->addWidget(button);
        categoryButtons_[category] = button;
    }

    // One row per category, all at the same place: only the current one shows.
    std::array<QHBoxLayout*, CategoryCount> rows{};
    for (ConverterTypeId category = 0; category < CategoryCount; ++category) {
        auto* row = new QWidget(this);
        row->setGeometry(20, 116, 820, 40);
        row->setObjectName(QString::fromUtf8(categoryTable()[category].panel.data(),
                                             static_cast<int>(categoryTable()[category].panel.size())));
        rows[category] = new QHBoxLayout(row);
        rows[category]->setContentsMargins(0, 0, 0, 0);
        rows[category]->setAlignment(Qt::AlignLeft);
    }
    for (TargetTypeId target = 0; target < TargetCount; ++target) {
        auto* button = new QToolButton(rows[targetCategory(target)]->parentWidget());
        button->setText(buttonCaption(target));
        button->setVisible(TargetSelectionModel::targetButtonVisible(target));
        connect(button, &QToolButton::clicked, this, [this, target] {
            buttons_.TargetTypeClick(target);
            showSelection();
        });
        if (TargetSelectionModel::targetButtonVisible(target))
            rows[targetCategory(target)]->addWidget(button);
        targetButtons_[target] = button;
    }
    showSelection();
}

void MainWindow::showSelection() {
    for (ConverterTypeId category = 0; category < CategoryCount; ++category) {
        categoryButtons_[category]->setEnabled(buttons_.categoryButtonEnabled(category));
        targetButtons_[categoryTable()[category].defaultTarget]->parentWidget()->setVisible(
            buttons_.targetPanelVisible(category));
    }
    for (TargetTypeId target = 0; target < TargetCount; ++target)
        targetButtons_[target]->setEnabled(buttons_.targetButtonEnabled(target));

    QString text;
    if (isValidTarget(buttons_.currentTarget()))
        text = "Output target: " + buttonCaption(buttons_.currentTarget()) + "\n\n";
    if (!pendingFiles_.empty()) {
        text += "Files to add:\n";
        for (const auto& file : pendingFiles_)
            text += QString::fromStdString(file) + "\n";
    }
    status_->setText(text);
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
    HandleCommandHandoff(lines, false, *this);
}

void MainWindow::selectTargetAsClicked(TargetTypeId target) {
    buttons_.SelectTargetAsClicked(target);
    showSelection();
}

void MainWindow::restorePanel() {
    // No saved settings yet: the General Video category.
    if (!isValidTarget(buttons_.currentTarget()))
        buttons_.ConverterTypeClick(Category::GeneralVideo);
    showSelection();
}

void MainWindow::addFilesLater(const std::vector<std::string>& paths) {
    QTimer::singleShot(100, this, [this, paths] {
        pendingFiles_.insert(pendingFiles_.end(), paths.begin(), paths.end());
        showSelection();
    });
}

void MainWindow::selectTarget(TargetTypeId) {}

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

} // namespace quilo
