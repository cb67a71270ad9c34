// The engine's frame grabber for one grabbing session (the preview's or the
// crop dialog's): the engine binding it uses and the window that receives its
// messages.
#pragma once

#include "conversion/engine_api.h"
#include "platform/qt_window_port.h"
#include "tranzel.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>

namespace quilo {

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
