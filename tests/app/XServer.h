#pragma once
// A private X server for the process tests: Xvfb on a display it picks itself (-displayfd, so parallel
// test runs never race for a number), and a watcher that sees top-level windows being mapped (an X
// MapNotify on the root window, never a sleep), each with the process id the window carries.

#include <sys/types.h>
#include <xcb/xcb.h>

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace quorvel::test {

class XServer {
public:
    // Starts Xvfb with one 1600x1000x24 screen; Running() is false (and Why() says why) when it cannot.
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Xvfb is on PATH; when it is but did not start, Why() says why.
    bool Installed() const { return installed_; }
    bool Running() const { return pid_ > 0; }
    const std::string& Why() const { return why_; }
    // ":<n>", for DISPLAY.
    const std::string& Display() const { return display_; }

private:
    bool installed_ = false;
    pid_t pid_ = -1;
    std::string display_;
    std::string why_;
};

// Watches the root window of a display for windows being mapped and unmapped, and for a window's request to
// be minimised (the WM_CHANGE_STATE message a client sends the window manager through the root window).
class MapWatcher {
public:
    explicit MapWatcher(const std::string& display);
    ~MapWatcher();
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    bool Connected() const { return connection_ != nullptr; }
    // Waits until a window of process `pid` has been mapped since the watcher started; false on time-out.
    bool WaitForMap(pid_t pid, std::chrono::milliseconds timeout);
    // Waits until a window of the process asked to be minimised since the watcher started.
    bool WaitForIconifyRequest(pid_t pid, std::chrono::milliseconds timeout);
    // Waits until a window of the process is (or no window of it is) viewable now: the server is asked
    // again at each map or unmap that arrives.
    bool WaitUntilViewable(pid_t pid, bool viewable, std::chrono::milliseconds timeout);
    // Reads what has arrived so far, without waiting.
    void Poll();
    // Processes whose windows were mapped, in the order seen.
    const std::vector<pid_t>& MappedBy() const { return mapped_; }
    bool Mapped(pid_t pid) const;
    // Whether a window of the process is mapped now (map state viewable), asked of the server.
    bool ViewableNow(pid_t pid);

private:
    pid_t WindowPid(xcb_window_t window);
    void Take(xcb_generic_event_t* event);
    bool WaitFor(const std::vector<pid_t>& seen, pid_t pid, std::chrono::milliseconds timeout);
    // Reads what arrives until `done` holds or the time is up.
    bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_atom_t pidAtom_ = 0;
    xcb_atom_t changeStateAtom_ = 0;
    std::vector<pid_t> mapped_;
    std::vector<pid_t> iconifyRequests_;
};

// Waits until the root window of the display carries the property (a window manager's start-up command
// can set one once it manages the screen): PropertyNotify events, no polling. False on time-out.
bool WaitForRootProperty(const std::string& display, const char* name, std::chrono::milliseconds timeout);

}  // namespace quorvel::test
