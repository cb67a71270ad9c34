// Blanking and writing: libburn works in its own thread, these calls wait for it
// and turn its states into the handle's events.
#include "grabber.h"

#include <unistd.h>

namespace {

constexpr useconds_t PollInterval = 100000;

void raise(const discwriter_grabber* handle, int event, void* special1 = nullptr, void* special2 = nullptr) {
    if (handle->raisesEvents && handle->callback)
        handle->callback(event, handle->context, special1, special2);
}

// Waits until libburn's worker has picked up the job and finished it.
template <typename OnState> void waitUntilIdle(burn_drive* drive, OnState onState) {
    burn_progress progress{};
    while (burn_drive_get_status(drive, &progress) == BURN_DRIVE_SPAWNING)
        usleep(PollInterval);
    for (burn_drive_status state; (state = burn_drive_get_status(drive, &progress)) != BURN_DRIVE_IDLE;) {
        onState(state, progress);
        usleep(PollInterval);
    }
}

bool writable(burn_drive* drive) {
    const burn_disc_status status = burn_disc_get_status(drive);
    return status == BURN_DISC_BLANK || status == BURN_DISC_APPENDABLE;
}

// The pieces libburn needs for one data track, freed together.
struct TrackLayout {
    burn_disc* disc = burn_disc_create();
    burn_session* session = burn_session_create();
    burn_track* track = burn_track_create();
    burn_source* source = nullptr;
    ~TrackLayout() {
        if (source)
            burn_source_free(source);
        burn_track_free(track);
        burn_session_free(session);
        burn_disc_free(disc);
    }
};

} // namespace

using namespace discwriter;

