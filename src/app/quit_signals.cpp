#include "app/quit_signals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace velnor {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// The pipe from the handler to the event loop: [0] read, [1] write; -1 when closed.
int requestPipe[2] = {-1, -1};

extern "C" void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // Non-blocking: if the pipe is full, a request is already waiting.
    [[maybe_unused]] const ssize_t written = ::write(requestPipe[1], &byte, 1);
    errno = saved;
}

void setHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

} // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (requestPipe[0] >= 0 || ::pipe2(requestPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(requestPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { readRequests(); });
    setHandler(onSignal);
}

QuitSignals::~QuitSignals() {
    if (!notifier_)
        return;
    setHandler(SIG_DFL);
    delete notifier_;
    ::close(requestPipe[0]);
    ::close(requestPipe[1]);
    requestPipe[0] = requestPipe[1] = -1;
}

void QuitSignals::setOnQuit(std::function<void()> onQuit) {
    onQuit_ = std::move(onQuit);
    deliver();
}

void QuitSignals::readRequests() {
    char bytes[16];
    while (::read(requestPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (requested_)
        return;
    requested_ = true;
    setHandler(SIG_DFL); // a second signal ends a game that does not close
    deliver();
}

void QuitSignals::deliver() {
    if (requested_ && onQuit_) {
        const std::function<void()> onQuit = std::move(onQuit_);
        onQuit_ = nullptr;
        onQuit();
    }
}

} // namespace velnor
