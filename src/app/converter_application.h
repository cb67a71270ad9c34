// The application object: an error escaping an event handler is recorded in
// the user log and the program goes on.
#pragma once

#include <QApplication>
#include <string>

namespace quilo {

class ConverterApplication : public QApplication {
public:
    ConverterApplication(int& argc, char** argv);
    // The palette and style sheet of every window. The splash draws its own
    // picture: it shows before they are worked out.
    void applySkin();
    // Where unhandled errors are recorded; empty until the data folder is known.
    void setDataFolder(std::string folder) { dataFolder_ = std::move(folder); }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    void record(const std::string& message) const;
    std::string dataFolder_;
};

} // namespace quilo
