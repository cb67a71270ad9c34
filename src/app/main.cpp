// quilo-converter [/TARGET] [FILE...]
// Checks the product identity, keeps to one running copy per user (a second
// start hands its command line to the first), shows the start-up picture while
// the windows are built, then runs until the main window closes.
#include "app/converter_application.h"
#include "conversion/engine_api.h"
#include "platform/command_handoff.h"
#include "platform/desktop/qt_prompter.h"
#include "platform/program_folders.h"
#include "platform/single_instance.h"
#include "shell/command_line.h"
#include "shell/product_identity.h"
#include "skin/program_icon.h"
#include "ui/main_window.h"
#include "ui/splash_window.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <chrono>
#include <exception>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

namespace {

// Files are named by absolute paths: a running copy started elsewhere must find them.
std::vector<std::string> argumentsOf(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (!argument.empty() && !quilo::IsTargetSwitch(argument)) {
            std::error_code error;
            const auto absolute = std::filesystem::absolute(argument, error);
            if (!error)
                argument = absolute.lexically_normal().string();
        }
        arguments.push_back(argument);
    }
    return arguments;
}

std::string handoffText(const std::vector<std::string>& arguments) {
    std::string text;
    for (const auto& argument : arguments)
        text += argument + "\n";
    return text;
}

int runFirstInstance(int argc, char** argv, const quilo::ProductIdentity& identity,
                     const quilo::ProgramFolders& program) {
    quilo::ConverterApplication app(argc, argv);
    try {
        QApplication::setApplicationDisplayName(QString::fromStdString(identity.displayProductName));
        quilo::SplashWindow splash(QString::fromStdString(identity.displayProductName),
                                   QString::fromStdString(identity.productVersion));
        splash.show();
        splash.repaint();
        splash.startFadeIn();
        // Loading the engine for its processor count takes longer than anything
        // else at start: it loads on its own thread while the splash fades in.
        // Not before the splash is up: libraries load one at a time, and Qt's
        // own would wait for the engine's.
        std::future<int> processorCores =
            std::async(std::launch::async, [] { return quilo::EngineCoreCount(); });
        QApplication::setWindowIcon(quilo::skin::ProgramIcons());
        app.applySkin();

        // The windows are built while the splash fades in.
        quilo::MainWindowServices services;
        services.pace = [&splash] { splash.keepFading(); };
        services.processorCores = [&splash, &processorCores] {
            while (processorCores.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
                splash.keepFading();
            return processorCores.get();
        };
        quilo::MainWindow window(identity, program, std::move(services));
        app.setDataFolder(window.dataFolder());
        quilo::CommandHandoffReceiver receiver(QString::fromStdString(identity.productName));
        QObject::connect(&receiver, &quilo::CommandHandoffReceiver::handoffArrived, &window,
                         &quilo::MainWindow::takeHandoff);
        receiver.listen();

        splash.finishFadeIn();
        splash.fadeOut();
        splash.close();
        window.setWindowTitle(QString::fromStdString(identity.productName));
        window.show();
        window.applyArguments(argumentsOf(argc, argv));
        return app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QString::fromStdString(identity.displayProductName), error.what());
    } catch (...) {
        QMessageBox::critical(nullptr, QString::fromStdString(identity.displayProductName), QString());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const quilo::ProgramFolders& program = quilo::ThisProgramFolders();
    quilo::ProductIdentity identity;
    if (!quilo::LoadProductIdentity(program.files + quilo::ProductIdentityFileName, identity)) {
        quilo::ConverterApplication app(argc, argv);
        app.applySkin();
        quilo::QtPrompter().error("Initilization Error!\nPlease re-install software!");
        return -1;
    }

    quilo::SingleInstanceLock lock(identity.productName);
    if (!lock.tryAcquire()) {
        // Another copy runs: it gets our files instead of losing them.
        QCoreApplication app(argc, argv);
        const auto arguments = argumentsOf(argc, argv);
        if (!arguments.empty())
            quilo::sendCommandHandoff(identity.productName, handoffText(arguments));
        return 0;
    }
    return runFirstInstance(argc, argv, identity, program);
}
