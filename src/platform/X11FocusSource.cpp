// The focus source on X11: the root window's _NET_ACTIVE_WINDOW, watched with PropertyChangeMask on a
// connection of our own. A thread blocks in poll() on the connection and a wake-up descriptor, so it sleeps
// while the front window stays and Stop ends it at once.

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/FocusSource.h"

namespace quorvel {

namespace {

struct Atoms {
    xcb_atom_t activeWindow = XCB_ATOM_NONE;
    xcb_atom_t wmPid = XCB_ATOM_NONE;
    xcb_atom_t clientList = XCB_ATOM_NONE;
    xcb_atom_t wmName = XCB_ATOM_NONE;
    xcb_atom_t utf8 = XCB_ATOM_NONE;
    xcb_atom_t wmIcon = XCB_ATOM_NONE;
};

// A connection to the display and its first screen's root window.
class Display {
public:
    Display() {
        int screenNumber = 0;
        conn_ = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(conn_)) return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn_));
        for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
        if (!it.rem) return;
        root_ = it.data->root;
        atoms_.activeWindow = Intern("_NET_ACTIVE_WINDOW");
        atoms_.wmPid = Intern("_NET_WM_PID");
        atoms_.clientList = Intern("_NET_CLIENT_LIST");
        atoms_.wmName = Intern("_NET_WM_NAME");
        atoms_.utf8 = Intern("UTF8_STRING");
        atoms_.wmIcon = Intern("_NET_WM_ICON");
        ok_ = true;
    }
    ~Display() { xcb_disconnect(conn_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    bool Ok() const { return ok_; }
    xcb_connection_t* Conn() const { return conn_; }
    xcb_window_t Root() const { return root_; }
    const Atoms& Names() const { return atoms_; }

    // The property's bytes (format 8 or 32), or empty.
    std::string Property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, uint32_t maxWords) const {
        xcb_get_property_cookie_t cookie = xcb_get_property(conn_, 0, window, property, type, 0, maxWords);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(conn_, cookie, nullptr);
        if (!reply) return {};
        // The value's length in bytes (xcb counts it in bytes already, whatever the format).
        std::string value(static_cast<const char*>(xcb_get_property_value(reply)),
                          static_cast<size_t>(std::max(xcb_get_property_value_length(reply), 0)));
        std::free(reply);
        return value;
    }

    std::vector<uint32_t> Cardinals(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                    uint32_t maxWords) const {
        const std::string bytes = Property(window, property, type, maxWords);
        std::vector<uint32_t> words(bytes.size() / 4);
        if (!words.empty()) std::memcpy(words.data(), bytes.data(), words.size() * 4);
        return words;
    }

    xcb_window_t ActiveWindow() const {
        const auto words = Cardinals(root_, atoms_.activeWindow, XCB_ATOM_WINDOW, 1);
        return words.empty() ? 0 : words[0];
    }

    FocusWindow Describe(xcb_window_t window) const {
        FocusWindow w;
        w.id = window;
        if (window == 0) return w;
        const std::string wmClass = Property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256);
        const size_t split = wmClass.find('\0');
        w.instance = wmClass.substr(0, split);
        if (split != std::string::npos) {
            const std::string rest = wmClass.substr(split + 1);
            w.windowClass = rest.substr(0, rest.find('\0'));
        }
        const auto pid = Cardinals(window, atoms_.wmPid, XCB_ATOM_CARDINAL, 1);
        if (!pid.empty() && pid[0] > 0 && pid[0] < 0x7fffffff) {
            w.pid = static_cast<int>(pid[0]);
            w.executable = ExecutableOfProcess(w.pid);
        }
        return w;
    }

    std::string Title(xcb_window_t window) const {
        std::string title = Property(window, atoms_.wmName, atoms_.utf8, 256);
        if (title.empty()) title = Property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 256);
        return title;
    }

    // The icon size closest to 32 pixels wide.
    void Icon(xcb_window_t window, OpenWindow* out) const {
        constexpr uint32_t kMaxWords = 1u << 20;
        const auto words = Cardinals(window, atoms_.wmIcon, XCB_ATOM_CARDINAL, kMaxWords);
        size_t best = words.size();
        uint32_t bestDistance = UINT32_MAX;
        for (size_t at = 0; at + 2 <= words.size();) {
            const uint64_t w = words[at], h = words[at + 1];
            if (w == 0 || h == 0 || w > 1024 || h > 1024 || at + 2 + w * h > words.size()) break;
            const uint32_t distance = static_cast<uint32_t>(w > 32 ? w - 32 : 32 - w);
            if (distance < bestDistance) bestDistance = distance, best = at;
            at += 2 + w * h;
        }
        if (best >= words.size()) return;
        out->iconWidth = static_cast<int>(words[best]);
        out->iconHeight = static_cast<int>(words[best + 1]);
        const auto first = words.begin() + static_cast<std::ptrdiff_t>(best + 2);
        out->iconArgb.assign(first, first + out->iconWidth * out->iconHeight);
    }

