#include "shell/mail_and_help.h"

#include <filesystem>
#include <map>
#include <system_error>

namespace quilo {

void OpenHtmlHelpPage(DesktopServices& desktop, const std::string& pathOrAddress) {
    desktop.openDocument(pathOrAddress);
}

MailMessage MailFromLines(const std::vector<std::string>& lines) {
    std::map<std::string, std::string> values;
    for (const std::string& line : lines) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            values.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    MailMessage mail;
    mail.to = values["To"];
    mail.subject = values["Subject"];
    mail.body = values["Body"];
    for (int index = 0;; ++index) {
        const auto found = values.find("Attachment" + std::to_string(index));
        if (found == values.end() || found->second.empty())
            break;
        mail.attachments.push_back(found->second);
    }
    return mail;
}

int SendMail(const std::vector<std::string>& lines, DesktopServices& desktop, Prompter& prompter) {
    const int result = desktop.sendMail(MailFromLines(lines));
    if (result == DesktopServices::MailClientMissing)
        prompter.warn("Cannot find email client program!\nYou cannot use this feature!");
    return result;
}

int SendLogFiles(const std::string& dataFolder, const std::string& productVersion, const std::string& address,
                 DesktopServices& desktop, Prompter& prompter) {
    std::vector<std::string> lines = {
        "To=" + address,
        "Subject=" + productVersion + " Log File",
        "Body=In order to offer you fast and efficient service, please attach a screenshot about the program "
        "issue in your email if possible.",
    };
    int attachment = 0;
    for (const char* name : {"UserLog.log", "tamberlog.log"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(dataFolder + name, error))
            lines.push_back("Attachment" + std::to_string(attachment++) + "=" + dataFolder + name);
    }
    return SendMail(lines, desktop, prompter);
}

} // namespace quilo
