// How fast the windowed program comes up, as an X client sees it: the program
// is started on an X server of its own (Xvfb) while this client watches the
// root window. It times, from the exec of the program,
//   - the splash window being mapped,
//   - its first step of opacity, when its picture begins to show,
//   - its fade-in reaching full opacity (250 of 255 or more),
//   - the splash window going away,
//   - the main window being mapped,
//   - the main window's first answer to a _NET_WM_PING, which the program
//     gives only from its event loop: from then on it takes input.
// One untimed start seeds the data folder; the median of the timed starts is
// printed after each start's figures.
//
//   startup_bench [starts [program folder]]      (default 10, the build's bin/)
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto StartLimit = std::chrono::seconds(30);
constexpr uint32_t FadedIn = 250.0 / 255 * UINT32_MAX - 1;

double millisecondsSince(Clock::time_point start, Clock::time_point then) {
    return std::chrono::duration<double, std::milli>(then - start).count();
}

// An X server on a display number it picks itself.
class OwnXServer {
public:
    bool Start() {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (pid_ < 0 || number.empty())
            return false;
        display_ = ":" + number;
        return true;
    }
    ~OwnXServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

struct StartFigures {
    std::optional<double> splashMapped, splashShows, splashFadedIn, splashGone, mainMapped, mainAnswers;
};

class RootWatcher {
public:
    explicit RootWatcher(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr)) {}
    ~RootWatcher() { xcb_disconnect(connection_); }

    bool Open() {
        if (xcb_connection_has_error(connection_))
            return false;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        // The answer to a ping comes to the root window for its structure listeners.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        windowType_ = atom("_NET_WM_WINDOW_TYPE");
        splashType_ = atom("_NET_WM_WINDOW_TYPE_SPLASH");
        protocols_ = atom("WM_PROTOCOLS");
        ping_ = atom("_NET_WM_PING");
        opacity_ = atom("_NET_WM_WINDOW_OPACITY");
        xcb_flush(connection_);
        return true;
    }

    // Watches one start of the program until its main window answers.
    StartFigures Watch(pid_t program, Clock::time_point start) {
        StartFigures figures;
        xcb_window_t splash = XCB_NONE, main = XCB_NONE;
        const int fd = xcb_get_file_descriptor(connection_);
        while (!figures.mainAnswers && Clock::now() - start < StartLimit) {
            pollfd wait{fd, POLLIN, 0};
            poll(&wait, 1, 50);
            if (waitpid(program, nullptr, WNOHANG) == program) {
                std::fprintf(stderr, "startup_bench: the program ended before its main window answered\n");
                break;
            }
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const auto now = Clock::now();
                switch (event->response_type & 0x7f) {
                case XCB_CREATE_NOTIFY: {
                    // The opacity of a window is a property of its own.
                    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
                    xcb_change_window_attributes(connection_,
                                                 reinterpret_cast<xcb_create_notify_event_t*>(event)->window,
                                                 XCB_CW_EVENT_MASK, &mask);
                    xcb_flush(connection_);
                    break;
                }
                case XCB_PROPERTY_NOTIFY: {
                    const auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event);
                    if (change->window != splash || change->atom != opacity_ || !figures.splashMapped)
                        break;
                    const uint32_t opacity =
                        change->state == XCB_PROPERTY_DELETE ? UINT32_MAX : opacityOf(splash);
                    if (opacity > 0 && !figures.splashShows)
                        figures.splashShows = millisecondsSince(start, now);
                    // The last steps of the fade-in are 250 and 255 of 255; the
                    // fade-out may follow the last at once, so 250 counts.
                    if (opacity >= FadedIn && !figures.splashFadedIn)
                        figures.splashFadedIn = millisecondsSince(start, now);
                    break;
                }
                case XCB_MAP_NOTIFY: {
                    const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
                    if (isSplash(window)) {
                        splash = window;
                        figures.splashMapped = millisecondsSince(start, now);
                    } else if (main == XCB_NONE) {
                        main = window;
                        figures.mainMapped = millisecondsSince(start, now);
                        sendPing(main);
                    }
                    break;
                }
                case XCB_UNMAP_NOTIFY:
                    if (reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window == splash &&
                        !figures.splashGone)
                        figures.splashGone = millisecondsSince(start, now);
                    break;
                case XCB_DESTROY_NOTIFY:
                    if (reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == splash &&
                        !figures.splashGone)
                        figures.splashGone = millisecondsSince(start, now);
                    break;
                case XCB_CLIENT_MESSAGE: {
                    const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                    if (message->type == protocols_ && message->data.data32[0] == ping_ &&
                        message->data.data32[2] == main && main != XCB_NONE)
                        figures.mainAnswers = millisecondsSince(start, now);
                    break;
                }
                default:
                    break;
                }
                std::free(event);
            }
        }
        return figures;
    }

