#include "platform/library_binding.h"

#include <algorithm>
#include <cstring>

namespace quilo {
namespace {

// The address lands in the function pointer whose address the slot holds; the
// system's loader hands out code addresses as object pointers.
void fill(const LibraryName& name, void* address) {
    static_assert(sizeof(void*) == sizeof(void (*)()));
    std::memcpy(name.slot, &address, sizeof address);
}

} // namespace

LibraryVersion NumberedVersion(const char* function, int wanted) {
    return {function, std::to_string(wanted),
            [](void* address, const SharedLibrary&) {
                int (*version)() = nullptr;
                std::memcpy(&version, &address, sizeof address);
                return std::to_string(version());
            },
            [wanted](const std::string& found) { return found == std::to_string(wanted); }};
}

bool LibraryBinder::Bind(const std::string& path, const LibraryVersion& version,
                         const std::vector<LibraryName>& names) {
    for (const LibraryName& name : names)
        fill(name, nullptr);
    if (!library_.load(path)) {
        // The loader's reason usually starts with the file it is about.
        std::string reason = library_.error();
        if (reason.starts_with(path + ": "))
            reason.erase(0, path.size() + 2);
        error_ = path + " cannot be loaded: " + reason;
        return false;
    }
    const std::string file = library_.filePath().empty() ? path : library_.filePath();

    std::vector<std::string> missing;
    if (void* versionFunction = library_.symbol(version.function)) {
        // Another version may lack names or take other arguments: its version is the reason to give.
        const std::string found = version.read(versionFunction, library_);
        if (!version.accepts(found))
            return refuse(file + " is version " + found + "; this program needs version " + version.wanted,
                          names);
    } else {
        missing.emplace_back(version.function);
    }
    for (const LibraryName& name : names) {
        void* address = library_.symbol(name.name);
        if (!address && !name.optional &&
            std::find(missing.begin(), missing.end(), name.name) == missing.end())
            missing.emplace_back(name.name);
        fill(name, address);
    }
    if (!missing.empty()) {
        std::string list;
        for (const std::string& name : missing)
            list += (list.empty() ? "" : ", ") + name;
        return refuse(file + " lacks " + list, names);
    }
    error_.clear();
    return true;
}

bool LibraryBinder::refuse(std::string reason, const std::vector<LibraryName>& names) {
    for (const LibraryName& name : names)
        fill(name, nullptr);
    library_.unload();
    error_ = std::move(reason);
    return false;
}

} // namespace quilo
