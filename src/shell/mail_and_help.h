// Opening help pages and addresses, and mailing files through the user's mail
// client, over the desktop services.
#pragma once

#include "platform/desktop_services.h"
#include "platform/prompter.h"

#include <string>
#include <vector>

namespace quilo {

// Hands a path or address to the desktop's "open" action; the result is ignored.
void OpenHtmlHelpPage(DesktopServices& desktop, const std::string& pathOrAddress);

// The mail described by "To", "Subject", "Body" and "Attachment0", "Attachment1", …
// lines (name=value, names case-sensitive; attachments counted up to the first
// missing or empty one).
MailMessage MailFromLines(const std::vector<std::string>& lines);

// Opens the mail in the user's mail client. Without one, tells the user so.
// Returns the mail client's result code.
int SendMail(const std::vector<std::string>& lines, DesktopServices& desktop, Prompter& prompter);

// Mails the user log and the engine log of the data folder (those that exist)
// to `address`.
int SendLogFiles(const std::string& dataFolder, const std::string& productVersion, const std::string& address,
                 DesktopServices& desktop, Prompter& prompter);

} // namespace quilo
