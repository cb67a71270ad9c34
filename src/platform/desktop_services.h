// What the program asks of the desktop: open a document or address, show a file
// in the file manager, hand a mail to the mail client, power the computer off.
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
    virtual bool openDocument(const std::string& pathOrUrl) = 0;
    virtual bool showInFileManager(const std::string& filePath) = 0;
    virtual int sendMail(const MailMessage& message) = 0;
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
    bool powerOff() override {
        ++powerOffRequests;
        return powerOffResult;
    }

    std::vector<std::string> opened;
    std::vector<std::string> shown;
    std::vector<MailMessage> mails;
    int powerOffRequests = 0;
    bool openResult = true;
    bool showResult = true;
    int mailResult = MailSent;
    bool powerOffResult = true;
};

} // namespace quilo
