#include "platform/command_handoff.h"

#include "platform/runtime_folder.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quilo {
namespace {

// The named lock: a flock'ed file, released by the system if its holder dies,
// so a crash never leaves it held. Without a runtime folder we go unguarded
// rather than not at all.
class BlockLock {
public:
    explicit BlockLock(const std::string& blockName) {
        const std::string folder = runtimeFolder();
        if (folder.empty())
            return;
        fd_ = open((folder + blockName + "Mtx").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0)
            return;
        while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~BlockLock() {
        if (fd_ >= 0)
            close(fd_);
    }
    BlockLock(const BlockLock&) = delete;
    BlockLock& operator=(const BlockLock&) = delete;

private:
    int fd_ = -1;
};

int openOwnBlock(const std::string& name) {
    const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    // A block another user made could be read by that user: our file names are not theirs.
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_uid != getuid()) {
        close(fd);
        return -1;
    }
    return fd;
}

// The mapped block, made at its full size when missing or short.
class MappedBlock {
public:
    explicit MappedBlock(const std::string& blockName) {
        // Shared memory names are machine-wide; when another user owns the
        // name, both sides of this user fall back to a name of their own.
        int fd = openOwnBlock("/" + blockName);
        if (fd < 0)
            fd = openOwnBlock("/" + blockName + "-" + std::to_string(getuid()));
        if (fd < 0)
            return;
        struct stat info {};
        if (fstat(fd, &info) == 0 && info.st_size < static_cast<off_t>(CommandHandoffSize))
            (void)!ftruncate(fd, CommandHandoffSize);
        // Touching a mapping beyond the end of a short object would kill us with SIGBUS.
        if (fstat(fd, &info) != 0 || info.st_size < static_cast<off_t>(CommandHandoffSize)) {
            close(fd);
            return;
        }
        void* address = mmap(nullptr, CommandHandoffSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        if (address != MAP_FAILED)
            data_ = static_cast<char*>(address);
    }
    ~MappedBlock() {
        if (data_)
            munmap(data_, CommandHandoffSize);
    }
    MappedBlock(const MappedBlock&) = delete;
    MappedBlock& operator=(const MappedBlock&) = delete;

    char* data() const { return data_; }

private:
    char* data_ = nullptr;
};

QString socketPathFor(const std::string& productName) {
    const std::string folder = runtimeFolder();
    if (folder.empty())
        return {};
    return QString::fromStdString(folder + safeFileName(productName) + ".socket");
}

// The text that fits: only whole lines, since a cut line would name another file.
std::string fittingText(const std::string& text) {
    const size_t room = CommandHandoffSize - 1;
    if (text.size() <= room)
        return text;
    const size_t lastBreak = text.rfind('\n', room - 1);
    return lastBreak == std::string::npos ? std::string{} : text.substr(0, lastBreak + 1);
}

bool poke(const QString& path) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write("\1", 1);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

} // namespace

std::vector<std::string> splitHandoffText(const char* block, std::size_t size) {
    const std::string text(block, strnlen(block, size));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool sendCommandHandoff(const std::string& productName, const std::string& text, int waitMs,
                        const std::string& blockName) {
    const QString path = socketPathFor(productName);
    if (path.isEmpty())
        return false;
    const std::string name = safeFileName(blockName);
    const std::string fitting = fittingText(text);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); };

    // Several starts at once (a file manager opening many files) would each
    // overwrite the one block before the running program read it, and all but
    // the last text would be lost. So a sender waits until the block is empty
    // again; a text nobody takes within the wait is stale and is overwritten.
    for (bool written = false; !written;) {
        {
            BlockLock lock(name);
            MappedBlock block(name);
            if (!block.data())
                return false;
            if (block.data()[0] == 0 || std::chrono::steady_clock::now() >= deadline) {
                std::memset(block.data(), 0, CommandHandoffSize);
                std::memcpy(block.data(), fitting.data(), fitting.size());
                written = true;
            }
        }
        if (!written)
            pause(); // without the lock, so that the receiver can take the waiting text
    }
    while (!poke(path)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            // Nobody will read it: leave no text behind to hold up the next sender.
            BlockLock lock(name);
            MappedBlock block(name);
            if (block.data() && std::memcmp(block.data(), fitting.data(), fitting.size()) == 0 &&
                block.data()[fitting.size()] == 0)
                std::memset(block.data(), 0, CommandHandoffSize);
            return false;
        }
        pause();
    }
    return true;
}

bool sendCommandHandoff(const std::string& productName, const std::string& text, int waitMs) {
    return sendCommandHandoff(productName, text, waitMs, CommandHandoffBlock);
}

std::vector<std::string> takeCommandHandoff(const std::string& blockName) {
    char copy[CommandHandoffSize];
    {
        const std::string name = safeFileName(blockName);
        BlockLock lock(name);
        MappedBlock block(name);
        if (!block.data())
            return {};
        std::memcpy(copy, block.data(), CommandHandoffSize);
        std::memset(block.data(), 0, CommandHandoffSize);
    }
    return splitHandoffText(copy, CommandHandoffSize);
}

std::vector<std::string> takeCommandHandoff() {
    return takeCommandHandoff(CommandHandoffBlock);
}

CommandHandoffReceiver::CommandHandoffReceiver(const QString& productName, QObject* parent)
    : QObject(parent), socketPath_(socketPathFor(productName.toStdString())) {}

CommandHandoffReceiver::~CommandHandoffReceiver() {
    if (server_)
        server_->close(); // removes the socket file
}

bool CommandHandoffReceiver::listen() {
    if (server_ && server_->isListening())
        return true;
    if (socketPath_.isEmpty())
        return false;
    if (!server_) {
        server_ = new QLocalServer(this);
        // No access options: with them Qt binds elsewhere and renames the socket
        // over ours, silently taking a running instance's place. The runtime
        // folder is the user's own anyway.
        connect(server_, &QLocalServer::newConnection, this, &CommandHandoffReceiver::acceptPokes);
    }
    if (server_->listen(socketPath_))
        return true;
    if (server_->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // A socket file nobody answers on is left over from a crashed run.
    QLocalSocket probe;
    probe.connectToServer(socketPath_);
    if (probe.waitForConnected(1000)) {
        probe.disconnectFromServer();
        return false;
    }
    QLocalServer::removeServer(socketPath_);
    return server_->listen(socketPath_);
}

// Only a connection that carries the poke byte counts: another instance's
// check whether we listen connects and leaves without a word.
void CommandHandoffReceiver::acceptPokes() {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        const auto consume = [this, client] {
            if (!client->readAll().isEmpty()) {
                client->disconnect(this);
                client->disconnectFromServer();
                emit handoffArrived();
            }
        };
        connect(client, &QLocalSocket::readyRead, this, consume);
        consume();
    }
}

} // namespace quilo
