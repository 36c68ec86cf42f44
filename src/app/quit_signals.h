#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace velnor {

// SIGTERM and SIGINT (a logout, `kill`, Ctrl+C in a terminal) as a request to close the game.
// The handler only writes a byte to a pipe, which is all a signal handler may safely do; the
// pipe is read in the event loop, which then calls `onQuit`. A file being written is thus
// always finished before the game closes. After the first request the signals take their
// default action again, so a game that does not close can still be ended. One object at a time.
class QuitSignals : public QObject {
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // What a request does; a request that came before this is set is kept until it is.
    void setOnQuit(std::function<void()> onQuit);
    // Whether the handlers are in place (false if the pipe could not be made).
    bool isInstalled() const { return notifier_ != nullptr; }

private:
    void readRequests();
    void deliver();

    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> onQuit_;
    bool requested_ = false;
};

} // namespace velnor
