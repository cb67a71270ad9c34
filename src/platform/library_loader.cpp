#include "platform/library_loader.h"

#include <dlfcn.h>
#include <filesystem>
#include <utility>

namespace quilo {

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

std::string SharedLibrary::programFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "./";
    return executable.parent_path().string() + "/";
}

bool SharedLibrary::load(const std::string& path) {
    unload();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = dlerror();
        error_ = reason ? reason : "cannot load " + path;
        return false;
    }
    error_.clear();
    return true;
}

void SharedLibrary::unload() {
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

void* SharedLibrary::symbol(const char* name) const {
    return handle_ ? dlsym(handle_, name) : nullptr;
}

std::vector<std::string> SharedLibrary::missing(std::initializer_list<const char*> names) const {
    std::vector<std::string> absent;
    for (const char* name : names) {
        if (!symbol(name))
            absent.emplace_back(name);
    }
    return absent;
}

} // namespace quilo
