#include "conversion/engine_api.h"

namespace quilo {

bool EngineLibrary::Load(const std::string& folder) {
    api_ = {};
    error_.clear();
    if (!library_.load(folder + EngineLibraryName)) {
        error_ = library_.error();
        return false;
    }
    std::string missing;
#define QUILO_ENGINE_BIND(name)                                                                              \
    api_.name = reinterpret_cast<decltype(api_.name)>(library_.symbol(#name));                               \
    if (!api_.name)                                                                                          \
        missing += std::string(missing.empty() ? "" : ", ") + #name;
    QUILO_ENGINE_ENTRY_POINTS(QUILO_ENGINE_BIND)
#undef QUILO_ENGINE_BIND
    if (!missing.empty()) {
        error_ = folder + EngineLibraryName + " lacks " + missing;
        api_ = {};
        library_.unload();
        return false;
    }
    return true;
}

int EngineCoreCount() {
    EngineLibrary engine;
    if (!engine.Load())
        return 0;
    return engine.api().X_Get_CPU_Core_Number();
}

} // namespace quilo
