// A web server on 127.0.0.1 for the downloader tests, serving a folder of pages
// and generated media (see page_server.py for its slow and hanging paths).
#pragma once

#include <QProcess>
#include <string>

namespace quilo::test {

class PageServer {
public:
    explicit PageServer(const std::string& folder);
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    bool running() const { return port_ > 0; }
    // "http://127.0.0.1:<port>/<path>"
    std::string url(const std::string& path) const;

private:
    QProcess process_;
    int port_ = 0;
};

// A page whose body holds `body`.
std::string pageWith(const std::string& title, const std::string& body);
// A port on 127.0.0.1 that nothing listens on at the moment.
int unusedPort();

} // namespace quilo::test
