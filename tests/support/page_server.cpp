#include "quilo_test/page_server.h"

#include "quilo_test/support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quilo::test {

PageServer::PageServer(const std::string& folder) {
    const std::string script = sourceDir() + "tests/support/page_server.py";
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start("python3", {QString::fromStdString(script), QString::fromStdString(folder)});
    // The server picks a free port itself and names it on its first line.
    while (process_.waitForReadyRead(30000)) {
        if (process_.canReadLine()) {
            port_ = process_.readLine().trimmed().toInt();
            break;
        }
    }
}

PageServer::~PageServer() {
    process_.kill();
    process_.waitForFinished(30000);
}

std::string PageServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

std::string pageWith(const std::string& title, const std::string& body) {
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

int unusedPort() {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    close(listener);
    return ntohs(address.sin_port);
}

} // namespace quilo::test
