// The conversion engine as the job binds it: every entry point by name from
// libTranzel.so in the program folder. Tests may fill an EngineApi with their
// own functions to drive cases the real engine cannot produce.
#pragma once

#include "platform/library_loader.h"
#include "platform/program_folders.h"
#include "tranzel.h"

#include <string>

namespace quilo {

#define QUILO_ENGINE_ENTRY_POINTS(X)                                                                         \
    X(X_SetPar_Global)                                                                                       \
    X(X_Global_Set_Crop)                                                                                     \
    X(X_Global_CMD)                                                                                          \
    X(X_SetPar_AudioChannels)                                                                                \
    X(X_Get_Info)                                                                                            \
    X(X_StopConvert)                                                                                         \
    X(X_ZLog_SetCallBackFun)                                                                                 \
    X(X_Get_CPU_Core_Number)                                                                                 \
    X(X_SetPar_D2AVI)                                                                                        \
    X(X_TO_HD_AVI)                                                                                           \
    X(X_SetPar_D2IMP4)                                                                                       \
    X(X_SetPar_D2QTMOV)                                                                                      \
    X(X_SetPar_D2FLV)                                                                                        \
    X(X_SetPar_D2WMV)                                                                                        \
    X(X_TO_HD_AVC)                                                                                           \
    X(X_TO_HD_MP4)                                                                                           \
    X(X_TO_HD_H264)                                                                                          \
    X(X_TO_HD_MOV)                                                                                           \
    X(X_TO_HD_WMV)                                                                                           \
    X(X_TO_HD_Mobile)                                                                                        \
    X(X_TO_HD_PS3)                                                                                           \
    X(X_TO_HD_XBOX)                                                                                          \
    X(X_TO_HD_ZUNE)                                                                                          \
    X(X_SetPar_D2MPEG)                                                                                       \
    X(X_TO_HD_MPEG)                                                                                          \
    X(X_TO_HD_MPEG2TS)                                                                                       \
    X(X_TO_HD_APPLETV)                                                                                       \
    X(X_SetPar_D2IPOD_VIDEO)                                                                                 \
    X(X_SetPar_D2IPHONE_VIDEO)                                                                               \
    X(X_SetPar_D2APPLETV_VIDEO)                                                                              \
    X(X_SetPar_D2ZUNE_VIDEO)                                                                                 \
    X(X_SetPar_D2PDA_VIDEO)                                                                                  \
    X(X_SetPar_D2PSP)                                                                                        \
    X(X_SetPar_D2IPOD_MP3)                                                                                   \
    X(X_Get_Frame_JPEG)                                                                                      \
    X(X_Global_Set_WaterMark)                                                                                \
    X(X_SetPar_D23GP)

struct EngineApi {
#define QUILO_ENGINE_POINTER(name) decltype(&::name) name = nullptr;
    QUILO_ENGINE_ENTRY_POINTS(QUILO_ENGINE_POINTER)
#undef QUILO_ENGINE_POINTER
};

inline constexpr const char* EngineLibraryName = "libTranzel.so";

// The engine loaded for one clip (or one question) and freed with this object.
class EngineLibrary {
public:
    // Loads from the program's library folder; `folder` overrides it (tests).
    bool Load(const std::string& folder = ThisProgramFolders().libraries);
    const EngineApi& api() const { return api_; }
    // Why the last Load failed: the loader's message or the missing names.
    const std::string& error() const { return error_; }

private:
    SharedLibrary library_;
    EngineApi api_;
    std::string error_;
};

// The machine's processor cores as the engine reports them; 0 when the engine
// cannot be loaded.
int EngineCoreCount();

} // namespace quilo
