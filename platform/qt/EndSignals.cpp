#include "EndSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <fcntl.h>
#include <iterator>
#include <pthread.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr std::size_t kCount = std::size(kEndSignals);

// The pipe's write end, all that the handler touches, and the dispositions it replaced.
volatile std::sig_atomic_t s_writeEnd = -1;
volatile std::sig_atomic_t s_received = 0;
struct sigaction s_previous[kCount];
bool s_replaced[kCount] = {};

extern "C" void onEndSignal(int signal)
{
    const int saved = errno;
    s_received = 1;
    const auto number = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal still to be acted on: this one may be lost.
    [[maybe_unused]] const ssize_t written = ::write(s_writeEnd, &number, 1);
    errno = saved;
}

bool ignored(const struct sigaction& action)
{
    return !(action.sa_flags & SA_SIGINFO) && action.sa_handler == SIG_IGN;
}

}  // namespace

EndSignals::EndSignals(std::function<void(int signal)> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal))
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("Ostrel_Kolv_An: the end signals are not handled");
        return;
    }
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    s_writeEnd = m_writeEnd;
    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { readSignal(); });

    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    for (const int s : kEndSignals)
        sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;  // system calls under way go on; the notifier acts later
    for (std::size_t i = 0; i < kCount; ++i) {
        struct sigaction before {};
        if (::sigaction(kEndSignals[i], nullptr, &before) != 0 || ignored(before))
            continue;
        s_replaced[i] = ::sigaction(kEndSignals[i], &action, &s_previous[i]) == 0;
    }
}

EndSignals::~EndSignals()
{
    for (std::size_t i = 0; i < kCount; ++i)
        if (std::exchange(s_replaced[i], false))
            ::sigaction(kEndSignals[i], &s_previous[i], nullptr);
    s_writeEnd = -1;
    if (m_readEnd >= 0) {
        ::close(m_readEnd);
        ::close(m_writeEnd);
    }
}

void EndSignals::readSignal()
{
    unsigned char number = 0;
    ssize_t n;
    while ((n = ::read(m_readEnd, &number, 1)) < 0 && errno == EINTR) {
    }
    if (n != 1)
        return;
    // Not again from a loop that `onSignal` might run.
    m_notifier->setEnabled(false);
    m_onSignal(number);
    m_notifier->setEnabled(true);
}

bool EndSignals::received()
{
    return s_received != 0;
}

void EndSignals::endBy(int signal)
{
    std::fflush(nullptr);
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    _exit(128 + signal);  // for a signal whose default action does not end the process
}

}  // namespace platform
