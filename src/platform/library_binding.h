// Binding a run-time library: load it, check that it implements the version of
// its interface this program was built for, and look up every name the program
// calls. Every library is bound the same way, so every refusal reads the same.
#pragma once

#include "platform/library_loader.h"

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace quilo {

// One name a library exports and the function pointer that receives its address.
struct LibraryName {
    const char* name;
    void* slot;            // the address of a function pointer
    bool optional = false; // a library without it is still bound; the pointer stays null
};

template <typename F> LibraryName BindName(const char* name, F& slot, bool optional = false) {
    static_assert(std::is_pointer_v<F> && std::is_function_v<std::remove_pointer_t<F>>,
                  "a library name binds to a function pointer");
    return {name, &slot, optional};
}

// How a library tells which version it is.
struct LibraryVersion {
    const char* function; // the name it is asked through
    std::string wanted;   // the version this program needs, as a refusal names it
    // The version the library reports, asked through the function's address
    // (and, where the asking needs more of the library, through its other names).
    std::function<std::string(void* function, const SharedLibrary& library)> read;
    // Whether the reported version is one this program can use.
    std::function<bool(const std::string& found)> accepts;
};

// A library that answers `int function(void)` with the number of its interface
// version, which must equal `wanted`.
LibraryVersion NumberedVersion(const char* function, int wanted);

class LibraryBinder {
public:
    // Loads the library at `path` (a bare name is searched the system's way),
    // checks its version and fills every slot. On failure every slot is null,
    // the library is released and error() says why in one line naming the file.
    bool Bind(const std::string& path, const LibraryVersion& version, const std::vector<LibraryName>& names);
    void Release() { library_.unload(); }
    bool bound() const { return library_.isLoaded(); }
    const std::string& error() const { return error_; }

private:
    bool refuse(std::string reason, const std::vector<LibraryName>& names);

    SharedLibrary library_;
    std::string error_;
};

// A library bound into `Api`, a table of function pointers that lists its own
// names (`static std::vector<LibraryName> Names(Api&)`) and says how the
// library tells its version (`static LibraryVersion Version()`).
template <typename Api> class RuntimeLibrary {
public:
    RuntimeLibrary() = default;
    RuntimeLibrary(const RuntimeLibrary&) = delete;
    RuntimeLibrary& operator=(const RuntimeLibrary&) = delete;

    // Releases the library held, then binds the one at `path`. False (and
    // error()) when it cannot be loaded, is another version or lacks a name.
    bool Load(const std::string& path) {
        Unload();
        Api bound{};
        if (!binder_.Bind(path, Api::Version(), Api::Names(bound)))
            return false;
        api_ = bound;
        return true;
    }
    void Unload() {
        api_ = Api{};
        binder_.Release();
    }
    bool loaded() const { return binder_.bound(); }
    // Every pointer is null while nothing is bound.
    const Api& api() const { return api_; }
    const std::string& error() const { return binder_.error(); }

private:
    LibraryBinder binder_;
    Api api_{};
};

} // namespace quilo
