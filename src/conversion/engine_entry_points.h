// Every name the program binds in the conversion engine, one list for the
// binding and for the test engines. The engine tells its version through
// X_Get_Version, which the binding asks before it binds these.
#pragma once

#define QUILO_ENGINE_ENTRY_POINTS(X)                                                                         \
    /* global settings, progress, stop, log */                                                               \
    X(X_SetPar_Global)                                                                                       \
    X(X_Global_Set_Crop)                                                                                     \
    X(X_Global_CMD)                                                                                          \
    X(X_SetPar_AudioChannels)                                                                                \
    X(X_Global_Set_WaterMark)                                                                                \
    X(X_Get_Info)                                                                                            \
    X(X_StopConvert)                                                                                         \
    X(X_ZLog_SetCallBackFun)                                                                                 \
    X(X_Get_CPU_Core_Number)                                                                                 \
    /* conversion */                                                                                         \
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
    X(X_SetPar_D23GP)                                                                                        \
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
    /* file information, thumbnail and frame grabber */                                                      \
    X(X_GetFileinfo_GetPic)                                                                                  \
    X(X_Get_Frame)                                                                                           \
    X(X_Get_Frame_JPEG)                                                                                      \
    X(X_GetFrame_Init)                                                                                       \
    X(X_Set_NextFrame_Time)                                                                                  \
    X(X_GetFrame_UnInit)
