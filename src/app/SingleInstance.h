#pragma once
// One quorvel per user. The first process holds a lock file and serves a local socket beside it (both
// user-only, in $XDG_RUNTIME_DIR or the data folder, named by the application id); a second start finds
// the lock taken, asks the first over the socket to show its window, and ends. A lock left by a crashed
// instance (its process is gone) is taken over, and so is the socket file it left.
//
// The socket speaks one line of text per connection: "show" -> "ok" (the window is shown and raised),
// "show TOKEN" -> "ok" (the same, with the second start's activation token: on Wayland a window may take
// the focus only with a token the compositor gave the launch the user made),
// "status" -> "quorvel <pid> visible|hidden", "view" -> what the window shows (DeviceMainDlg::DescribeView),
// "view fill" -> the same with a last word, "filled" once the picked mouse's page shows what was read from
// it, else "unfilled".
// Anything else -> "unknown". The server closes the connection after its answer, and closes a client that
// has sent no whole line within the idle time, so no client holds the window's socket.

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace quorvel {

class DeviceLock;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        kFirst,      // this process holds the lock (and serves the socket, when it could be made)
        kSecond,     // another quorvel of this user runs
        kUnguarded,  // the lock could not be made (no folder, no permission): run without the guard
    };

    // Paths default to InstanceLockPath() and InstanceSocketPath().
    SingleInstance();
    SingleInstance(QString lockPath, QString socketPath);
    ~SingleInstance() override;

    // Takes the lock.
    Role Claim();
    // The first instance starts serving the socket; false when it cannot (see Serving()).
    bool Serve();
    // The second instance's hand-over: asks the first to show its window and waits for its answer. The
    // first may still be starting (lock taken, socket not yet served): connecting is retried until the
    // time-out. False when nobody answered. `token` is the activation token of this launch
    // (XDG_ACTIVATION_TOKEN), passed on so that the first may raise its window on Wayland.
    bool HandOver(std::chrono::milliseconds timeout, const QString& token = QString());
    // The activation token a launch got from the desktop, when it is one that can travel in a request.
    static QString LaunchToken();
    // Sends one request line and returns the answer line (empty when there was none in time).
    static QString Ask(const QString& socketPath, const QString& request, std::chrono::milliseconds timeout);

    // Whether the socket is served (it may be missing when its path is too long or the folder is not
    // writable; the lock still guards).
    bool Serving() const;
    // Answers "status" with whether the window is visible.
    void SetVisibilityQuery(std::function<bool()> visible) { visible_ = std::move(visible); }
    // Answers "view".
    void SetViewQuery(std::function<QString()> view) { view_ = std::move(view); }
    // Answers the last word of "view fill".
    void SetFillQuery(std::function<bool()> filled) { filled_ = std::move(filled); }
    // How long a client may stay connected without sending its request line (default kIdleClientTime).
    void SetIdleTime(std::chrono::milliseconds idle) { idle_ = idle; }
    static constexpr std::chrono::milliseconds kIdleClientTime{5000};

    // Gives the lock and the socket up (also done on destruction).
    void Release();

    QString LockPath() const { return lockPath_; }
    QString SocketPath() const { return socketPath_; }

signals:
    // A second start asked for the window; `token` is its activation token (empty when it had none).
    void ShowRequested(const QString& token);

private:
    class Client;

    void OnConnection();
    QByteArray AnswerTo(const QByteArray& request);

    QString lockPath_;
    QString socketPath_;
    std::unique_ptr<DeviceLock> lock_;  // held while it exists
    // The listening socket (a plain Unix socket: QtNetwork would be loaded at every start for it).
    int listenFd_ = -1;
    QSocketNotifier* listening_ = nullptr;
    std::function<bool()> visible_;
    std::function<QString()> view_;
    std::function<bool()> filled_;
    std::chrono::milliseconds idle_ = kIdleClientTime;
};

}  // namespace quorvel
