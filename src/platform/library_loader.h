// A run-time library loaded from a file, and the addresses of its names.
// Binding one for use (version and names checked) is library_binding.h.
#pragma once

#include <string>

namespace quilo {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary() { unload(); }
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The folder of the running executable, ending with '/'.
    static std::string programFolder();

    // A path with a '/' is taken as it is; a bare name is searched the system's way.
    bool load(const std::string& path);
    void unload();
    bool isLoaded() const { return handle_ != nullptr; }
    // Why the last load failed.
    const std::string& error() const { return error_; }
    // The file the loaded library came from, also when it was found by a bare name.
    std::string filePath() const;

    // The address of an exported name; null when the library lacks it.
    void* symbol(const char* name) const;

private:
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace quilo
