/* The authoring library: turns a dvdauthor XML control file into a DVD-Video
 * folder by running the dvdauthor program, and reports how many megabytes of
 * video objects it has written so far.
 *
 * Loaded at run time from the program folder as libauthoring.so and bound by
 * name. One authoring at a time per process. */
#ifndef QUILO_AUTHORING_H
#define QUILO_AUTHORING_H

#ifdef __cplusplus
extern "C" {
#endif

#define AUTHORING_ABI_VERSION 1

/* The ABI version this library implements. */
int authoring_version(void);

/* Called once before authoring. The value is a registration key of the caller;
 * any value is accepted. Resets the progress counter. Returns 0. */
int setreg(int key);

/* The number of megabytes of video objects written so far by the running (or
 * last) authoring. The pointer stays valid while the library is loaded; the
 * value may be read from another thread while author_main runs (read it with
 * an atomic load). */
int* getVOBsMB(void);

/* Receives every line the authoring tool reports (with a trailing newline), and
 * our own error lines. May be NULL. Called on the thread running author_main. */
void authoring_set_log_callback(void (*callback)(const char* line));

/* Authors the DVD folder described by the control file at `controlFilePath`.
 * Blocks until done. Returns 0 when the folder was written completely
 * (VIDEO_TS/VIDEO_TS.IFO exists), -1 on any failure (unreadable control file,
 * tool missing, tool reported an error). */
int author_main(const char* controlFilePath);

#ifdef __cplusplus
}
#endif

#endif
