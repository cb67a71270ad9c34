// Second process for the platform tests.
//   ini-writer PATH                    writes keys to PATH until killed
//   hold-lock NAME                     takes the single-instance lock, says "locked" or "busy",
//                                      then waits for stdin to close
//   try-lock NAME                      exit 0 when the lock was free, 3 when busy
//   handoff-send NAME TEXT [BLOCK]     hands TEXT to the running receiver; exit 0 when delivered
//   handoff-receive NAME [BLOCK] [N]   listens, prints each line of a hand-off as [line] and "end"
//                                      after it, exits after N hand-offs (1)
//   fill-block BLOCK                   fills the block with 1024 non-zero bytes, as a foreign writer might
//   folders                            prints the four special folders, one a line
//   volumes                            prints "volume ROOT TYPE LABEL" for each mounted volume and
//                                      "removable ROOT" for each removable one
#include "platform/command_handoff.h"
#include "platform/ini_file.h"
#include "platform/mounted_volumes.h"
#include "platform/single_instance.h"
#include "platform/user_folders.h"

#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

using namespace quilo;

namespace {

int fillBlock(const std::string& name) {
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0 || ftruncate(fd, CommandHandoffSize) != 0)
        return 1;
    void* block = mmap(nullptr, CommandHandoffSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (block == MAP_FAILED)
        return 1;
    std::memset(block, 'x', CommandHandoffSize);
    munmap(block, CommandHandoffSize);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 64;
    const std::string mode = argv[1];
    if (mode == "volumes") {
        for (const MountedVolume& volume : MountedVolumes())
            std::cout << "volume " << volume.root << ' ' << volume.fileSystemType << ' '
                      << volume.label.value_or("(unreadable)") << '\n';
        for (const std::string& root : RemovableVolumeRoots())
            std::cout << "removable " << root << '\n';
        return 0;
    }
    if (mode == "folders") {
        std::cout << applicationDataFolder() << "\n"
                  << documentsFolder() << "\n"
                  << videosFolder() << "\n"
                  << picturesFolder() << std::endl;
        return 0;
    }
    if (argc < 3)
        return 64;
    if (mode == "ini-writer") {
        IniFile file(argv[2]);
        for (long i = 0;; ++i)
            file.writeString("Keys", "key" + std::to_string(i % 5000), std::string(40, 'a' + i % 26));
    }
    if (mode == "hold-lock" || mode == "try-lock") {
        SingleInstanceLock lock(argv[2]);
        const bool mine = lock.tryAcquire();
        if (mode == "try-lock")
            return mine ? 0 : 3;
        std::cout << (mine ? "locked" : "busy") << std::endl;
        std::string ignored;
        std::getline(std::cin, ignored);
        return 0;
    }
    if (mode == "fill-block")
        return fillBlock(argv[2]);
    const std::string block = argc >= 5 ? argv[4] : CommandHandoffBlock;
    if (mode == "handoff-send" && argc >= 4)
        return sendCommandHandoff(argv[2], argv[3], 20000, block) ? 0 : 1;
    if (mode == "handoff-receive") {
        const std::string receiveBlock = argc >= 4 ? argv[3] : CommandHandoffBlock;
        int remaining = argc >= 5 ? std::atoi(argv[4]) : 1;
        QCoreApplication app(argc, argv);
        CommandHandoffReceiver receiver(argv[2]);
        if (!receiver.listen()) {
            std::cout << "not listening" << std::endl;
            return 2;
        }
        QObject::connect(&receiver, &CommandHandoffReceiver::handoffArrived, [&] {
            for (const auto& line : takeCommandHandoff(receiveBlock))
                std::cout << "[" << line << "]" << std::endl;
            std::cout << "end" << std::endl;
            if (--remaining <= 0)
                app.quit();
        });
        std::cout << "listening" << std::endl;
        return app.exec();
    }
    return 64;
}
