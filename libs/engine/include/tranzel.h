/* The conversion engine: decodes, encodes, converts and grabs frames.
 *
 * Loaded at run time from the program folder as libTranzel.so and bound by
 * name. Plain C calling convention, zero-terminated 8-bit texts (a NULL text
 * reads as empty), 32-bit ints.
 *
 * Three kinds of users keep separate state and may work at the same time:
 *   - loading:    X_GetFileinfo_GetPic, then X_Get_Frame for the thumbnail;
 *   - grabbing:   X_GetFrame_Init, X_Set_NextFrame_Time, X_Get_Frame,
 *                 X_GetFrame_UnInit (work runs on the engine's own thread);
 *   - converting: X_SetPar_Global, X_Global_Set_Crop, X_Global_CMD,
 *                 X_SetPar_AudioChannels, X_Global_Set_WaterMark, then one
 *                 conversion entry point; X_Get_Info and X_StopConvert may be
 *                 called from another thread meanwhile. One conversion runs at
 *                 a time; a second concurrent call fails with -1.
 *
 * Window messages (posted through the QuiloWindowPort, never sent):
 *   2312  frame grabber ready; also posted to a conversion's window once the
 *         conversion runs and X_StopConvert can stop it
 *   2412  frame available: wParam 1, or 0 when there is no frame at that second
 *   2512  frame grabber shut down
 *
 * ---------------------------------------------------------------------------
 * Engine values (exact, case-sensitive; anything else, including "nodef",
 * fails the conversion with -1 and a log line naming the value and argument):
 *
 * OutFileFormat (container)
 *   avi, mp4, ipod (MP4 Apple devices play: H.264 main profile, yuv420p, AAC),
 *   psp (MP4 for the PSP), mov, asf (Windows Media), flv, 3gp, 3g2, mkv,
 *   mpeg1 (MPEG-1 system stream), mpeg2 (MPEG-2 program stream),
 *   dvd (DVD-compliant MPEG-2 program stream that dvdauthor accepts),
 *   mpeg2ts (MPEG-2 transport stream with 192-byte M2TS packets),
 *   audio containers: mp3, aac (ADTS), m4a, ac3, ogg, wav, wma.
 *
 * VideoFormat (video codec)
 *   mpeg4, xvid (MPEG-4 part 2 tagged XVID), h264, mpeg1, mpeg2,
 *   dvd (DVD-compliant MPEG-2: GOP 18 NTSC / 15 PAL, at most 9800 kbit/s,
 *   720x480 / 720x576), wmv1, wmv2, flv (Sorenson H.263),
 *   h263 (only the standard sizes 128x96, 176x144, 352x288, 704x576,
 *   1408x1152; another size fails with a log line).
 *
 * AudioCodec
 *   mp3, aac, ac3, mp2, wma, vorbis, pcm (16-bit little-endian).
 *   Entry points without an AudioCodec argument use the container's usual
 *   codec: avi, flv, mp3 -> mp3; mpeg1, mpeg2 -> mp2; mp4, ipod, psp, mov,
 *   3gp, 3g2, m4a, aac -> aac; asf, wma -> wma; dvd, mpeg2ts, ac3 -> ac3;
 *   mkv, ogg -> vorbis; wav -> pcm.
 *
 * Texts
 *   AudioSampleRate   Hz, "44100"; "0" keeps the source rate
 *   AudioBitrate      kbit/s, "128"
 *   VideoBitRate      kbit/s, "1200"
 *   Out_Size_X_Y_BeforPad, VideoResolution   "W:H"; the picture is scaled to
 *                     the first and padded centred in black to the second
 *   VideoFrameRate    "Auto" (source rate), "N/D" ("30000/1001", "25/1") or a
 *                     decimal ("25", "12.500")
 *   VideoAspect       display aspect "4:3", "16:9", "2.21:1", "W/H" or "W:H";
 *                     "1:1" keeps the picture's own display aspect (square
 *                     pixels)
 *   AudioVolume       0..10, decibels added
 *   StartTime         first second to convert
 *   Duration          seconds to convert; "0" = to the end
 *   AudioLanguage     "-1" = the default audio stream; otherwise the stream id
 *                     as media analysis reports it (PID in a transport stream,
 *                     track number in Matroska, track id in MP4); when no audio
 *                     stream has that id, the number counts audio streams
 *                     from 0
 *   SubtitleLanguage  ignored
 *   DVDTitle, the int mode (2) and the trailing int (20051124) are ignored.
 *
 * Results of conversion entry points: 0 = converted, or stopped by
 * X_StopConvert (the file is finished and plays up to the stop); -1 = input
 * unreadable, a value unsupported, or encoding failed. The last log line of
 * a failed conversion is "<entry point>: failed: <reason>", the reason in one
 * line; of a successful one "<entry point>: done".
 *
 * A file without audio converts its pictures alone, whatever AudioLanguage
 * says; a file without pictures gets a black picture on video targets.
 * Timestamps that jump more than 10 s are taken for a discontinuity: the
 * stream goes on where it was instead of filling the gap.
 * ------------------------------------------------------------------------- */
