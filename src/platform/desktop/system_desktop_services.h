// The desktop services of a Linux session: the default handlers (xdg-open),
// the file manager and the notification service over D-Bus, xdg-email, and logind.
#pragma once

#include "platform/desktop_services.h"

namespace quilo {

class SystemDesktopServices : public DesktopServices {
public:
    bool openDocument(const std::string& pathOrUrl) override;
    bool showInFileManager(const std::string& filePath) override;
    int sendMail(const MailMessage& message) override;
    bool notify(const std::string& summary, const std::string& body) override;
    bool powerOff() override;
};

} // namespace quilo
