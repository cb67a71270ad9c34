// The frame grabber: one file open on a thread of its own, answering requests
// for the frame at a second with window messages.
#include "frames.h"
#include "log.h"
#include "media.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace tz {
namespace {

class Grabber {
public:
    Grabber(const QuiloWindowPort* window, std::string path, int startSecond)
        : window_(window ? *window : QuiloWindowPort{}), path_(std::move(path)), startSecond_(startSecond) {
        thread_ = std::thread([this] { work(); });
    }
    ~Grabber() {
        {
            std::lock_guard guard(lock_);
            quit_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    void request(int second) {
        {
            std::lock_guard guard(lock_);
            requests_.push_back(second);
        }
        wake_.notify_one();
    }

    bool frame(int width, int height, std::vector<uint8_t>& pixels, int& second) {
        std::lock_guard guard(frameLock_);
        if (!frame_)
            return false;
        second = frameSecond_;
        return frameToRgb(frame_.get(), width, height, pixels);
    }

    FramePtr copy() {
        std::lock_guard guard(frameLock_);
        return FramePtr(frame_ ? av_frame_clone(frame_.get()) : nullptr);
    }

private:
    void work() {
        InputPtr input = openMedia(path_);
        int video = input ? chooseVideoStream(input.get(), -1) : -1;
        CodecPtr decoder = video >= 0 ? openDecoder(input->streams[video], 0) : nullptr;
        if (!decoder)
            logLine("the frame grabber has no picture from \"%s\"", path_.c_str());
        else
            keep(decodeFrameAt(input.get(), video, decoder.get(), startSecond_), startSecond_);
        quilo_window_port_post(&window_, TZ_MSG_GRABBER_READY, 0, 0);

        while (true) {
            int second;
            {
                std::unique_lock guard(lock_);
                wake_.wait(guard, [this] { return quit_ || !requests_.empty(); });
                if (quit_)
                    break;
                second = requests_.front();
                requests_.pop_front();
            }
            bool found = false;
            if (decoder && second >= 0) {
                FramePtr picture = decodeFrameAt(input.get(), video, decoder.get(), second);
                found = picture != nullptr;
                if (found)
                    keep(std::move(picture), second);
            }
            quilo_window_port_post(&window_, TZ_MSG_FRAME_AVAILABLE, found ? 1 : 0, 0);
        }
        quilo_window_port_post(&window_, TZ_MSG_GRABBER_CLOSED, 0, 0);
    }

    void keep(FramePtr picture, int second) {
        if (!picture)
            return;
        std::lock_guard guard(frameLock_);
        frame_ = std::move(picture);
        frameSecond_ = second;
    }

    const QuiloWindowPort window_; // a copy: the caller's port may be temporary
    const std::string path_;
    const int startSecond_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<int> requests_;
    bool quit_ = false;
    std::mutex frameLock_;
    FramePtr frame_;
    int frameSecond_ = 0;
    std::thread thread_;
};

std::mutex grabberLock;
std::unique_ptr<Grabber> grabber;

} // namespace

int grabberOpen(const QuiloWindowPort* window, const std::string& path, int startSecond) {
    std::lock_guard guard(grabberLock);
    grabber.reset(); // one file at a time: the previous one says 2512 to its window
    grabber = std::make_unique<Grabber>(window, path, startSecond);
    return 0;
}

int grabberRequest(int second) {
    std::lock_guard guard(grabberLock);
    if (!grabber)
        return -1;
    grabber->request(second);
    return 0;
}

int grabberClose() {
    std::unique_ptr<Grabber> closing;
    {
        std::lock_guard guard(grabberLock);
        closing = std::move(grabber);
    }
    closing.reset(); // posts 2512 and joins
    return 0;
}

bool grabberFrame(int width, int height, std::vector<uint8_t>& pixels, int& second) {
    std::lock_guard guard(grabberLock);
    return grabber && grabber->frame(width, height, pixels, second);
}

FramePtr lastThumbnail();

namespace {
FramePtr lastGrabbedOrThumbnail() {
    {
        std::lock_guard guard(grabberLock);
        if (grabber)
            if (FramePtr frame = grabber->copy())
                return frame;
    }
    return lastThumbnail();
}
} // namespace

bool writeJpeg(int width, int height, const std::string& path) {
    FramePtr source = lastGrabbedOrThumbnail();
    if (!source || width <= 0 || height <= 0 || width > 16384 || height > 16384 || path.empty()) {
        logLine("no frame to save as \"%s\"", path.c_str());
        return false;
    }
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    CodecPtr encoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    FramePtr picture = makeFrame();
    if (!encoder || !picture)
        return false;
    encoder->width = width;
    encoder->height = height;
    encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    encoder->time_base = {1, 25};
    // Best quality the format offers.
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = FF_QP2LAMBDA * 1;
    encoder->qmin = encoder->qmax = 1;
    if (avcodec_open2(encoder.get(), codec, nullptr) < 0)
        return false;
    picture->width = width;
    picture->height = height;
    picture->format = AV_PIX_FMT_YUVJ420P;
    if (av_frame_get_buffer(picture.get(), 0) < 0)
        return false;
    SwsPtr scaler(sws_getContext(source->width, source->height, static_cast<AVPixelFormat>(source->format),
                                 width, height, AV_PIX_FMT_YUVJ420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler)
        return false;
    sws_scale(scaler.get(), source->data, source->linesize, 0, source->height, picture->data,
              picture->linesize);
    picture->pts = 0;
    picture->quality = encoder->global_quality;
    PacketPtr packet = makePacket();
    if (avcodec_send_frame(encoder.get(), picture.get()) < 0 ||
        avcodec_send_frame(encoder.get(), nullptr) < 0 ||
        avcodec_receive_packet(encoder.get(), packet.get()) < 0)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        logLine("cannot write \"%s\"", path.c_str());
        return false;
    }
    const bool written = std::fwrite(packet->data, 1, static_cast<std::size_t>(packet->size), file) ==
                         static_cast<std::size_t>(packet->size);
    return std::fclose(file) == 0 && written;
}

} // namespace tz
