// What the program asks of the desktop: open a document or address, show a file
// in the file manager, hand a mail to the mail client, show a notification,
// power the computer off.
// Behind one interface so that tests replace it (a test must never shut
// anything down).
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

// Records every request; answers as configured.
class RecordingDesktopServices : public DesktopServices {
public:
    bool openDocument(const std::string& pathOrUrl) override {
        opened.push_back(pathOrUrl);
        return openResult;
    }
    bool showInFileManager(const std::string& filePath) override {
        shown.push_back(filePath);
        return showResult;
    }
    int sendMail(const MailMessage& message) override {
        mails.push_back(message);
        return mailResult;
    }
    bool notify(const std::string& summary, const std::string& body) override {
        notifications.push_back(summary + "\n" + body);
        return notifyResult;
    }
    bool powerOff() override {
        ++powerOffRequests;
        return powerOffResult;
    }

    std::vector<std::string> opened;
    std::vector<std::string> shown;
    std::vector<MailMessage> mails;
    std::vector<std::string> notifications; // summary, a line break, the body
    int powerOffRequests = 0;
    bool openResult = true;
    bool showResult = true;
    int mailResult = MailSent;
    bool notifyResult = true;
    bool powerOffResult = true;
};

} // namespace quilo
