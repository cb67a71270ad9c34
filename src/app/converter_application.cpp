#include "app/converter_application.h"

#include "conversion/user_log.h"

#include <exception>

namespace quilo {

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
