#pragma once
// The window in front, as the desktop tells it: which application owns it. The X11 adapter (which also
// serves games and most programs under XWayland) watches the root window's _NET_ACTIVE_WINDOW and reports
// each change as it happens; nothing runs while the front window stays.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

struct FocusWindow {
    uint32_t id = 0;          // 0: no window is in front (the desktop, or the window went away)
    std::string instance;     // WM_CLASS, first part
    std::string windowClass;  // WM_CLASS, second part
    std::string executable;   // file name of /proc/PID/exe (PID from _NET_WM_PID); empty when unknown
    int pid = 0;
};

// A window open now, for picking a binding: its application, title and icon.
struct OpenWindow {
    FocusWindow window;
    std::string title;  // _NET_WM_NAME, else WM_NAME
    // _NET_WM_ICON: the size closest to 32 pixels, as 0xAARRGGBB pixels row by row; empty: no icon.
    int iconWidth = 0;
    int iconHeight = 0;
    std::vector<uint32_t> iconArgb;
};

class FocusSource {
public:
    using Listener = std::function<void(const FocusWindow&)>;
    virtual ~FocusSource() = default;

    // Starts watching; `changed` is called on the source's own thread, once with the window in front now
    // and then on every change. False with the reason when the desktop cannot be watched.
    virtual bool Start(Listener changed, std::string* why) = 0;
    // Stops watching; no call to the listener is running or follows once it returns. Idempotent.
    virtual void Stop() = 0;
};

// The desktop's focus source: X11 when a display is reachable, else one whose Start fails with the reason.
std::unique_ptr<FocusSource> MakeFocusSource();

// Why automatic switching cannot work here (no X11 or XWayland display), or empty when it can.
std::string FocusUnavailableReason();

// The application windows open now (the window manager's client list); empty with the reason in `why`
// when there is no display.
std::vector<OpenWindow> ListOpenWindows(std::string* why);

// The file name of a process's executable (/proc/PID/exe), or empty.
std::string ExecutableOfProcess(int pid);

}  // namespace quorvel
