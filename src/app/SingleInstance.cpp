#include "app/SingleInstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>

#include "platform/DeviceLock.h"
#include "platform/LocalSocket.h"
#include "shell/AppInstance.h"
#include "shell/TraceLog.h"

namespace quorvel {

namespace {

// The longest request line the server reads; a client that sends more is dropped.
constexpr qint64 kMaxRequest = 256;

// The folder of the lock: the runtime folder is the user's own; when it (or the data folder) does not
// exist yet it is made, user-only.
bool MakeFolder(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    if (QFileInfo(folder).isDir()) return true;
    if (!QDir().mkpath(folder)) return false;
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    return true;
}

// A token is opaque to us; we pass on only what a compositor hands out (printable ASCII, no spaces), so
// nothing a local client sends ends up in the environment as anything else.
bool IsToken(const QByteArray& token) {
    if (token.isEmpty()) return false;
    for (const char c : token) {
        if (c <= ' ' || c > '~') return false;
    }
    return true;
}

}  // namespace

SingleInstance::SingleInstance()
    : SingleInstance(QString::fromStdString(InstanceLockPath()),
                     QString::fromStdString(InstanceSocketPath())) {}

SingleInstance::SingleInstance(QString lockPath, QString socketPath)
    : lockPath_(std::move(lockPath)), socketPath_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() {
    Release();
}

SingleInstance::Role SingleInstance::Claim() {
    if (lockPath_.isEmpty() || !MakeFolder(lockPath_)) {
        Trace("single instance: no folder for %s; running without the guard", qPrintable(lockPath_));
        return Role::kUnguarded;
    }
    // An advisory lock the system drops when its holder ends, crashed or not: never stale, and taken
    // without the writes and checks of a lock file that must be judged stale (two milliseconds before
    // the window could show).
    lock_ = std::make_unique<DeviceLock>(QFile::encodeName(lockPath_).toStdString());
    switch (lock_->TryTake("quorvel")) {
        case DeviceLock::Result::kTaken:
            return Role::kFirst;
        case DeviceLock::Result::kBusy:
            lock_.reset();
            return Role::kSecond;
        default:
            Trace("single instance: %s; running without the guard", lock_->Error().c_str());
            lock_.reset();
            return Role::kUnguarded;
    }
}

// One connection: read until a whole line (or too much, or the idle time), answer it, close.
class SingleInstance::Client : public QObject {
public:
    Client(SingleInstance* instance, int fd) : QObject(instance), instance_(instance), fd_(fd) {
        readable_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(readable_, &QSocketNotifier::activated, this, &Client::Read);
        // Probes (quorvelctl) connect and leave at once; a client that stays without asking is closed.
        idle_ = new QTimer(this);
        idle_->setSingleShot(true);
        connect(idle_, &QTimer::timeout, this, &Client::Close);
        idle_->start(instance->idle_);
    }
    ~Client() override { ::close(fd_); }

private:
    void Read() {
        char chunk[kMaxRequest + 1];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (n <= 0) return Close();  // gone before a whole line
        request_.append(chunk, n);
        const qsizetype end = request_.indexOf('\n');
        if (end >= 0 && end <= kMaxRequest) return Answer(request_.left(end).trimmed());
        if (request_.size() > kMaxRequest) Close();
    }

    void Answer(const QByteArray& request) {
        const QByteArray answer = instance_->AnswerTo(request) + '\n';
        // One request per connection: whatever else the client sent is not read. The answer is a short
        // line into an empty socket buffer, so it goes out whole at once.
        ::send(fd_, answer.constData(), static_cast<size_t>(answer.size()), MSG_NOSIGNAL);
        Close();
    }

    void Close() {
        readable_->setEnabled(false);
        idle_->stop();
        deleteLater();  // not at once: this runs inside the notifier's or the timer's signal
    }

    SingleInstance* instance_;
    int fd_;
    QSocketNotifier* readable_ = nullptr;
    QTimer* idle_ = nullptr;
    QByteArray request_;
};

bool SingleInstance::Serve() {
    if (!lock_) return false;  // only the holder of the lock may replace the socket file
    if (listenFd_ >= 0) return true;
    // We hold the lock: a socket file here was left by a crashed instance, and is replaced.
    std::string why;
    listenFd_ = ListenLocalSocket(QFile::encodeName(socketPath_).toStdString(), &why);
    if (listenFd_ < 0) {
        Trace("single instance: cannot serve %s (%s); a second start will not reach this window",
              qPrintable(socketPath_), why.c_str());
        return false;
    }
    listening_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
    connect(listening_, &QSocketNotifier::activated, this, &SingleInstance::OnConnection);
    return true;
}

bool SingleInstance::Serving() const {
    return listenFd_ >= 0;
}

void SingleInstance::OnConnection() {
    for (int fd = AcceptLocalClient(listenFd_); fd >= 0; fd = AcceptLocalClient(listenFd_)) new Client(this, fd);
}

QByteArray SingleInstance::AnswerTo(const QByteArray& request) {
    if (request == "show" || request.startsWith("show ")) {
        const QByteArray token = request.mid(5).trimmed();
        emit ShowRequested(IsToken(token) ? QString::fromLatin1(token) : QString());
        return "ok";
    }
    if (request == "status") {
        const bool visible = visible_ && visible_();
        return "quorvel " + QByteArray::number(QCoreApplication::applicationPid()) +
               (visible ? " visible" : " hidden");
    }
    if (request == "view") return view_ ? view_().toUtf8() : QByteArray("none");
    if (request == "view fill") {
        const QByteArray view = view_ ? view_().toUtf8() : QByteArray("none");
        return view + (filled_ && filled_() ? " filled" : " unfilled");
    }
    return "unknown";
}

QString SingleInstance::Ask(const QString& socketPath, const QString& request,
                            std::chrono::milliseconds timeout) {
    const std::optional<std::string> answer =
        AskLocalSocket(QFile::encodeName(socketPath).toStdString(), request.toUtf8().toStdString(), timeout);
    return answer ? QString::fromUtf8(QByteArray::fromStdString(*answer)).trimmed() : QString();
}

bool SingleInstance::HandOver(std::chrono::milliseconds timeout, const QString& token) {
    const QString request = token.isEmpty() ? QStringLiteral("show") : QStringLiteral("show ") + token;
    return Ask(socketPath_, request, timeout) == QLatin1String("ok");
}

QString SingleInstance::LaunchToken() {
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    // The request line must hold it whole.
    if (!IsToken(token) || token.size() > kMaxRequest - 8) return {};
    return QString::fromLatin1(token);
}

void SingleInstance::Release() {
    if (listenFd_ >= 0) {
        delete listening_;
        listening_ = nullptr;
        ::close(listenFd_);
        listenFd_ = -1;
        ::unlink(QFile::encodeName(socketPath_).constData());
    }
    if (lock_) {
        // Removed while still held, as a lock file is: a later start of an older quorvel, which judges
        // the file's content, finds none. A start racing with this one finds the lock taken and hands
        // over; it never waits on the removed file.
        ::unlink(QFile::encodeName(lockPath_).constData());
        lock_.reset();
    }
}

}  // namespace quorvel
