#include "app/SingleInstance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include "shell/AppInstance.h"
#include "shell/TraceLog.h"

namespace quorvel {

namespace {

// The longest request line the server reads; a client that sends more is dropped.
constexpr qint64 kMaxRequest = 256;
// Pause between connection attempts while the first instance is still starting.
constexpr std::chrono::milliseconds kRetryPause{25};

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
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock is stale only when its process is gone (or is another program now); never by its age, since
    // the first instance holds it for days.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return Role::kFirst;
    const QLockFile::LockError error = lock_->error();
    lock_.reset();
    if (error == QLockFile::LockFailedError) return Role::kSecond;
    Trace("single instance: cannot lock %s (error %d); running without the guard", qPrintable(lockPath_),
          static_cast<int>(error));
    return Role::kUnguarded;
}

bool SingleInstance::Serve() {
    if (!lock_) return false;  // only the holder of the lock may replace the socket file
    if (server_) return true;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock: a socket file here was left by a crashed instance.
    QLocalServer::removeServer(socketPath_);
    if (!server_->listen(socketPath_)) {
        Trace("single instance: cannot serve %s (%s); a second start will not reach this window",
              qPrintable(socketPath_), qPrintable(server_->errorString()));
        delete server_;
        server_ = nullptr;
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    return true;
}

bool SingleInstance::Serving() const {
    return server_ != nullptr && server_->isListening();
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { OnRequest(client); });
        // Probes (quorvelctl) connect and leave at once; a client that stays without asking is closed.
        auto* idle = new QTimer(client);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, client, [client] { client->abort(); });
        idle->start(idle_);
        if (client->bytesAvailable() > 0) OnRequest(client);
    }
}

void SingleInstance::OnRequest(QLocalSocket* client) {
    if (client->canReadLine()) {
        const QByteArray request = client->readLine(kMaxRequest).trimmed();
        QByteArray answer = "unknown";
        if (request == "show" || request.startsWith("show ")) {
            const QByteArray token = request.mid(5).trimmed();
            emit ShowRequested(IsToken(token) ? QString::fromLatin1(token) : QString());
            answer = "ok";
        } else if (request == "status") {
            const bool visible = visible_ && visible_();
            answer = "quorvel " + QByteArray::number(QCoreApplication::applicationPid()) +
                     (visible ? " visible" : " hidden");
        } else if (request == "view") {
            answer = view_ ? view_().toUtf8() : QByteArray("none");
        }
        client->write(answer + '\n');
        // One request per connection: whatever else the client sent is not read, and the connection ends
        // once the answer is out.
        disconnect(client, &QLocalSocket::readyRead, this, nullptr);
        client->disconnectFromServer();
        return;
    }
    if (client->bytesAvailable() > kMaxRequest) client->abort();
}

QString SingleInstance::Ask(const QString& socketPath, const QString& request,
                            std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())))) break;
        if (deadline.hasExpired()) return {};
        QThread::msleep(static_cast<unsigned long>(kRetryPause.count()));
    }
    socket.write(request.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())))) return {};
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
            return {};
    }
    return QString::fromUtf8(socket.readLine().trimmed());
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
    if (server_) {
        server_->close();  // removes the socket file
        delete server_;
        server_ = nullptr;
    }
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
}

}  // namespace quorvel
