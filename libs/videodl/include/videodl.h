/* The downloader library: analyses web video pages and downloads their video
 * files by running the yt-dlp program, and reports what happens through five
 * callbacks.
 *
 * Loaded at run time from the program folder as libvideodl.so and bound by
 * name. The caller drives it like a command-line program:
 *
 *   on one thread, in this order: the five Set...Fun setters, SetUserParam,
 *   SetDownloadPath, then Run, which returns when the run is over.
 *
 * The setters and Run keep their settings per calling thread, so several
 * threads may each prepare and run their own run at the same time without one
 * run's callbacks reaching another run's user value. Every callback is made on
 * the thread that called Run; the pointers it passes are valid only until the
 * callback returns.
 *
 * Texts are UTF-8. Names and titles come from the network: the library makes
 * every file name a single path component, so a download never lands outside
 * the download folder. */
#ifndef QUILO_VIDEODL_H
#define QUILO_VIDEODL_H

#ifdef __cplusplus
extern "C" {
#endif

#define VIDEODL_ABI_VERSION 1

/* One video file an analysis found. */
typedef struct VideodlCsvMessage {
    /* The file name, formed from the file-name format of the arguments; a single
     * path component. */
    const char* fileName;
    /* The title of the video as the page gives it. */
    const char* title;
    /* Size of the file in bytes; 0 when neither the page nor the server says. */
    double totalSize;
    /* Address of the media file. */
    const char* mediaUrl;
    /* The container of the file, as its usual extension ("mp4", "webm" ...). */
    const char* format;
} VideodlCsvMessage;

/* Progress of the download of one file. */
typedef struct VideodlProgressMessage {
    /* The file name, as reported by the analysis. */
    const char* fileName;
    /* 0 … 100; 100 only once the file is complete under its final name, in the
     * last report of the file, whose byte counts are then the file's size. */
    int percent;
    /* Bytes written so far. */
    double bytesDownloaded;
    /* Size of the file in bytes. Above 0 only when bytesDownloaded, rate,
     * rateUnit and remainingTime hold values. */
    double totalBytes;
    /* Download rate, in the unit of rateUnit ("B/s", "KB/s", "MB/s"). */
    double rate;
    char rateUnit[10];
    /* Remaining time "HH:MM:SS", empty when unknown. */
    char remainingTime[22];
} VideodlProgressMessage;

typedef void (*VideodlCsvCallback)(const VideodlCsvMessage* message, void* user);
/* A file downloaded completely: its full path. */
typedef void (*VideodlFileCallback)(const char* path, void* user);
/* Status texts: "Analysing", "Downloading", "Finished" (the run ended as asked),
 * "UserStop" (the run was stopped by UserStop or UserStopRun). */
typedef void (*VideodlStatusCallback)(const char* text, void* user);
typedef void (*VideodlProcessCallback)(const VideodlProgressMessage* message, void* user);
/* Error texts: "QUVI_NOSUPPORT" (the page offers no video the library can
 * read), "give up trying." (the analysis failed), "download failed." (a file
 * could not be downloaded). The detail says why, for a person to read. At most
 * one error per run; a run that reports an error reports no "Finished". */
typedef void (*VideodlErrorCallback)(const char* error, const char* detail, void* user);

/* The ABI version this library implements. */
int videodl_version(void);

/* Callback setters; NULL leaves that kind of report out. */
void SetSendCSVMessageFun(VideodlCsvCallback callback);
void SetSendFileMessageFun(VideodlFileCallback callback);
void SetSendStatusMessageFun(VideodlStatusCallback callback);
void SetSendProcessMessageFun(VideodlProcessCallback callback);
void SetSendErrorMessageFun(VideodlErrorCallback callback);

/* The value handed back as the last argument of every callback; it also names
 * the run for UserStopRun. Starts a new run's settings: a stop asked for this
 * value from now on stops the next Run of this thread, even one not begun yet. */
void SetUserParam(void* user);

/* The folder downloads are written to. It must exist. */
void SetDownloadPath(const char* folder);

/* Runs an analysis or a download; returns when it has ended, failed or been
 * stopped. argv[0] is a program name and is ignored. Options:
 *   --filename-format=FORMAT  file names: %i the video's id, %t its title,
 *                             %s the extension, %% a percent sign (default "%i.%s")
 *   --emit-csv                analyse only: one CSV callback per video file
 *   --continue                resume a partly downloaded file (the default)
 *   --no-continue             start every file afresh
 * The first other argument is the page address; options after it are taken as
 * part of nothing and ignored. Without --emit-csv every video file of the page
 * is downloaded into the download folder, with progress callbacks, and a file
 * callback for each completed file. A file is written under a temporary name
 * and gets its own name only when complete; a stopped download leaves the
 * temporary file for a later --continue. The settings of this thread end with
 * the run. */
void Run(int argc, const char* const* argv);

/* Stops every run in progress (and every run prepared but not yet begun) of the
 * process: its yt-dlp child is killed and reaped, and the run reports
 * "UserStop". Callable from any thread. */
void UserStop(void);

/* As UserStop, for the runs whose user value is `user` only. Returns the number
 * of runs it reached. */
int UserStopRun(void* user);

#ifdef __cplusplus
}
#endif

#endif
