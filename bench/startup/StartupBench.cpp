// bench_startup: how long a GUI program takes from exec to its first window on the screen, and how much
// memory it holds once started. On the X server of $DISPLAY; each run starts the program, waits for the
// MapNotify of a top-level window carrying the program's process id (_NET_WM_PID) and for the window's
// first frame (the first DamageNotify of the window after its map: the program has put its first painted
// image on it), reads its resident memory (VmRSS) SETTLE seconds later and ends it with SIGTERM. The
// programs are run in turn, RUNS times each, and the medians reported side by side, so a loaded machine
// weighs on all of them alike.
//
// A program named with --pick is quorvel: once its window is mapped, the run asks its instance socket
// (--socket) for the view until the device list shows, clicks the first card as a user does (XTest), and
// waits until the answer to "view fill" says the picked mouse's page is filled in. Its memory is read
// SETTLE seconds after that.
//
// Usage: bench_startup [--runs N] [--settle SECONDS] [--socket PATH --pick NAME...] NAME=PROGRAM...

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string name, path;
    bool pick = false;  // quorvel: its first card is clicked and its page waited for
    std::vector<double> mapMs, frameMs, cpuMs, rssMb, listMs, filledMs;
};

struct X {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t pidAtom = 0;
    uint8_t damageNotify = 0;  // the event code of DamageNotify
};

bool Connect(X* x) {
    int screen = 0;
    x->c = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(x->c)) return false;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x->c));
    for (int i = 0; i < screen; ++i) xcb_screen_next(&it);
    x->root = it.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x->c, x->root, XCB_CW_EVENT_MASK, &mask);
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(x->c, xcb_intern_atom(x->c, 0, 11, "_NET_WM_PID"), nullptr);
    if (!atom) return false;
    x->pidAtom = atom->atom;
    std::free(atom);
    xcb_flush(x->c);
    return true;
}

// The DAMAGE extension, which reports when something is drawn into a window; false when the server has none.
bool StartDamage(X* x) {
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(x->c, &xcb_damage_id);
    if (!damage || !damage->present) return false;
    std::free(xcb_damage_query_version_reply(x->c, xcb_damage_query_version(x->c, 1, 1), nullptr));
    x->damageNotify = static_cast<uint8_t>(damage->first_event + XCB_DAMAGE_NOTIFY);
    return true;
}

// Damage is watched on every new top-level window from its creation, before the program can map it and
// draw: which one is the program's is known only at the map. The server drops the watch with the window.
void WatchDamage(X& x, xcb_window_t window) {
    xcb_damage_create(x.c, xcb_generate_id(x.c), window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    xcb_flush(x.c);
}

bool HasXTest(X& x) {
    const xcb_query_extension_reply_t* test = xcb_get_extension_data(x.c, &xcb_test_id);
    return test && test->present;
}

pid_t WindowPid(X& x, xcb_window_t window) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        x.c, xcb_get_property(x.c, 0, window, x.pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = 0;
    if (reply && xcb_get_property_value_length(reply) == 4)
        pid = static_cast<pid_t>(*static_cast<uint32_t*>(xcb_get_property_value(reply)));
    std::free(reply);
    return pid;
}

// CPU time of all the process's threads so far (schedstat: nanoseconds on the CPU), less sensitive to a
// loaded machine than the wall time.
double CpuMs(pid_t pid) {
    double total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task/";
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream stat(tasks + entry->d_name + "/schedstat");
            double ns = 0;
            if (stat >> ns) total += ns / 1e6;
        }
        closedir(dir);
    }
    return total;
}

double ResidentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return -1;
}

void Pause(double seconds) {
    timespec t{static_cast<time_t>(seconds),
               static_cast<long>((seconds - static_cast<time_t>(seconds)) * 1e9)};
    nanosleep(&t, nullptr);
}

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One request line to the instance socket and its answer line; empty when nobody answered within 1 s.
// The server answers one line per connection and then closes it.
std::string Ask(const std::string& socketPath, const std::string& request) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path) return {};
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return {};
    std::string answer;
    const std::string line = request + "\n";
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size())) {
        pollfd p{fd, POLLIN, 0};
        char buffer[256];
        while (answer.find('\n') == std::string::npos && poll(&p, 1, 1000) > 0) {
            const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            answer.append(buffer, static_cast<size_t>(n));
        }
    }
    close(fd);
    const size_t end = answer.find('\n');
    return end == std::string::npos ? std::string() : answer.substr(0, end);
}

