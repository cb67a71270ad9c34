// The product's web addresses and mail addresses, read from ProductLinks.ini
// in the program folder, and the header buttons' actions that use them.
#pragma once

#include "platform/desktop_services.h"

#include <string>

namespace quilo {

inline constexpr const char* ProductLinksFileName = "ProductLinks.ini";

struct ProductLinks {
    std::string site; // no trailing '/'
    std::string homePage;
    std::string supportMail; // the contact button's address
    std::string problemReportAddress;

    // Missing keys stay empty; the actions then do nothing.
    static ProductLinks Read(const std::string& programFolder);

    std::string DownloadPage(const std::string& productVersion) const;
    std::string UpdateLogPage() const;
    std::string MultiTrackPage() const;
};

// The header buttons and the about window's links.
void CheckNewVersion(const ProductLinks& links, const std::string& productVersion, DesktopServices& desktop);
void OpenHomePage(const ProductLinks& links, DesktopServices& desktop);
void ContactSupport(const ProductLinks& links, DesktopServices& desktop);
// The online update log, then the program folder's "updatelog.txt" when there is one.
void ViewUpdateLog(const ProductLinks& links, const std::string& programFolder, DesktopServices& desktop);

} // namespace quilo
