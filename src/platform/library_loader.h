// Run-time libraries loaded by name from the program folder and bound by name.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

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

    void* symbol(const char* name) const;
    template <typename F> F function(const char* name) const { return reinterpret_cast<F>(symbol(name)); }
    // The names the library does not export.
    std::vector<std::string> missing(std::initializer_list<const char*> names) const;

private:
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace quilo
