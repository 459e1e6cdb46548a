#include "support/SessionManager.h"

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace testing_support {

struct SessionManager::State {
    int listenCount = 0;
    IceListenObj* listeners = nullptr;
    IceConn ice = nullptr;
    SmsConn client = nullptr;
    bool registered = false;
    std::optional<bool> saved;
    // Shared with the calls: what the thread is to do, and the end.
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::function<void(State&)>> actions;
    bool ending = false;
    int wake[2] = {-1, -1};  // a byte written wakes the thread's poll
};

namespace {

using Clock = std::chrono::steady_clock;

// Any client of this machine's own socket may connect: the socket is the test's.
Bool anyHost(char*)
{
    return True;
}

// A client that goes away is not this process's end, as ICE's own handlers would make it.
void ignoreIoError(IceConn) {}
void reportIceError(IceConn, Bool, int minor, unsigned long, int errorClass, int, IcePointer)
{
    std::fprintf(stderr, "session manager: ICE error %d on message %d\n", errorClass, minor);
}

SessionManager::State& stateOf(SmPointer data)
{
    return *static_cast<SessionManager::State*>(data);
}

Status registerClient(SmsConn conn, SmPointer data, char* previousId)
{
    std::free(previousId);
    char* id = SmsGenerateClientID(conn);
    std::string fallback = "1" + std::to_string(::getpid()) + "000000000000";
    const Status replied = SmsRegisterClientReply(conn, id ? id : fallback.data());
    std::free(id);
    stateOf(data).registered = replied != 0;
    return replied;
}

void interactRequest(SmsConn conn, SmPointer, int)
{
    SmsInteract(conn);
}
void interactDone(SmsConn, SmPointer, Bool) {}
void saveRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void phase2Request(SmsConn conn, SmPointer)
{
    SmsSaveYourselfPhase2(conn);
}
void saveDone(SmsConn, SmPointer data, Bool success)
{
    stateOf(data).saved = success != 0;
}
void closeConnection(SmsConn conn, SmPointer data, int count, char** reasons)
{
    SmFreeReasons(count, reasons);
    SessionManager::State& state = stateOf(data);
    IceConn ice = SmsGetIceConnection(conn);
    SmsCleanUp(conn);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    state.client = nullptr;
    state.ice = nullptr;
}
void setProperties(SmsConn, SmPointer, int count, SmProp** props)
{
    for (int i = 0; i < count; ++i)
        SmFreeProperty(props[i]);
    std::free(props);
}
void deleteProperties(SmsConn, SmPointer, int count, char** names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}
void getProperties(SmsConn conn, SmPointer)
{
    SmsReturnProperties(conn, 0, nullptr);
}

Status newClient(SmsConn conn, SmPointer data, unsigned long* mask, SmsCallbacks* calls, char**)
{
    SessionManager::State& state = stateOf(data);
    if (state.client)
        return 0;  // one client
    state.client = conn;
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    calls->register_client = {registerClient, data};
    calls->interact_request = {interactRequest, data};
    calls->interact_done = {interactDone, data};
    calls->save_yourself_request = {saveRequest, data};
    calls->save_yourself_phase2_request = {phase2Request, data};
    calls->save_yourself_done = {saveDone, data};
    calls->close_connection = {closeConnection, data};
    calls->set_properties = {setProperties, data};
    calls->delete_properties = {deleteProperties, data};
    calls->get_properties = {getProperties, data};
    return 1;
}

// The manager data the new-client call gets: the protocol is registered once per process.
SessionManager::State* s_current = nullptr;

Status newClientOfCurrent(SmsConn conn, SmPointer, unsigned long* mask, SmsCallbacks* calls, char** reason)
{
    return s_current ? newClient(conn, s_current, mask, calls, reason) : 0;
}

}  // namespace

SessionManager::SessionManager() : m_state(new State)
{
    IceSetIOErrorHandler(ignoreIoError);
    IceSetErrorHandler(reportIceError);
    char error[256] = "";
    static const bool initialized =
        SmsInitialize("ostrel-test", "1", newClientOfCurrent, nullptr, anyHost, sizeof error, error) != 0;
    if (!initialized) {
        std::fprintf(stderr, "session manager: %s\n", error);
        return;
    }
    if (!IceListenForConnections(&m_state->listenCount, &m_state->listeners, sizeof error, error)) {
        std::fprintf(stderr, "session manager: %s\n", error);
        return;
    }
    for (int i = 0; i < m_state->listenCount; ++i) {
        IceSetHostBasedAuthProc(m_state->listeners[i], anyHost);
        char* name = IceGetListenConnectionString(m_state->listeners[i]);
        const std::string address = name ? name : "";
        std::free(name);
        if (m_address.empty() && address.starts_with("local/"))
            m_address = address;
    }
    if (::pipe2(m_state->wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_address.clear();
        return;
    }
    s_current = m_state;
    m_thread = std::thread([this] { serve(); });
}

SessionManager::~SessionManager()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_state->mutex);
            m_state->ending = true;
        }
        [[maybe_unused]] const ssize_t n = ::write(m_state->wake[1], "", 1);
        m_thread.join();
    }
    for (const int fd : m_state->wake)
        if (fd >= 0)
            ::close(fd);
    if (m_state->ice) {
        IceSetShutdownNegotiation(m_state->ice, False);
        IceCloseConnection(m_state->ice);
    }
    if (m_state->listeners)
        IceFreeListenObjs(m_state->listenCount, m_state->listeners);
    if (s_current == m_state)
        s_current = nullptr;
    delete m_state;
}

