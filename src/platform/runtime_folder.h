// Where the program keeps its locks and sockets.
#pragma once

#include <string>

namespace quilo {

// The user's private runtime folder ($XDG_RUNTIME_DIR when it is a folder, else /tmp/quilo-<uid>/
// made private to the user), ending with '/'. Empty when no safe folder exists.
std::string runtimeFolder();

// A name fit to be one file name: characters other than letters, digits, '.',
// '-' and '_' become '_', and a name of only dots or an empty one becomes "_".
// Product names come from a file and must not reach outside the folder.
std::string safeFileName(const std::string& name);

} // namespace quilo
