// The about window without its widgets: the product's name, version and build,
// and its three links.
#pragma once

#include "platform/desktop_services.h"
#include "shell/product_identity.h"
#include "shell/product_links.h"

#include <string>

namespace quilo {

class AboutModel {
public:
    static constexpr const char* UpdateLogLinkText = "View update log";
    static constexpr const char* HomePageLinkText = "Home page";
    static constexpr const char* ContactLinkText = "Contact us";

    AboutModel(const ProductIdentity& identity, ProductLinks links, std::string programFolder,
               DesktopServices& desktop)
        : identity_(identity), links_(std::move(links)), programFolder_(std::move(programFolder)),
          desktop_(desktop) {}

    const std::string& productText() const { return identity_.displayProductName; }
    std::string versionText() const { return "Version " + identity_.productVersion; }
    const std::string& buildText() const { return identity_.productBuild; }

    void ViewUpdateLog() { quilo::ViewUpdateLog(links_, programFolder_, desktop_); }
    void OpenHomePage() { quilo::OpenHomePage(links_, desktop_); }
    void Contact() { ContactSupport(links_, desktop_); }

private:
    ProductIdentity identity_;
    ProductLinks links_;
    std::string programFolder_;
    DesktopServices& desktop_;
};

} // namespace quilo
