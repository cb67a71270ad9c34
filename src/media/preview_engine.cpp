#include "media/preview_engine.h"

#include <QCoreApplication>
#include <QThread>

namespace quilo {

bool GrabberLibrary::Load(const std::string& path) {
    Unload();
    if (!library_.load(path)) {
        error_ = library_.error();
        return false;
    }
    api_.X_GetFrame_Init = library_.function<decltype(api_.X_GetFrame_Init)>("X_GetFrame_Init");
    api_.X_Get_Frame = library_.function<decltype(api_.X_Get_Frame)>("X_Get_Frame");
    api_.X_Set_NextFrame_Time =
        library_.function<decltype(api_.X_Set_NextFrame_Time)>("X_Set_NextFrame_Time");
    api_.X_GetFrame_UnInit = library_.function<decltype(api_.X_GetFrame_UnInit)>("X_GetFrame_UnInit");
    api_.X_GetFileinfo_GetPic =
        library_.function<decltype(api_.X_GetFileinfo_GetPic)>("X_GetFileinfo_GetPic");
    api_.X_Global_CMD = library_.function<decltype(api_.X_Global_CMD)>("X_Global_CMD");
    const auto missing = library_.missing({"X_GetFrame_Init", "X_Get_Frame", "X_Set_NextFrame_Time",
                                           "X_GetFrame_UnInit", "X_GetFileinfo_GetPic", "X_Global_CMD"});
    if (!missing.empty()) {
        error_ = "missing " + missing.front();
        Unload();
        return false;
    }
    error_.clear();
    return true;
}

void GrabberLibrary::Unload() {
    library_.unload();
    api_ = {};
}

GrabberWindow::GrabberWindow(Handler handler)
    : handler_(std::move(handler)), port_(std::make_unique<QtWindowPort>(this)) {}

GrabberWindow::~GrabberWindow() = default;

bool GrabberWindow::event(QEvent* event) {
    const auto type = static_cast<unsigned>(event->type());
    if (type == TZ_MSG_GRABBER_READY || type == TZ_MSG_FRAME_AVAILABLE || type == TZ_MSG_GRABBER_CLOSED) {
        const auto* post = dynamic_cast<PortEvent*>(event);
        handler_(type, post ? post->wParam() : 0);
        return true;
    }
    return QObject::event(event);
}

bool WaitProcessingMessages(const std::function<bool()>& done, int limitMs) {
    for (int waited = 0;; waited += 100) {
        QCoreApplication::processEvents();
        if (done())
            return true;
        if (waited >= limitMs)
            return false;
        QThread::msleep(100);
    }
}

} // namespace quilo
