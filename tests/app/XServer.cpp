#include "XServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace quorvel::test {

namespace {

constexpr std::chrono::seconds kStartTimeout{15};

// The first line written into the pipe before the deadline.
std::string ReadLine(int fd, std::chrono::milliseconds timeout) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char c = 0;
        if (::read(fd, &c, 1) != 1) return {};
        if (c == '\n') return line;
        line += c;
    }
}

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = dirs.find(':', start);
        const std::string dir =
            dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

}  // namespace

XServer::XServer() {
    if (!OnPath("Xvfb")) {
        why_ = "Xvfb is not installed (Debian package xvfb)";
        return;
    }
    installed_ = true;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        why_ = "no pipe";
        return;
    }
    // The write end must survive the exec: a copy without close-on-exec.
    const int childFd = ::fcntl(fds[1], F_DUPFD, 10);
    const std::string fdText = std::to_string(childFd);
    const char* argv[] = {"Xvfb",         "-displayfd", fdText.c_str(), "-screen",  "0",
                          "1600x1000x24", "-nolisten",  "tcp",          "-noreset", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(childFd);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        why_ = "Xvfb did not start";
        return;
    }
    const std::string number = ReadLine(fds[0], kStartTimeout);
    ::close(fds[0]);
    if (number.empty()) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        why_ = "Xvfb gave no display number";
        return;
    }
    pid_ = pid;
    display_ = ":" + number;
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

MapWatcher::MapWatcher(const std::string& display) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    connection_ = c;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
    root_ = screens.data->root;
    // Structure events of the root too: a minimise request is sent to those, not to the substructure's.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 11, "_NET_WM_PID"), nullptr);
    if (atom) pidAtom_ = atom->atom;
    std::free(atom);
    atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 15, "WM_CHANGE_STATE"), nullptr);
    if (atom) changeStateAtom_ = atom->atom;
    std::free(atom);
    xcb_flush(c);
}

MapWatcher::~MapWatcher() {
    if (connection_) xcb_disconnect(connection_);
}

pid_t MapWatcher::WindowPid(xcb_window_t window) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = 0;
    if (reply && xcb_get_property_value_length(reply) == 4)
        pid = static_cast<pid_t>(*static_cast<uint32_t*>(xcb_get_property_value(reply)));
    std::free(reply);
    return pid;
}

void MapWatcher::Take(xcb_generic_event_t* event) {
    constexpr uint32_t kIconicState = 3;
    switch (event->response_type & 0x7f) {
    case XCB_MAP_NOTIFY:
        if (const pid_t pid = WindowPid(reinterpret_cast<xcb_map_notify_event_t*>(event)->window))
            mapped_.push_back(pid);
        break;
    case XCB_CLIENT_MESSAGE: {
        const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
        if (message->type == changeStateAtom_ && message->data.data32[0] == kIconicState) {
            if (const pid_t pid = WindowPid(message->window)) iconifyRequests_.push_back(pid);
        }
        break;
    }
    default:
        break;
    }
    std::free(event);
}

void MapWatcher::Poll() {
    if (!connection_) return;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) Take(event);
}

bool MapWatcher::Mapped(pid_t pid) const {
    for (pid_t p : mapped_) {
        if (p == pid) return true;
    }
    return false;
}

bool MapWatcher::WaitForMap(pid_t pid, std::chrono::milliseconds timeout) {
    return WaitFor(mapped_, pid, timeout);
}

bool MapWatcher::WaitForIconifyRequest(pid_t pid, std::chrono::milliseconds timeout) {
    return WaitFor(iconifyRequests_, pid, timeout);
}

bool MapWatcher::WaitFor(const std::vector<pid_t>& seen, pid_t pid, std::chrono::milliseconds timeout) {
    return PollUntil([&] { return std::find(seen.begin(), seen.end(), pid) != seen.end(); }, timeout);
}

bool MapWatcher::WaitUntilViewable(pid_t pid, bool viewable, std::chrono::milliseconds timeout) {
    return PollUntil([&] { return ViewableNow(pid) == viewable; }, timeout);
}

bool MapWatcher::PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    if (!connection_) return false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Poll();
        if (done()) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{xcb_get_file_descriptor(connection_), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left.count()));
    }
}

bool MapWatcher::ViewableNow(pid_t pid) {
    if (!connection_) return false;
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr);
    if (!tree) return false;
    bool viewable = false;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !viewable; ++i) {
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, children[i]), nullptr);
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && WindowPid(children[i]) == pid)
            viewable = true;
        std::free(attributes);
    }
    std::free(tree);
    return viewable;
}

bool WaitForRootProperty(const std::string& display, const char* name, std::chrono::milliseconds timeout) {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_intern_atom_reply_t* a = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = a ? a->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(a);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const auto present = [&] {
        xcb_get_property_reply_t* r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom, XCB_ATOM_ANY, 0, 1), nullptr);
        const bool there = r && r->type != static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(r);
        return there;
    };
    bool found = present();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!found && std::chrono::steady_clock::now() < deadline) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                reinterpret_cast<xcb_property_notify_event_t*>(e)->atom == atom)
                found = present();
            std::free(e);
        }
        if (found || xcb_connection_has_error(c)) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(std::max<int64_t>(left.count(), 0))) <= 0) break;
    }
    xcb_disconnect(c);
    return found;
}

}  // namespace quorvel::test