private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return value;
    }

    uint32_t opacityOf(xcb_window_t window) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, opacity_, XCB_ATOM_CARDINAL, 0, 1),
            nullptr);
        uint32_t value = 0;
        if (reply && xcb_get_property_value_length(reply) == 4)
            value = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return value;
    }

    bool isSplash(xcb_window_t window) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, windowType_, XCB_ATOM_ATOM, 0, 16),
            nullptr);
        bool splash = false;
        if (reply) {
            const auto* types = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
            const int count = xcb_get_property_value_length(reply) / 4;
            splash = std::find(types, types + count, splashType_) != types + count;
            std::free(reply);
        }
        return splash;
    }

    // A window manager's liveness check: the client echoes it to the root
    // window when its event loop gets to it.
    void sendPing(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols_;
        message.data.data32[0] = ping_;
        message.data.data32[1] = XCB_CURRENT_TIME;
        message.data.data32[2] = window;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_NONE;
    xcb_atom_t windowType_ = XCB_NONE, splashType_ = XCB_NONE, protocols_ = XCB_NONE, ping_ = XCB_NONE,
               opacity_ = XCB_NONE;
};

pid_t startProgram(const std::string& program, const std::string& display, const std::string& home) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

void endProgram(pid_t pid) {
    kill(pid, SIGTERM);
    for (int waited = 0; waited < 100; ++waited) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(50000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

std::string shown(const std::optional<double>& milliseconds) {
    if (!milliseconds)
        return "    -";
    char text[32];
    std::snprintf(text, sizeof text, "%5.0f", *milliseconds);
    return text;
}

std::optional<double> median(std::vector<std::optional<double>> values) {
    std::vector<double> known;
    for (const auto& value : values)
        if (value)
            known.push_back(*value);
    if (known.empty())
        return std::nullopt;
    std::sort(known.begin(), known.end());
    const size_t middle = known.size() / 2;
    return known.size() % 2 ? known[middle] : (known[middle - 1] + known[middle]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string folder = argc > 2 ? std::string(argv[2]) + "/" : std::string(QUILO_BENCH_PROGRAM_DIR);
    const std::string program = folder + "quilo-converter";
    if (access(program.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "startup_bench: %s is missing; build quilo-converter first\n", program.c_str());
        return 1;
    }
    OwnXServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "startup_bench: Xvfb cannot be started\n");
        return 1;
    }
    RootWatcher watcher(server.display());
    if (!watcher.Open()) {
        std::fprintf(stderr, "startup_bench: cannot connect to the X server %s\n", server.display().c_str());
        return 1;
    }
    char homeFolder[] = "/tmp/startup_bench.XXXXXX";
    if (!mkdtemp(homeFolder)) {
        std::fprintf(stderr, "startup_bench: no temporary folder: %s\n", std::strerror(errno));
        return 1;
    }
    const std::string home = homeFolder;
    std::filesystem::create_directories(home + "/runtime");
    std::filesystem::permissions(home + "/runtime", std::filesystem::perms::owner_all);

    using Column = std::optional<double> StartFigures::*;
    const std::vector<std::pair<const char*, Column>> columns = {
        {"splash mapped", &StartFigures::splashMapped},    {"splash shows", &StartFigures::splashShows},
        {"splash faded in", &StartFigures::splashFadedIn}, {"splash gone", &StartFigures::splashGone},
        {"main mapped", &StartFigures::mainMapped},        {"main answers", &StartFigures::mainAnswers}};
    std::printf("ms from exec ");
    for (const auto& [name, member] : columns)
        std::printf(" %14s", name);
    std::printf("\n");
    auto printRow = [&](const std::string& label, const StartFigures& figures) {
        std::printf("%-13s", label.c_str());
        for (const auto& [name, member] : columns)
            std::printf(" %14s", shown(figures.*member).c_str());
        std::printf("\n");
        std::fflush(stdout);
    };

    std::vector<StartFigures> runs;
    for (int run = 0; run <= starts; ++run) {
        const auto start = Clock::now();
        const pid_t pid = startProgram(program, server.display(), home);
        const StartFigures figures = watcher.Watch(pid, start);
        endProgram(pid);
        if (run == 0)
            continue; // seeds the data folder
        runs.push_back(figures);
        printRow("start " + std::to_string(run), figures);
    }
    StartFigures medians;
    for (const auto& [name, member] : columns) {
        std::vector<std::optional<double>> values;
        for (const StartFigures& figures : runs)
            values.push_back(figures.*member);
        medians.*member = median(values);
    }
    printRow("median of " + std::to_string(starts), medians);
    std::filesystem::remove_all(home);
    return 0;
}
