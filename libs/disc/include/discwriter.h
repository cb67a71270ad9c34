/* The disc-writing library: finds optical drives, examines the inserted disc,
 * sets write speeds, blanks rewritable media and writes a DVD-Video folder as
 * one track. Built on libburn; the DVD-Video file system (UDF bridge) is made
 * by `genisoimage -dvd-video -udf`.
 *
 * Loaded at run time from the program folder as libdiscwriter.so and bound by
 * name. Besides real drives (/dev/sr*), libburn's pseudo-drives are accepted
 * wherever an address is asked for: "stdio:/path/file" is a regular file
 * posing as an always-blank random-access disc.
 *
 * Results: every int-returning call returns DISCWRITER_OK (0) on success and a
 * non-zero DISCWRITER_E_* code on failure, unless stated otherwise. Calls that
 * take (exception_text, text_size, status) write a readable reason into the
 * text and a status word on failure; the other handle calls keep their reason
 * for discwriter_grabber_error(). Units of speed are libburn's: kilobytes of
 * 1000 bytes per second (1x CD = 176, 1x DVD = 1385).
 *
 * Threads: one call at a time per handle; different handles may be used from
 * different threads. discwriter_up_start must have succeeded first. */
#ifndef QUILO_DISCWRITER_H
#define QUILO_DISCWRITER_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DISCWRITER_ABI_VERSION 1

#define DISCWRITER_OK 0
#define DISCWRITER_E_NOT_STARTED 1  /* discwriter_up_start has not succeeded */
#define DISCWRITER_E_ARGUMENT 2     /* a null pointer or an out-of-range value */
#define DISCWRITER_E_NO_DRIVE 3     /* the address names no usable drive */
#define DISCWRITER_E_NOT_READY 4    /* no medium, or the drive is busy */
#define DISCWRITER_E_UNSUPPORTED 5  /* the medium or drive cannot do this */
#define DISCWRITER_E_FOLDER 6       /* the folder holds no VIDEO_TS folder */
#define DISCWRITER_E_IMAGE 7        /* genisoimage failed or is missing */
#define DISCWRITER_E_WRITE 8        /* the write or blank did not end well */
#define DISCWRITER_E_SESSION_OPEN 9 /* the last write left its session open */

/* Event numbers passed to a handle's callback. */
#define DISCWRITER_EVENT_DRIVE_FOUND 10     /* search: special1 = discwriter_device_record* */
#define DISCWRITER_EVENT_ANALYZE_BEGIN 4    /* write: the image is being measured */
#define DISCWRITER_EVENT_ANALYZE_END 5      /* special1 = uint64_t* bytes, special2 = uint64_t* blocks */
#define DISCWRITER_EVENT_WAIT_CACHE_BEGIN 6 /* special1 = uint64_t* wait limit in ms */
#define DISCWRITER_EVENT_WAIT_CACHE_END 7   /* the drive has started writing */
#define DISCWRITER_EVENT_SYNC_CACHE_BEGIN 8 /* the track is being closed */
#define DISCWRITER_EVENT_SYNC_CACHE_END 9
#define DISCWRITER_EVENT_PROGRESS 12 /* special1 = uint64_t* total bytes, special2 = uint64_t* written */

/* Disc type codes of discwriter_disc_type. */
enum discwriter_disc_type {
    DISCWRITER_DISC_UNKNOWN = 0,
    DISCWRITER_DISC_CD_ROM = 1,
    DISCWRITER_DISC_CD_R = 2,
    DISCWRITER_DISC_CD_RW = 3,
    DISCWRITER_DISC_DVD_ROM = 4,
    DISCWRITER_DISC_DVD_R = 5,
    DISCWRITER_DISC_DVD_RAM = 6,
    DISCWRITER_DISC_DVD_RW_RESTRICTED = 7, /* DVD-RW, restricted overwrite */
    DISCWRITER_DISC_DVD_RW = 8,            /* DVD-RW, sequential */
    DISCWRITER_DISC_DVD_PLUS_RW = 9,
    DISCWRITER_DISC_DVD_PLUS_R = 13,
    DISCWRITER_DISC_EMPTY = 14, /* no disc in the drive */
    DISCWRITER_DISC_DVD_PLUS_R_DL = 15,
    DISCWRITER_DISC_DVD_R_DL = 16,
    DISCWRITER_DISC_BD_ROM = 17,
    DISCWRITER_DISC_BD_R = 18,
    DISCWRITER_DISC_BD_RE = 19,
    DISCWRITER_DISC_HD_DVD_ROM = 20,
    DISCWRITER_DISC_HD_DVD_R = 21,
    DISCWRITER_DISC_HD_DVD_RW = 22
};

