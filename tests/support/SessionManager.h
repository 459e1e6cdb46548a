#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace testing_support {

// A session manager speaking XSMP (through libSM and libICE) on a local socket of its own, for
// the programs a test starts with SESSION_MANAGER set to its address. It keeps one client and
// steps it through a logout: the request to save, then the session's end or its cancel. A
// thread of its own answers the client meanwhile, as a client connecting waits for the answer.
class SessionManager {
public:
    SessionManager();
    ~SessionManager();
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    /// The value of SESSION_MANAGER; "" when it cannot listen.
    const std::string& address() const { return m_address; }

    /// Waits until a client has registered; false after `limit`.
    bool waitForClient(std::chrono::milliseconds limit);
    /// The first step of a logout: the client is asked to save itself before a shutdown, and
    /// may interact. Whether it said it saved; nothing when it did not answer within `limit`.
    std::optional<bool> saveBeforeShutdown(std::chrono::milliseconds limit);
    /// The logout was cancelled: the client goes on.
    void cancelShutdown();
    /// The session ends: the client is told to end.
    void die();

    struct State;

private:
    // The manager's thread: reads what comes and does what the calls ask, until the end.
    void serve();
    // Has the thread run `action`, then waits until `done` holds; false after `limit`.
    bool request(std::function<void(State&)> action, bool (*done)(const State&), std::chrono::milliseconds limit);

    State* m_state;
    std::string m_address;
    std::thread m_thread;
};

}  // namespace testing_support
