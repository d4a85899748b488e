// bench_startup: how long a GUI program takes from exec to its first window on the screen, and how much
// memory it holds once started. On the X server of $DISPLAY; each run starts the program, waits for the
// MapNotify of a top-level window carrying the program's process id (_NET_WM_PID), reads its resident
// memory (VmRSS) SETTLE seconds later and ends it with SIGTERM. The programs are run in turn, RUNS times
// each, and the medians reported side by side, so a loaded machine weighs on all of them alike.
//
// Usage: bench_startup [--runs N] [--settle SECONDS] NAME=PROGRAM [NAME=PROGRAM...]

#include <dirent.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

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
    std::vector<double> mapMs, cpuMs, rssMb;
};

struct X {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t pidAtom = 0;
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

// One run: true with the time to the first map and the resident memory after `settle` seconds.
bool RunOnce(X& x, Program& program, double settle) {
    while (xcb_generic_event_t* stale = xcb_poll_for_event(x.c)) std::free(stale);
    char* argv[] = {program.path.data(), nullptr};
    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    if (posix_spawn(&pid, program.path.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    double mapMs = -1, cpuMs = -1;
    const Clock::time_point deadline = start + std::chrono::seconds(30);
    while (mapMs < 0 && Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_wait_for_event(x.c);
        if (!event) break;
        const Clock::time_point seen = Clock::now();
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (WindowPid(x, map->window) == pid) {
                mapMs = std::chrono::duration<double, std::milli>(seen - start).count();
                cpuMs = CpuMs(pid);
            }
        }
        std::free(event);
    }
    Pause(settle);
    const double rss = ResidentMb(pid);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    if (mapMs < 0) return false;
    program.mapMs.push_back(mapMs);
    program.cpuMs.push_back(cpuMs);
    program.rssMb.push_back(rss);
    return true;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    double settle = 2.0;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (arg == "--settle" && i + 1 < argc)
            settle = std::atof(argv[++i]);
        else if (const size_t eq = arg.find('='); eq != std::string::npos)
            programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}, {}});
        else {
            std::fprintf(stderr, "usage: bench_startup [--runs N] [--settle SECONDS] NAME=PROGRAM...\n");
            return 2;
        }
    }
    if (programs.empty() || runs < 1) {
        std::fprintf(stderr, "usage: bench_startup [--runs N] [--settle SECONDS] NAME=PROGRAM...\n");
        return 2;
    }
    X x;
    if (!Connect(&x)) {
        std::fprintf(stderr, "bench_startup: no X server on DISPLAY\n");
        return 1;
    }
    for (int r = 0; r < runs; ++r) {
        for (Program& p : programs) {
            if (!RunOnce(x, p, settle)) {
                std::fprintf(stderr, "bench_startup: %s mapped no window\n", p.name.c_str());
                return 1;
            }
        }
    }
    std::printf("%-14s %5s %14s %15s %13s %14s\n", "program", "runs", "map (median)", "map (min-max)",
                "CPU to map", "RSS (median)");
    for (const Program& p : programs) {
        const auto [lo, hi] = std::minmax_element(p.mapMs.begin(), p.mapMs.end());
        std::printf("%-14s %5zu %11.1f ms %7.0f-%-4.0f ms %10.1f ms %11.1f MB\n", p.name.c_str(),
                    p.mapMs.size(), Median(p.mapMs), *lo, *hi, Median(p.cpuMs), Median(p.rssMb));
    }
    if (programs.size() > 1)
        std::printf("%s / %s map time: %.2f\n", programs[0].name.c_str(), programs[1].name.c_str(),
                    Median(programs[0].mapMs) / Median(programs[1].mapMs));
    xcb_disconnect(x.c);
    return 0;
}