typedef struct discwriter_grabber discwriter_grabber;   /* an open drive */
typedef struct discwriter_dvdvideo discwriter_dvdvideo; /* a built DVD-Video image */

/* (event, context given when opening, special1, special2). Called on the thread
 * of the blocking call that raises the event. */
typedef void (*discwriter_callback)(int event, void* context, void* special1, void* special2);

typedef struct discwriter_device_record {
    char address[1024]; /* the drive's address, e.g. "/dev/sr0" or "stdio:/tmp/disc.iso" */
} discwriter_device_record;

typedef struct discwriter_toc {
    int track_count;
    int session_count;
} discwriter_toc;

/* The ABI version this library implements. */
int discwriter_version(void);

/* Starts the library; safe to call again. Messages of libburn are kept from the
 * console and become the reasons of failed calls. */
int discwriter_up_start(void);
/* Stops the library. Handles still open are released first. */
void discwriter_shut_down(void);

/* Searches the system's optical drives, then checks each of the `extra_count`
 * pseudo-drive addresses of `extra_addresses`; calls `callback` with
 * DISCWRITER_EVENT_DRIVE_FOUND for each drive that can be opened, in that
 * order. Returns the number of drives reported (never negative). */
int discwriter_find_devices(const char* const* extra_addresses, int extra_count, discwriter_callback callback,
                            void* context);

/* Opens (grabs) the drive at `address` and loads its tray. The callback receives
 * the write events of this handle when `final_flag` is 0; a handle opened with a
 * non-zero final flag is for queries and raises no events. */
int discwriter_grabber_create(discwriter_grabber** out, char* exception_text, size_t text_size,
                              unsigned* status, discwriter_callback callback, void* context,
                              const char* address, int final_flag);
/* Releases the drive and clears *handle. Accepts a null or cleared handle. */
void discwriter_grabber_release(discwriter_grabber** handle);
/* Why the last failed call on this handle failed; "" when nothing failed. */
const char* discwriter_grabber_error(const discwriter_grabber* handle);

/* The device path of a drive address ("stdio:/x" gives "/x"), for showing where
 * the drive is. Needs no open handle. */
int discwriter_device_path(const char* address, char* out, size_t out_size);

/* Vendor, product and revision (each buffer `text_size` bytes) and the drive's
 * buffer size in bytes (0 when the drive does not tell). */
int discwriter_device_info(discwriter_grabber* handle, char* vendor, char* product, char* revision,
                           size_t text_size, unsigned* cache_bytes);

/* 0 when a medium is loaded and the drive is idle. */
int discwriter_test_unit_ready(discwriter_grabber* handle);

/* The disc type code (enum discwriter_disc_type); DISCWRITER_DISC_UNKNOWN for
 * a medium libburn does not name and a null handle. A pseudo-drive file reports
 * DVD-RAM: it is overwritable at any time. */
int discwriter_disc_type(discwriter_grabber* handle);

/* Bytes already recorded on the disc (sum of its tracks). */
int discwriter_disc_used_space(discwriter_grabber* handle, uint64_t* used_bytes);
/* Bytes a write could still use. */
int discwriter_disc_free_space(discwriter_grabber* handle, uint64_t* free_bytes);
/* *blank = 1 when nothing is recorded and the disc takes a first session. */
int discwriter_disc_information(discwriter_grabber* handle, unsigned char* blank);
/* Tracks and sessions of the disc's table of contents (0, 0 for a blank disc). */
int discwriter_toc_information(discwriter_grabber* handle, discwriter_toc* toc);

