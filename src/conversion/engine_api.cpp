#include "conversion/engine_api.h"

namespace quilo {

std::vector<LibraryName> EngineApi::Names(EngineApi& api) {
    return {
#define QUILO_ENGINE_NAME(name) BindName(#name, api.name),
        QUILO_ENGINE_ENTRY_POINTS(QUILO_ENGINE_NAME)
#undef QUILO_ENGINE_NAME
    };
}

LibraryVersion EngineApi::Version() {
    return NumberedVersion("X_Get_Version", TRANZEL_ABI_VERSION);
}

int EngineCoreCount() {
    EngineLibrary engine;
    if (!engine.Load(EngineLibraryPath()))
        return 0;
    return engine.api().X_Get_CPU_Core_Number();
}

} // namespace quilo
