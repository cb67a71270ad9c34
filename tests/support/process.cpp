#include "quilo_test/support.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace quilo::test {

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
                         const std::map<std::string, std::string>& env, const std::string& workingDir) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env) {
        if (value.empty())
            environment.remove(QString::fromStdString(name));
        else
            environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
    process.setProcessEnvironment(environment);
    if (!workingDir.empty())
        process.setWorkingDirectory(QString::fromStdString(workingDir));
    QStringList arguments;
    for (const auto& arg : args)
        arguments << QString::fromStdString(arg);

    ProcessResult result;
    process.start(QString::fromStdString(program), arguments);
    if (!process.waitForStarted(10000)) {
        result.err = "cannot start " + program;
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        result.timedOut = true;
        process.kill();
        process.waitForFinished(5000);
    }
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = result.crashed ? -1 : process.exitCode();
    return result;
}

bool startConverter(QProcess& process, const std::map<std::string, std::string>& env,
                    const std::vector<std::string>& arguments, std::string& printed) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env)
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    process.setProcessEnvironment(environment);
    QStringList args;
    for (const auto& argument : arguments)
        args << QString::fromStdString(argument);
    process.start(QString::fromStdString(programDir() + "quilo-convert"), args);
    if (!process.waitForStarted())
        return false;
    while (printed.find("fps ") == std::string::npos && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        printed += process.readAllStandardError().toStdString();
    }
    return printed.find("fps ") != std::string::npos;
}

} // namespace quilo::test