DISCWRITER_API int discwriter_blank(discwriter_grabber* handle, unsigned erase_type) {
    burn_drive* drive = handle ? handle->drive() : nullptr;
    if (!drive)
        return fail(handle, DISCWRITER_E_NO_DRIVE, "the drive is not open");
    if (burn_drive_get_status(drive, nullptr) != BURN_DRIVE_IDLE)
        return fail(handle, DISCWRITER_E_NOT_READY, "the drive is busy");
    if (!burn_disc_erasable(drive))
        return fail(handle, DISCWRITER_E_UNSUPPORTED, "the medium in the drive cannot be blanked");
    clearMessages();
    burn_disc_erase(drive, erase_type != 0);
    waitUntilIdle(drive, [](burn_drive_status, const burn_progress&) {});
    if (burn_drive_wrote_well(drive) <= 0)
        return fail(handle, DISCWRITER_E_WRITE, failureText("blanking failed"));
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_track_at_once(discwriter_grabber* handle, char* exception_text,
                                            size_t text_size, unsigned* status,
                                            const discwriter_dvdvideo* image, int leave_open) {
    const auto refuse = [&](int result, const std::string& reason) {
        if (handle)
            handle->error = reason;
        return failWith(exception_text, text_size, status, result, reason);
    };
    burn_drive* drive = handle ? handle->drive() : nullptr;
    if (!drive)
        return refuse(DISCWRITER_E_NO_DRIVE, "the drive is not open");
    if (!image)
        return refuse(DISCWRITER_E_ARGUMENT, "no image to write");
    handle->lastWrite = discwriter_grabber::LastWrite::None;
    if (burn_drive_get_status(drive, nullptr) != BURN_DRIVE_IDLE)
        return refuse(DISCWRITER_E_NOT_READY, "the drive is busy");
    if (!writable(drive))
        return refuse(DISCWRITER_E_NOT_READY, "the medium in the drive takes no more data");

    raise(handle, DISCWRITER_EVENT_ANALYZE_BEGIN);
    uint64_t bytes = image->size, blocks = (image->size + 2047) / 2048;
    raise(handle, DISCWRITER_EVENT_ANALYZE_END, &bytes, &blocks);

    clearMessages();
    TrackLayout layout;
    layout.source = burn_file_source_new(image->image.c_str(), nullptr);
    if (!layout.source)
        return refuse(DISCWRITER_E_IMAGE, failureText("cannot read the image"));
    burn_track_define_data(layout.track, 0, 0, 1, BURN_MODE1);
    if (burn_track_set_source(layout.track, layout.source) != BURN_SOURCE_OK ||
        burn_session_add_track(layout.session, layout.track, BURN_POS_END) <= 0 ||
        burn_disc_add_session(layout.disc, layout.session, BURN_POS_END) <= 0)
        return refuse(DISCWRITER_E_IMAGE, failureText("cannot lay out the track"));

    burn_write_opts* options = burn_write_opts_new(drive);
    burn_write_opts_set_perform_opc(options, handle->opcRequested);
    burn_write_opts_set_underrun_proof(options, handle->bupEnabled);
    burn_write_opts_set_multi(options, leave_open != 0);
    char reasons[BURN_REASONS_LEN] = {};
    if (burn_write_opts_set_write_type(options, BURN_WRITE_TAO, BURN_BLOCK_MODE1) <= 0 ||
        burn_precheck_write(options, layout.disc, reasons, 0) <= 0) {
        burn_write_opts_free(options);
        return refuse(DISCWRITER_E_UNSUPPORTED, failureText(std::string("track-at-once writing is refused") +
                                                            (*reasons ? ": " : "") + reasons));
    }

    uint64_t waitLimitMs = 0;
    raise(handle, DISCWRITER_EVENT_WAIT_CACHE_BEGIN, &waitLimitMs);
    burn_disc_write(options, layout.disc);
    bool writing = false, closing = false;
    uint64_t total = blocks * 2048, written = 0;
    waitUntilIdle(drive, [&](burn_drive_status state, const burn_progress& progress) {
        if (state == BURN_DRIVE_WRITING && !writing) {
            writing = true;
            raise(handle, DISCWRITER_EVENT_WAIT_CACHE_END);
        }
        if ((state == BURN_DRIVE_CLOSING_TRACK || state == BURN_DRIVE_CLOSING_SESSION ||
             state == BURN_DRIVE_WRITING_SYNC) &&
            !closing) {
            closing = true;
            raise(handle, DISCWRITER_EVENT_SYNC_CACHE_BEGIN);
        }
        if (state == BURN_DRIVE_WRITING && progress.sectors > 0) {
            total = static_cast<uint64_t>(progress.sectors) * 2048;
            written = static_cast<uint64_t>(std::max(progress.sector, 0)) * 2048;
            raise(handle, DISCWRITER_EVENT_PROGRESS, &total, &written);
        }
    });
    burn_write_opts_free(options);
    if (closing)
        raise(handle, DISCWRITER_EVENT_SYNC_CACHE_END);
    if (burn_drive_wrote_well(drive) <= 0)
        return refuse(DISCWRITER_E_WRITE, failureText("writing the track failed"));
    written = total;
    raise(handle, DISCWRITER_EVENT_PROGRESS, &total, &written);
    handle->lastWrite =
        leave_open ? discwriter_grabber::LastWrite::LeftOpen : discwriter_grabber::LastWrite::Closed;
    if (status)
        *status = 0;
    copyText("", exception_text, text_size);
    return DISCWRITER_OK;
}

DISCWRITER_API int discwriter_close_session(discwriter_grabber* handle) {
    if (!handle)
        return DISCWRITER_E_ARGUMENT;
    switch (handle->lastWrite) {
    case discwriter_grabber::LastWrite::Closed:
        return DISCWRITER_OK;
    case discwriter_grabber::LastWrite::LeftOpen:
        return fail(handle, DISCWRITER_E_SESSION_OPEN, "the last write left its session open");
    case discwriter_grabber::LastWrite::None:
        break;
    }
    return fail(handle, DISCWRITER_E_WRITE, "no track was written on this handle");
}