private:
    xcb_atom_t Intern(const char* name) {
        xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(conn_, 0, static_cast<uint16_t>(std::strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(conn_, cookie, nullptr);
        if (!reply) return XCB_ATOM_NONE;
        const xcb_atom_t atom = reply->atom;
        std::free(reply);
        return atom;
    }

    xcb_connection_t* conn_ = nullptr;
    xcb_window_t root_ = 0;
    Atoms atoms_;
    bool ok_ = false;
};

std::string NoDisplayReason() {
    const char* display = std::getenv("DISPLAY");
    const std::string which = display && *display
                                  ? std::string("the display ") + display + " cannot be opened"
                                  : std::string("no X display is set (DISPLAY)");
    return "automatic switching needs an X11 or XWayland window: " + which;
}

class X11FocusSource : public FocusSource {
public:
    ~X11FocusSource() override { Stop(); }

    bool Start(Listener changed, std::string* why) override {
        std::lock_guard lock(mutex_);
        if (thread_.joinable()) return true;
        auto display = std::make_unique<Display>();
        if (!display->Ok()) {
            if (why) *why = NoDisplayReason();
            return false;
        }
        wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake_ < 0) {
            if (why)
                *why = "the focus watcher cannot be started (eventfd: " + std::string(std::strerror(errno)) +
                       ")";
            return false;
        }
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(display->Conn(), display->Root(), XCB_CW_EVENT_MASK, &mask);
        xcb_flush(display->Conn());
        thread_ =
            std::thread([this, d = std::move(display), changed = std::move(changed)] { Run(*d, changed); });
        return true;
    }

    void Stop() override {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) return;
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(wake_, &one, sizeof one);
        thread_.join();
        close(wake_);
        wake_ = -1;
    }

private:
    void Run(const Display& d, const Listener& changed) {
        xcb_window_t shown = d.ActiveWindow();
        changed(d.Describe(shown));
        pollfd fds[2] = {{xcb_get_file_descriptor(d.Conn()), POLLIN, 0}, {wake_, POLLIN, 0}};
        while (true) {
            bool activeChanged = false;
            while (xcb_generic_event_t* event = xcb_poll_for_event(d.Conn())) {
                if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                    const auto* p = reinterpret_cast<xcb_property_notify_event_t*>(event);
                    if (p->window == d.Root() && p->atom == d.Names().activeWindow) activeChanged = true;
                }
                std::free(event);
            }
            if (xcb_connection_has_error(d.Conn())) return;  // the X server went away
            if (activeChanged) {
                const xcb_window_t now = d.ActiveWindow();
                if (now != shown) {
                    shown = now;
                    changed(d.Describe(now));
                }
                continue;  // replies may have queued more events
            }
            if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
            if (fds[1].revents & POLLIN) return;
        }
    }

    std::mutex mutex_;
    std::thread thread_;
    int wake_ = -1;
};

}  // namespace

std::unique_ptr<FocusSource> MakeFocusSource() {
    return std::make_unique<X11FocusSource>();
}

std::string FocusUnavailableReason() {
    Display d;
    return d.Ok() ? std::string() : NoDisplayReason();
}

std::vector<OpenWindow> ListOpenWindows(std::string* why) {
    Display d;
    if (!d.Ok()) {
        if (why) *why = NoDisplayReason();
        return {};
    }
    std::vector<OpenWindow> list;
    for (uint32_t id : d.Cardinals(d.Root(), d.Names().clientList, XCB_ATOM_WINDOW, 4096)) {
        OpenWindow w;
        w.window = d.Describe(id);
        if (w.window.instance.empty() && w.window.windowClass.empty() && w.window.executable.empty())
            continue;
        w.title = d.Title(id);
        d.Icon(id, &w);
        list.push_back(std::move(w));
    }
    return list;
}

std::string ExecutableOfProcess(int pid) {
    if (pid <= 0) return {};
    char target[4096];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0) return {};
    std::string path(target, static_cast<size_t>(n));
    // A replaced executable reads "/path/name (deleted)".
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace quorvel
