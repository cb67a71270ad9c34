// The add-link dialog without its window: the page address field, what the
// clipboard puts into it, and the checks before a link is taken.
#pragma once

#include "platform/prompter.h"

#include <string>
#include <vector>

namespace quilo {

inline constexpr const char* WrongVideoUrlText = "Please enter the correct video URL.";
inline constexpr const char* DuplicateVideoUrlText = "The video link already exist";

// Page addresses are taken only over HTTP and HTTPS, written in lower case.
bool IsWebPageAddress(const std::string& text);

class AddLinkForm {
public:
    // The dialog's fixed texts.
    static constexpr const char* Title = "Download Online Video:";
    static constexpr const char* Browse = "Open your web browser and navigate to the online video page,";
    static constexpr const char* Example = "http://www.example-videos.com/watch?v=Qx3Lw8a1";
    static constexpr const char* Paste = "Copy and paste the page URL here:";
    static constexpr const char* Support = "Support: YouTube, Vimeo, Break, google, buzzhumor, dailymotion;\n"
                                           "funnyhub, golem, liveleak, myubo, sevenload";

    // The URL field (edt_WebUrl).
    std::string Url;

    // The dialog opens: a clipboard text that looks like a page address (in any
    // case) goes into the field unchanged; anything else leaves the field as it was.
    void Show(const std::string& clipboard);

    // OK: trims the field; false, after saying why, when the address is no web
    // page address or is one of `existing`. The dialog stays open then.
    bool Accept(const std::vector<std::string>& existing, Prompter& prompter);
};

} // namespace quilo
