// What the program asks of the desktop: open a document or address, show a file
// in the file manager, hand a mail to the mail client, show a notification,
// power the computer off.
// Behind one interface so that tests replace it (a test must never shut
// anything down; see quilo_test/test_doubles.h).
#pragma once

#include <string>
#include <vector>

namespace quilo {

struct MailMessage {
    std::string to;
    std::string subject;
    std::string body;
    std::vector<std::string> attachments;
};

class DesktopServices {
public:
    static constexpr int MailSent = 0;
    static constexpr int MailClientMissing = -1;

    virtual ~DesktopServices() = default;
    // False when nothing could open it (for a folder: no file manager).
    virtual bool openDocument(const std::string& pathOrUrl) = 0;
    virtual bool showInFileManager(const std::string& filePath) = 0;
    virtual int sendMail(const MailMessage& message) = 0;
    // A desktop notification; false when the desktop has no notification service.
    virtual bool notify(const std::string& summary, const std::string& body) = 0;
    virtual bool powerOff() = 0;
};

} // namespace quilo
