#pragma once
// A private Wayland compositor for the process tests: weston with its headless back-end (no screen, no
// GPU: pixman draws), on a socket of its own in the test's runtime folder, with the screenshooter that
// --debug offers.

#include <sys/types.h>

#include <QImage>
#include <chrono>
#include <string>

namespace quorvel::test {

class Weston {
public:
    // runtimeDir: the XDG_RUNTIME_DIR of the test (user-only); the compositor's socket is made there.
    Weston(const std::string& runtimeDir, int width, int height);
    ~Weston();
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;

    bool Installed() const { return installed_; }
    bool Running() const { return pid_ > 0; }
    const std::string& Why() const { return why_; }
    // For WAYLAND_DISPLAY.
    const std::string& Socket() const { return socket_; }
    // The output as weston-screenshooter writes it (a null image when it could not).
    QImage Screenshot();

private:
    bool installed_ = false;
    pid_t pid_ = -1;
    std::string runtimeDir_;
    std::string socket_;
    std::string log_;
    std::string why_;
};

}  // namespace quorvel::test
