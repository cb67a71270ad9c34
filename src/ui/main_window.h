// The main window: a frameless, skin-shaped window with the category and target
// buttons. Its models answer the command line and hand-offs from a second start.
#pragma once

#include "shell/command_line.h"
#include "shell/product_identity.h"
#include "shell/target_selection.h"

#include <QLabel>
#include <QLoggingCategory>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

class QToolButton;

namespace quilo {

Q_DECLARE_LOGGING_CATEGORY(commandsLog)

class MainWindow : public QWidget, private CommandLineHost, private TargetPanelPort {
    Q_OBJECT
public:
    MainWindow(const ProductIdentity& identity, std::string programFolder);
    ~MainWindow() override;

    const std::string& dataFolder() const { return dataFolder_; }
    // The process arguments at the first showing; without any, only the panel is restored.
    void applyArguments(const std::vector<std::string>& arguments);
    // A second start handed over its command line.
    void takeHandoff();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // CommandLineHost
    void selectTargetAsClicked(TargetTypeId target) override;
    void restorePanel() override;
    void addFilesLater(const std::vector<std::string>& paths) override;
    // TargetPanelPort, until the output settings panel takes it over
    void selectTarget(TargetTypeId target) override;
    int profileCount() const override { return 0; }
    void selectProfile(int) override {}

    void buildButtons();
    void showSelection();

    std::string programFolder_;
    std::string dataFolder_;
    QImage background_;
    TargetSelectionModel buttons_;
    std::array<QToolButton*, CategoryCount> categoryButtons_{};
    std::array<QToolButton*, TargetCount> targetButtons_{};
    QLabel* status_ = nullptr;
    std::vector<std::string> pendingFiles_;
    QPoint dragOffset_;
};

} // namespace quilo
