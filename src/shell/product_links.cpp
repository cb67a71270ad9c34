#include "shell/product_links.h"

#include "platform/ini_file.h"

#include <filesystem>

namespace quilo {
namespace {

constexpr const char* LinksSection = "Links";

void openIfKnown(DesktopServices& desktop, const std::string& address) {
    if (!address.empty())
        desktop.openDocument(address);
}

std::string withoutTrailingSlash(std::string text) {
    while (!text.empty() && text.back() == '/')
        text.pop_back();
    return text;
}

} // namespace

ProductLinks ProductLinks::Read(const std::string& programFolder) {
    const IniFile file(programFolder + ProductLinksFileName);
    return {withoutTrailingSlash(file.readString(LinksSection, "Site", "")),
            file.readString(LinksSection, "HomePage", ""), file.readString(LinksSection, "SupportMail", ""),
            file.readString(LinksSection, "ProblemReportAddress", "")};
}

std::string ProductLinks::DownloadPage(const std::string& productVersion) const {
    return site.empty() ? std::string()
                        : site + "/video-converter/download.htm?type=full&version=" + productVersion;
}

std::string ProductLinks::UpdateLogPage() const {
    return site.empty() ? std::string() : site + "/video-converter/updatelog.htm";
}

std::string ProductLinks::MultiTrackPage() const {
    return site.empty() ? std::string() : site + "/video-converter/multi-track-hd-video.htm";
}

void CheckNewVersion(const ProductLinks& links, const std::string& productVersion, DesktopServices& desktop) {
    openIfKnown(desktop, links.DownloadPage(productVersion));
}

void OpenHomePage(const ProductLinks& links, DesktopServices& desktop) {
    openIfKnown(desktop, links.homePage);
}

void ContactSupport(const ProductLinks& links, DesktopServices& desktop) {
    if (!links.supportMail.empty())
        desktop.openDocument("mailto:" + links.supportMail);
}

void ViewUpdateLog(const ProductLinks& links, const std::string& programFolder, DesktopServices& desktop) {
    openIfKnown(desktop, links.UpdateLogPage());
    std::error_code error;
    if (std::filesystem::is_regular_file(programFolder + "updatelog.txt", error))
        desktop.openDocument(programFolder + "updatelog.txt");
}

} // namespace quilo
