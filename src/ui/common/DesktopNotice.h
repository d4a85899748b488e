#pragma once
// A short notice through the desktop's notification service (org.freedesktop.Notifications on the session
// bus). The DPI indicator uses it where a window cannot place itself in the corner of the screen (a
// Wayland session): KDE and GNOME show the notice where notices go, without taking the keyboard focus
// from the game. Each notice replaces the one before, so a quick run of DPI presses shows one notice.
//
// Calls never block the UI: the first Available() asks the bus once (a few milliseconds); Show() is an
// asynchronous call, and one that arrives while the previous call is unanswered waits for its id.

#include <QDBusConnection>
#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

namespace quorvel {

class DesktopNotice : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";

    explicit DesktopNotice(QObject* parent = nullptr, const QDBusConnection& bus = QDBusConnection::sessionBus());

    // Whether a notification service runs or can be started on the bus. Asked once; a failed call asks
    // again next time.
    bool Available();
    // Shows the notice (replacing the previous one) for about `timeoutMs`.
    void Show(const QString& summary, const QString& body, int timeoutMs);

    // Where the DPI indicator goes on this desktop: true when windows cannot place themselves (Wayland)
    // and a notification service is there.
    static bool PreferredFor(const QString& platformName);

private:
    void Send();
    void OnReply(QDBusPendingCallWatcher* call);

    QDBusConnection bus_;
    int available_ = -1;  // unknown until asked
    uint lastId_ = 0;
    bool inFlight_ = false;
    bool queued_ = false;
    QString summary_;
    QString body_;
    int timeoutMs_ = 0;
};

}  // namespace quorvel