void SessionManager::serve()
{
    State& state = *m_state;
    for (;;) {
        std::vector<pollfd> fds{{state.wake[0], POLLIN, 0}};
        for (int i = 0; i < state.listenCount; ++i)
            fds.push_back({IceGetListenConnectionNumber(state.listeners[i]), POLLIN, 0});
        const std::size_t client = fds.size();
        if (state.ice)
            fds.push_back({IceConnectionNumber(state.ice), POLLIN, 0});
        ::poll(fds.data(), fds.size(), -1);
        std::lock_guard<std::mutex> lock(state.mutex);
        if (fds[0].revents & POLLIN) {
            char drained[64];
            [[maybe_unused]] const ssize_t n = ::read(state.wake[0], drained, sizeof drained);
        }
        if (state.ending)
            return;
        for (int i = 0; i < state.listenCount; ++i) {
            if (!(fds[std::size_t(i) + 1].revents & POLLIN))
                continue;
            IceAcceptStatus status;
            IceConn accepted = IceAcceptConnection(state.listeners[i], &status);
            if (!accepted)
                continue;
            if (state.ice)  // one client
                IceCloseConnection(accepted);
            else
                state.ice = accepted;
        }
        if (fds.size() > client && fds[client].revents && state.ice) {
            IceConn ice = state.ice;
            if (IceProcessMessages(ice, nullptr, nullptr) != IceProcessMessagesSuccess && state.ice == ice) {
                if (state.client)
                    SmsCleanUp(state.client);
                IceSetShutdownNegotiation(ice, False);
                IceCloseConnection(ice);
                state.ice = nullptr;
                state.client = nullptr;
            }
        }
        for (auto& action : std::exchange(state.actions, {}))
            action(state);
        state.changed.notify_all();
    }
}

bool SessionManager::request(std::function<void(State&)> action, bool (*done)(const State&),
                             std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    if (action) {
        m_state->actions.push_back(std::move(action));
        [[maybe_unused]] const ssize_t n = ::write(m_state->wake[1], "", 1);
    }
    return m_state->changed.wait_for(lock, limit, [this, done] { return done(*m_state); });
}

bool SessionManager::waitForClient(std::chrono::milliseconds limit)
{
    return request({}, [](const State& s) { return s.client && s.registered; }, limit);
}

std::optional<bool> SessionManager::saveBeforeShutdown(std::chrono::milliseconds limit)
{
    request(
        [](State& s) {
            s.saved.reset();
            if (s.client)
                SmsSaveYourself(s.client, SmSaveBoth, True, SmInteractStyleAny, False);
        },
        [](const State& s) { return !s.actions.empty() ? false : s.saved.has_value() || !s.client; }, limit);
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->saved;
}

void SessionManager::cancelShutdown()
{
    request([](State& s) { if (s.client) SmsShutdownCancelled(s.client); },
            [](const State& s) { return s.actions.empty(); }, std::chrono::seconds(5));
}

void SessionManager::die()
{
    request([](State& s) { if (s.client) SmsDie(s.client); }, [](const State& s) { return s.actions.empty(); },
            std::chrono::seconds(5));
}

}  // namespace testing_support
