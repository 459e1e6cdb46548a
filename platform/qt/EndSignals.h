#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace platform {

// SIGTERM, SIGHUP and SIGINT turned into a call on the main thread, between events, also while
// a modal dialog runs its own loop: the handler only writes the signal's number to a pipe, whose
// other end a socket notifier reads. A signal ignored when the program started (nohup, a
// background job) stays ignored. One instance at a time.
class EndSignals : public QObject {
public:
    /// Installs the handlers; `onSignal` gets the number of each signal received.
    explicit EndSignals(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    /// Puts back the dispositions the signals had before.
    ~EndSignals() override;
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    /// Whether the handlers are in place: false when no pipe could be made.
    bool installed() const { return m_notifier != nullptr; }

    /// Whether one of the signals has come, also while the event loop does not run (a long step
    /// can ask it between its parts and stop).
    static bool received();

    /// Ends the process by the signal's default action, so that its parent sees which signal
    /// ended it.
    [[noreturn]] static void endBy(int signal);

private:
    void readSignal();

    std::function<void(int)> m_onSignal;
    int m_readEnd = -1;
    int m_writeEnd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace platform
