#pragma once
// SIGTERM, SIGINT and SIGHUP (log-out, kill, Ctrl+C in a terminal) end the program the orderly way: the
// signal handler only writes a byte into a pipe; the event loop reads it and quits, so the shutdown runs
// on the UI thread like any other exit.

#include <QObject>

class QSocketNotifier;

namespace quorvel {

class QuitOnSignal : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;  // the default handlers come back

    // Which signal arrived last (0 for none).
    int Received() const { return received_; }

signals:
    void Quit();

private:
    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    int received_ = 0;
};

}  // namespace quorvel