/* Speeds in kB/s. The current rates are those last accepted by
 * discwriter_set_speeds (0 = the drive's own choice); the maxima are the
 * drive's for the loaded medium (0 when the drive has no limit, as a file). */
int discwriter_get_speeds(discwriter_grabber* handle, unsigned* current_read, unsigned* max_read,
                          unsigned* current_write, unsigned* max_write);
/* Asks for the read and write rates; 65535 means "as fast as possible". The
 * rate accepted is the drive's nearest advertised write speed not above the
 * request (its slowest when all are above); a drive without a speed list
 * accepts the request as it is. */
int discwriter_set_speeds(discwriter_grabber* handle, unsigned read_rate, unsigned write_rate);

/* Blanks the medium: erase type 0 = full, any other = fast. Blocks until done.
 * DISCWRITER_E_UNSUPPORTED when the medium cannot be blanked. */
int discwriter_blank(discwriter_grabber* handle, unsigned erase_type);

/* Closes the tray (re-opens the drive after an eject), or opens it. After an
 * eject the handle answers no disc queries until loaded again. */
int discwriter_load(discwriter_grabber* handle);
int discwriter_eject(discwriter_grabber* handle);

/* Keeps the medium in the drive until discwriter_unlock. libburn keeps a grabbed
 * drive's tray locked; these record that the caller relies on it, and fail when
 * the handle no longer holds the drive. */
int discwriter_lock(discwriter_grabber* handle);
int discwriter_unlock(discwriter_grabber* handle);

/* Builds the DVD-Video image of `folder` (a VIDEO_TS folder, or a folder that
 * holds one) with genisoimage into a temporary file. The publisher and
 * application identifiers go into the volume descriptor; the date (year, month,
 * day, hour, minute, second, hundredths) becomes the volume's creation and
 * modification date. Blocks until the image is complete. */
int discwriter_dvdvideo_create(discwriter_dvdvideo** out, const char* folder, char* exception_text,
                               size_t text_size, unsigned* status, const char* volume_label,
                               const char* publisher, const char* application, int year, int month, int day,
                               int hour, int minute, int second, int hundredths);
/* Size of the image in bytes. */
uint64_t discwriter_dvdvideo_size(const discwriter_dvdvideo* image);
/* Removes the image file and frees the object; clears *image. Accepts null. */
void discwriter_dvdvideo_destroy(discwriter_dvdvideo** image);

/* Which write modes the loaded medium allows (each 0 or 1). */
int discwriter_probe_write_modes(discwriter_grabber* handle, unsigned char* track_at_once,
                                 unsigned char* session_at_once, unsigned char* disc_at_once_pq,
                                 unsigned char* disc_at_once_raw);
/* Buffer-underrun protection: whether it will be used and whether the drive
 * supports it; setting it affects the next write of this handle. */
int discwriter_get_bup(discwriter_grabber* handle, unsigned char* enabled, unsigned char* supported);
int discwriter_set_bup(discwriter_grabber* handle, int enable);
/* Asks for an optimum power calibration before the next write of this handle
 * (the drive performs it when the write starts). */
int discwriter_send_opc(discwriter_grabber* handle);

/* Writes the image as one data track, track-at-once, and blocks until the drive
 * is done, raising the write events meanwhile. A non-zero `leave_open` leaves
 * the session open for more tracks. Succeeds only when every block was written. */
int discwriter_track_at_once(discwriter_grabber* handle, char* exception_text, size_t text_size,
                             unsigned* status, const discwriter_dvdvideo* image, int leave_open);
/* Confirms the session of the last write is closed: DISCWRITER_E_SESSION_OPEN when
 * that write left it open, DISCWRITER_E_WRITE when no write succeeded. */
int discwriter_close_session(discwriter_grabber* handle);

#ifdef __cplusplus
}
#endif

#endif
