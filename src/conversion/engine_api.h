// The conversion engine, bound once for every use: a clip's conversion, the
// questions of clip loading, the frame grabber of the preview and the crop
// dialog. Tests may fill an EngineApi with their own functions to drive cases
// the real engine cannot produce.
#pragma once

#include "conversion/engine_entry_points.h"
#include "platform/library_binding.h"
#include "platform/program_folders.h"
#include "tranzel.h"

#include <string>
#include <vector>

namespace quilo {

struct EngineApi {
#define QUILO_ENGINE_POINTER(name) decltype(&::name) name = nullptr;
    QUILO_ENGINE_ENTRY_POINTS(QUILO_ENGINE_POINTER)
#undef QUILO_ENGINE_POINTER

    static std::vector<LibraryName> Names(EngineApi& api);
    // X_Get_Version must answer TRANZEL_ABI_VERSION.
    static LibraryVersion Version();
};

inline constexpr const char* EngineLibraryName = "libTranzel.so";

// The engine loaded for one clip, one file or one grabbing session, and freed
// with this object or by Unload.
using EngineLibrary = RuntimeLibrary<EngineApi>;

// The engine's file in a library folder.
inline std::string EngineLibraryPath(const std::string& folder = ThisProgramFolders().libraries) {
    return folder + EngineLibraryName;
}

// The machine's processor cores as the engine reports them; 0 when the engine
// cannot be loaded.
int EngineCoreCount();

} // namespace quilo