#ifndef TRANZEL_H
#define TRANZEL_H

#include "quilo/window_port.h"

#ifdef __cplusplus
extern "C" {
#endif

#define TRANZEL_ABI_VERSION 1

#define TZ_MSG_GRABBER_READY 2312
#define TZ_MSG_FRAME_AVAILABLE 2412
#define TZ_MSG_GRABBER_CLOSED 2512

/* The file information record filled by X_GetFileinfo_GetPic. */
typedef struct TzFileInfo {
    int duration;         /* whole seconds, truncated */
    float frameRate;      /* frames per second of the video stream, 0 when none */
    float videoBitRate;   /* kbit/s of the video stream (estimated when unknown) */
    int width;            /* coded picture width in pixels, 0 without video */
    int height;           /* coded picture height in pixels, 0 without video */
    int aspectCode;       /* display aspect: 1 = 1:1, 2 = 4:3, 3 = 16:9, 4 = 2.21:1,
                             0 = none of these */
    int audioSampleRate;  /* Hz of the default audio stream, 0 without audio */
    int reserved;         /* always 0 */
    float audioBitRate;   /* kbit/s of the default audio stream */
    int aspectFlag;       /* 0 = the picture has non-square pixels and aspectCode
                             gives its display aspect; 1 = square pixels (use
                             width:height) */
    int audioChannels;    /* channels of the default audio stream */
    int hasVideo;         /* 1 when a video stream exists */
    int hasAudio;         /* 1 when an audio stream exists */
    int audioStreamCount; /* number of audio streams */
    int displayWidth;     /* width shown on screen (width corrected by the pixel aspect) */
    int durationMs;       /* duration in milliseconds */
    char container[32];   /* demuxer short name, e.g. "mov,mp4,m4a,3gp,3g2,mj2" cut */
    char videoCodec[32];  /* decoder name of the video stream, "" without video */
    char audioCodec[32];  /* decoder name of the default audio stream */
} TzFileInfo;

/* The standard argument list of the conversion entry points, split where some
 * entry points insert or leave out arguments. */
#define TZ_ARGS_HEAD                                                                                         \
    const QuiloWindowPort *window, int mode, const char *const *files, int count, const char *DVDTitle,      \
        const char *StartTime
#define TZ_ARGS_PICTURE                                                                                      \
    const char *AudioSampleRate, const char *VideoAspect, const char *VideoFormat,                           \
        const char *OutFileFormat, const char *VideoBitRate, const char *AudioBitrate,                       \
        const char *Out_Size_X_Y_BeforPad, const char *VideoResolution, const char *AlbumName,               \
        const char *ArtistName, const char *GenreName
#define TZ_ARGS_TAIL                                                                                         \
    const char *VideoFrameRate, const char *AudioLanguage, const char *SubtitleLanguage,                     \
        const char *OutputName, const char *AudioVolume, const char *Duration
/* L: head, picture, tail. */
#define TZ_ARGS_L TZ_ARGS_HEAD, TZ_ARGS_PICTURE, TZ_ARGS_TAIL

/* ---- global settings, read by the next conversion ---- */

/* The ABI version (TRANZEL_ABI_VERSION). */
int X_Get_Version(void);

/* Remembers the working-file path and the source frame-rate hint ("-1" = none;
 * otherwise used only when a source stream declares no rate). Returns 0. */
int X_Global_CMD(const char* tempFilePath, const char* frameRateHint, int mode);

/* threads: encoder and decoder threads (0 = automatic); deinterlace: non-zero
 * runs a deinterlacer; forceSync: non-zero keeps audio in step with video on
 * damaged timestamps; isTransportStream: informative; videoStreamArg: id of
 * the video stream to convert (-1 or 0 = the default). Returns 0. */
int X_SetPar_Global(int threads, int deinterlace, int unused, int forceSync, int isTransportStream,
                    int videoStreamArg);

/* The crop rectangle in source pixels, applied when cropChanged is non-zero.
 * Returns 0, or -1 (and no crop) when a text is not a number. */
int X_Global_Set_Crop(int cropChanged, const char* width, const char* height, const char* x, const char* y);

/* Output channels of the next conversion: 1 mono, 2 stereo, 0 = the source
 * layout limited to what the encoder supports. Reset to 0 after each
 * conversion. Returns 0, -1 for another value. */
int X_SetPar_AudioChannels(int channels);

/* A picture file overlaid on the video of the next conversion, its top-left
 * corner at x, y. Empty or NULL = none. Reset after each conversion.
 * Returns 0, -1 when the file cannot be read. */
int X_Global_Set_WaterMark(const char* imagePath, int x, int y);

/* ---- progress, stop, log ---- */

/* info[0] seconds done in the segment, [1] frames per second, [2] non-zero
 * while encoding, [3] percent done (0 when the length is unknown).
 * Returns 0. Safe from any thread. */
int X_Get_Info(int info[4]);

/* Makes the running conversion finish its file and return 0 within a second.
 * Returns 0. Safe from any thread; no effect when nothing runs. */
int X_StopConvert(void);

/* Receives the engine's and FFmpeg's log lines (one line per call, without the
 * line break), from any thread. NULL = discard them. Returns 0. */
int X_ZLog_SetCallBackFun(void (*callback)(const char* line));

/* Number of processor cores. */
int X_Get_CPU_Core_Number(void);

/* ---- conversion entry points (results: 0 or -1, see above) ---- */

int X_SetPar_D2AVI(TZ_ARGS_HEAD, const char* AudioCodec, TZ_ARGS_PICTURE, TZ_ARGS_TAIL, int HighQuality,
                   int magic);
int X_TO_HD_AVI(TZ_ARGS_HEAD, const char* AudioCodec, TZ_ARGS_PICTURE, TZ_ARGS_TAIL, int HighQuality,
                int magic);

int X_SetPar_D2IMP4(TZ_ARGS_L, int HighQuality, int magic);
int X_SetPar_D2QTMOV(TZ_ARGS_L, int HighQuality, int magic);
int X_SetPar_D2FLV(TZ_ARGS_L, int HighQuality, int magic);

int X_SetPar_D2WMV(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_AVC(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_MP4(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_H264(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_MOV(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_WMV(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_Mobile(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_PS3(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_XBOX(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
int X_TO_HD_ZUNE(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);
/* 3GP and 3G2 phones. */
int X_SetPar_D23GP(TZ_ARGS_L, int HighQuality, const char* AudioCodec, int magic);

/* DvdStandard: 0 none, 1 NTSC, 2 PAL; decides the DVD frame size and GOP when
 * the video codec is "dvd" (otherwise taken from the frame rate). */
int X_SetPar_D2MPEG(TZ_ARGS_L, int HighQuality, int DvdStandard, const char* AudioCodec, int magic);
int X_TO_HD_MPEG(TZ_ARGS_L, int HighQuality, int DvdStandard, const char* AudioCodec, int magic);
int X_TO_HD_MPEG2TS(TZ_ARGS_L, int HighQuality, int DvdStandard, const char* AudioCodec, int magic);

int X_TO_HD_APPLETV(TZ_ARGS_L, const char* AudioCodec, int magic);

int X_SetPar_D2IPOD_VIDEO(TZ_ARGS_L, int magic);
int X_SetPar_D2IPHONE_VIDEO(TZ_ARGS_L, int magic);
int X_SetPar_D2APPLETV_VIDEO(TZ_ARGS_L, int magic);
int X_SetPar_D2ZUNE_VIDEO(TZ_ARGS_L, int magic);
int X_SetPar_D2PDA_VIDEO(TZ_ARGS_L, int magic);

/* L without OutFileFormat, ArtistName and GenreName; the container is "psp". */
int X_SetPar_D2PSP(TZ_ARGS_HEAD, const char* AudioSampleRate, const char* VideoAspect,
                   const char* VideoFormat, const char* VideoBitRate, const char* AudioBitrate,
                   const char* Out_Size_X_Y_BeforPad, const char* VideoResolution, const char* AlbumName,
                   TZ_ARGS_TAIL, int magic);

/* Audio only. The container follows the output file's extension (.mp3 .aac
 * .m4a .ac3 .ogg .wav .wma), else the AudioCodec. A video input gives its
 * audio. */
int X_SetPar_D2IPOD_MP3(TZ_ARGS_HEAD, const char* AudioSampleRate, const char* AudioBitrate,
                        const char* AlbumName, const char* ArtistName, const char* GenreName,
                        const char* AudioLanguage, const char* OutputName, const char* AudioVolume,
                        const char* Duration, const char* AudioCodec, int magic);

/* ---- file information and thumbnail ---- */

/* Fills *info for the file at path (mode ignored) and prepares a thumbnail of
 * a representative frame (about 10% into the file, not a black first frame).
 * Returns 0, or -1 when the file cannot be read as media. */
int X_GetFileinfo_GetPic(char* path, int mode, TzFileInfo* info, int isTransportStream);

/* ---- frame grabber ---- */

/* Opens path on the grabber's own thread, decodes the frame at startSecond and
 * posts 2312 (even when the file cannot be opened: then every later request
 * answers 2412 with wParam 0). One grabber exists at a time: one still open
 * is closed first and posts 2512 to its own window. Returns 0. */
int X_GetFrame_Init(const QuiloWindowPort* window, int mode, const char* path, const char* unused,
                    const char* startSecond);

/* Asks for the frame at that second; 2412 follows. Returns 0, -1 without a grabber. */
int X_Set_NextFrame_Time(int second);

/* A frame scaled to width x height, RGB24, rows top-down, width*3 bytes per
 * row, in a buffer owned by the engine until the next X_Get_Frame call from
 * the same kind of user. After X_GetFileinfo_GetPic the next call returns that
 * file's thumbnail; otherwise it returns the grabber's last frame. name is
 * ignored. info[0] = second of the frame, [1] width, [2] height, others 0.
 * Returns 0, or -1 (and *pixels = NULL) when there is no frame. */
int X_Get_Frame(int width, int height, const char* name, unsigned char** pixels, int info[10]);

/* Writes the grabber's last frame (else the last thumbnail) scaled to
 * width x height as a JPEG file. Returns 0, -1 on failure. */
int X_Get_Frame_JPEG(int width, int height, const char* jpegPath);

/* Closes the grabber: posts 2512 and waits for its thread. Returns 0. */
int X_GetFrame_UnInit(void);

#ifdef __cplusplus
}
#endif

#endif