// Asks until `done` holds for the answer or the deadline passes; the time since `start` when it held, -1
// when it did not. One connection at a time, a few milliseconds apart: each request costs the window a
// little work on its UI thread, and the server drops a client that floods it.
template <typename Done>
double WaitForAnswer(const std::string& socketPath, const std::string& request, Clock::time_point start,
                     Clock::time_point deadline, Done done) {
    while (Clock::now() < deadline) {
        if (done(Ask(socketPath, request))) return MsSince(start);
        Pause(0.004);
    }
    return -1;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The centre of the home page's first card, in window pixels: the window places the home page at
// (20, 80) - (right - 20, bottom - 50) and the page its device list at (180, 120) - (right - 180,
// bottom - 50), in design pixels kept at any window size. The list lays its cards out as
// CDeviceList::CardRect does: as many to a row as fit at 250 wide with gaps of 24, each up to 320 wide,
// the row centred both ways. The sample product configures three models; the first is model 102, the
// virtual mouse the benchmark plugs in.
void FirstCardCentre(int windowWidth, int windowHeight, int* x, int* y) {
    constexpr double kMinWidth = 250, kMaxWidth = 320, kGap = 24;
    constexpr int kModels = 3;
    const double listWidth = windowWidth - 400.0, listHeight = windowHeight - 300.0;
    const int perPage = std::max(1, static_cast<int>((listWidth + kGap) / (kMinWidth + kGap)));
    const int onPage = std::min(perPage, kModels);
    const double w = std::clamp((listWidth - kGap * (perPage - 1)) / perPage, kMinWidth, kMaxWidth);
    const double left = (listWidth - (onPage * w + (onPage - 1) * kGap)) / 2;
    *x = 200 + static_cast<int>(left + w / 2);
    *y = 200 + static_cast<int>(listHeight / 2);
}

// A click at the middle of the first card, through the XTest extension: the pointer moves there and the
// first button goes down and up, as the X server would report a user's click.
bool ClickFirstCard(X& x, xcb_window_t window) {
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, window), nullptr);
    xcb_translate_coordinates_reply_t* origin =
        xcb_translate_coordinates_reply(x.c, xcb_translate_coordinates(x.c, window, x.root, 0, 0), nullptr);
    const bool known = geometry && origin;
    int cardX = 0, cardY = 0;
    if (known) FirstCardCentre(geometry->width, geometry->height, &cardX, &cardY);
    const int rootX = known ? origin->dst_x + cardX : 0, rootY = known ? origin->dst_y + cardY : 0;
    std::free(geometry);
    std::free(origin);
    if (!known) return false;
    xcb_test_fake_input(x.c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, x.root, static_cast<int16_t>(rootX),
                        static_cast<int16_t>(rootY), 0);
    xcb_test_fake_input(x.c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(x.c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(x.c);
    return true;
}

// quorvel after its map: the device list, the click, the page filled in. False when a step did not come
// within the deadline.
bool PickFirstCard(X& x, const std::string& socketPath, xcb_window_t window, Clock::time_point start,
                   double* listMs, double* filledMs) {
    const Clock::time_point deadline = start + std::chrono::seconds(30);
    *listMs = WaitForAnswer(socketPath, "view", start, deadline,
                            [](const std::string& view) { return StartsWith(view, "device-list "); });
    if (*listMs < 0 || !ClickFirstCard(x, window)) return false;
    *filledMs = WaitForAnswer(socketPath, "view fill", start, deadline, [](const std::string& view) {
        return StartsWith(view, "device ") && EndsWith(view, " filled");
    });
    return *filledMs >= 0;
}

// One run: true with the time to the first map and to the first frame (and for a picked program the times
// to the device list and to the page filled in) and the resident memory `settle` seconds after the last of
// them.
bool RunOnce(X& x, Program& program, double settle, const std::string& socketPath) {
    while (xcb_generic_event_t* stale = xcb_poll_for_event(x.c)) std::free(stale);
    char* argv[] = {program.path.data(), nullptr};
    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    if (posix_spawn(&pid, program.path.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    double mapMs = -1, frameMs = -1, cpuMs = -1, listMs = -1, filledMs = -1;
    xcb_window_t mapped = XCB_NONE;
    const Clock::time_point deadline = start + std::chrono::seconds(30);
    bool exited = false;
    while (frameMs < 0 && !exited && Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(x.c);
        if (!event) {
            // Nothing queued: wait for the server, looking now and then whether the program ended.
            if (xcb_connection_has_error(x.c)) break;
            pollfd p{xcb_get_file_descriptor(x.c), POLLIN, 0};
            if (poll(&p, 1, 100) == 0) exited = waitpid(pid, nullptr, WNOHANG) == pid;
            continue;
        }
        const Clock::time_point seen = Clock::now();
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            WatchDamage(x, reinterpret_cast<xcb_create_notify_event_t*>(event)->window);
        } else if (type == XCB_MAP_NOTIFY && mapped == XCB_NONE) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (WindowPid(x, map->window) == pid) {
                mapMs = std::chrono::duration<double, std::milli>(seen - start).count();
                cpuMs = CpuMs(pid);
                mapped = map->window;
            }
        } else if (type == x.damageNotify && mapped != XCB_NONE &&
                   reinterpret_cast<xcb_damage_notify_event_t*>(event)->drawable == mapped) {
            frameMs = std::chrono::duration<double, std::milli>(seen - start).count();
        }
        std::free(event);
    }
    const bool picked =
        !program.pick || (frameMs >= 0 && PickFirstCard(x, socketPath, mapped, start, &listMs, &filledMs));
    if (exited) {
        std::fprintf(stderr, "bench_startup: %s ended before its window showed\n", program.name.c_str());
        return false;
    }
    Pause(settle);
    const double rss = ResidentMb(pid);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    if (mapMs < 0) {
        std::fprintf(stderr, "bench_startup: %s mapped no window\n", program.name.c_str());
        return false;
    }
    if (frameMs < 0) {
        std::fprintf(stderr, "bench_startup: %s drew nothing into its window\n", program.name.c_str());
        return false;
    }
    if (!picked) {
        std::fprintf(stderr, "bench_startup: %s: %s\n", program.name.c_str(),
                     listMs < 0 ? "no device list on the instance socket" : "the page was not filled in");
        return false;
    }
    program.mapMs.push_back(mapMs);
    program.frameMs.push_back(frameMs);
    program.cpuMs.push_back(cpuMs);
    program.rssMb.push_back(rss);
    if (program.pick) {
        program.listMs.push_back(listMs);
        program.filledMs.push_back(filledMs);
    }
    return true;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A median column of a picked program's times, "-" for a program without a page.
std::string MedianColumn(const std::vector<double>& v) {
    if (v.empty()) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", Median(v));
    return text;
}

constexpr const char* kUsage =
    "usage: bench_startup [--runs N] [--settle SECONDS] [--socket PATH --pick NAME...] NAME=PROGRAM...\n";

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    double settle = 2.0;
    std::string socketPath;
    std::vector<std::string> picks;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (arg == "--settle" && i + 1 < argc)
            settle = std::atof(argv[++i]);
        else if (arg == "--socket" && i + 1 < argc)
            socketPath = argv[++i];
        else if (arg == "--pick" && i + 1 < argc)
            picks.push_back(argv[++i]);
        else if (const size_t eq = arg.find('='); eq != std::string::npos)
            programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), false, {}, {}, {}, {}, {}, {}});
        else {
            std::fprintf(stderr, "%s", kUsage);
            return 2;
        }
    }
    for (Program& p : programs) p.pick = std::find(picks.begin(), picks.end(), p.name) != picks.end();
    if (programs.empty() || runs < 1 || (!picks.empty() && socketPath.empty())) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    X x;
    if (!Connect(&x)) {
        std::fprintf(stderr, "bench_startup: no X server on DISPLAY\n");
        return 1;
    }
    if (!StartDamage(&x)) {
        std::fprintf(stderr, "bench_startup: the X server has no DAMAGE extension to see frames with\n");
        return 1;
    }
    if (!picks.empty() && !HasXTest(x)) {
        std::fprintf(stderr, "bench_startup: the X server has no XTest extension to click with\n");
        return 1;
    }
    for (int r = 0; r < runs; ++r) {
        for (Program& p : programs) {
            if (!RunOnce(x, p, settle, socketPath)) return 1;
        }
    }
    std::printf("%-14s %5s %14s %15s %13s %13s %14s %14s %20s\n", "program", "runs", "map (median)",
                "map (min-max)", "first frame", "CPU to map", "RSS (median)", "list (median)",
                "page filled (median)");
    for (const Program& p : programs) {
        const auto [lo, hi] = std::minmax_element(p.mapMs.begin(), p.mapMs.end());
        std::printf("%-14s %5zu %11.1f ms %7.0f-%-4.0f ms %10.1f ms %10.1f ms %11.1f MB %14s %20s\n",
                    p.name.c_str(), p.mapMs.size(), Median(p.mapMs), *lo, *hi, Median(p.frameMs),
                    Median(p.cpuMs), Median(p.rssMb), MedianColumn(p.listMs).c_str(),
                    MedianColumn(p.filledMs).c_str());
    }
    if (programs.size() > 1) {
        // The first program against the last (the empty window in bench/startup.sh).
        const Program& first = programs.front();
        const Program& floor = programs.back();
        std::printf("%s / %s map time: %.2f\n", first.name.c_str(), floor.name.c_str(),
                    Median(first.mapMs) / Median(floor.mapMs));
        std::printf("%s / %s first frame: %.2f\n", first.name.c_str(), floor.name.c_str(),
                    Median(first.frameMs) / Median(floor.frameMs));
        if (!first.filledMs.empty()) {
            std::printf("%s page filled / %s map time: %.2f\n", first.name.c_str(), floor.name.c_str(),
                        Median(first.filledMs) / Median(floor.mapMs));
            std::printf("%s page filled / %s first frame: %.2f\n", first.name.c_str(), floor.name.c_str(),
                        Median(first.filledMs) / Median(floor.frameMs));
        }
    }
    xcb_disconnect(x.c);
    return 0;
}
