// A second start of the program hands its command line to the running one: the
// text goes into a 1024-byte shared memory block "CommandParam" guarded by the
// lock "CommandParamMtx", and a poke over a local socket named after the product
// tells the running program to read it.
#pragma once

#include <QObject>
#include <cstddef>
#include <string>
#include <vector>

class QLocalServer;

namespace quilo {

inline constexpr std::size_t CommandHandoffSize = 1024;
inline constexpr const char* CommandHandoffBlock = "CommandParam";

// Sender side. Writes at most 1023 bytes of `text` (lines separated by "\n") and
// zero bytes after it, then pokes the receiver, retrying for up to `waitMs` while
// the running program may still be starting. False when nobody listens or the
// block cannot be opened. A text too long for the block loses its last, cut line
// rather than handing over a shortened path. While another sender's text still
// waits in the block to be taken, this one waits (within `waitMs`) rather than
// overwrite it.
bool sendCommandHandoff(const std::string& productName, const std::string& text, int waitMs = 5000);

// Receiver side: copies the block, fills it with zeros, and returns its lines.
// The block is read as at most 1024 bytes and never trusted to hold a terminator;
// a trailing "\r" of a line is dropped.
std::vector<std::string> takeCommandHandoff();

// The same with another block (and its lock, the block name followed by "Mtx"),
// so that tests run beside a real instance without disturbing it.
bool sendCommandHandoff(const std::string& productName, const std::string& text, int waitMs,
                        const std::string& blockName);
std::vector<std::string> takeCommandHandoff(const std::string& blockName);

// The text of a block as the receiver reads it, split into lines.
std::vector<std::string> splitHandoffText(const char* block, std::size_t size);

// Listens for pokes on the thread it lives on.
class CommandHandoffReceiver : public QObject {
    Q_OBJECT
public:
    explicit CommandHandoffReceiver(const QString& productName, QObject* parent = nullptr);
    ~CommandHandoffReceiver() override;

    // False when the socket cannot be set up or another instance already
    // listens. A socket left behind by a crashed run is removed.
    bool listen();
    // The socket's path, for messages.
    QString socketPath() const { return socketPath_; }

signals:
    void handoffArrived();

private:
    void acceptPokes();

    QString socketPath_;
    QLocalServer* server_ = nullptr;
};

} // namespace quilo
