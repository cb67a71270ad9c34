// The engine's frame grabber bound by name for one grabbing session (the
// preview's or the crop dialog's), and the window that receives its messages.
#pragma once

#include "platform/library_loader.h"
#include "platform/qt_window_port.h"
#include "tranzel.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>

namespace quilo {

struct GrabberApi {
    decltype(&::X_GetFrame_Init) X_GetFrame_Init = nullptr;
    decltype(&::X_Get_Frame) X_Get_Frame = nullptr;
    decltype(&::X_Set_NextFrame_Time) X_Set_NextFrame_Time = nullptr;
    decltype(&::X_GetFrame_UnInit) X_GetFrame_UnInit = nullptr;
    decltype(&::X_GetFileinfo_GetPic) X_GetFileinfo_GetPic = nullptr;
    decltype(&::X_Global_CMD) X_Global_CMD = nullptr;
};

class GrabberLibrary {
public:
    // Binds every grabber entry point; when one is missing the library is
    // released again and false returned.
    bool Load(const std::string& path);
    void Unload();
    bool Loaded() const { return library_.isLoaded(); }
    const GrabberApi& api() const { return api_; }
    const std::string& error() const { return error_; }

private:
    SharedLibrary library_;
    GrabberApi api_;
    std::string error_;
};

// Receives the engine's posts on the thread that created it and hands each one
// to `handler` there.
class GrabberWindow : public QObject {
public:
    using Handler = std::function<void(unsigned message, long wParam)>;
    explicit GrabberWindow(Handler handler);
    ~GrabberWindow() override;
    const QuiloWindowPort* port() const { return port_->port(); }

protected:
    bool event(QEvent* event) override;

private:
    Handler handler_;
    std::unique_ptr<QtWindowPort> port_;
};

// Processes pending window messages between 100 ms sleeps until `done` holds
// or `limitMs` has passed; false on the limit.
bool WaitProcessingMessages(const std::function<bool()>& done, int limitMs);

} // namespace quilo
