#include "app/converter_application.h"

#include "conversion/user_log.h"
#include "skin/skin_palette.h"

#include <QIcon>
#include <exception>

namespace quilo {

ConverterApplication::ConverterApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The window manager knows the program by its class (the desktop entry's
    // StartupWMClass), the desktop by its entry's name.
    setApplicationName(QStringLiteral("quilo-converter"));
    setDesktopFileName(QString::fromLatin1(QUILO_APP_ID));
    // Outside a desktop that names an icon theme, Qt's file dialogs would draw
    // their tool buttons blank: they take their icons from this one.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

void ConverterApplication::applySkin() {
    skin::Apply(*this);
}

bool ConverterApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        record(error.what());
    } catch (...) {
        record("unknown error");
    }
    return false;
}

void ConverterApplication::record(const std::string& message) const {
    if (!dataFolder_.empty())
        UserLog(dataFolder_).LogError(message, {});
}

} // namespace quilo
