#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/xdg_dirs.h"

namespace tamvel {
namespace {

constexpr std::string_view kRequest = "forward\n";
constexpr std::string_view kAnswer = "done\n";

using Clock = std::chrono::steady_clock;

/// A refused connect (the listener's queue is full) is tried again after this pause.
constexpr auto kConnectRetryPause = std::chrono::milliseconds(10);

/// A folder only this user can enter (created if missing); false for anything else.
bool IsPrivateFolder(const std::filesystem::path& folder, bool create) {
    if (create) ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

/// The socket address of a path, or false when the path is too long for one.
bool MakeAddress(const std::filesystem::path& path, sockaddr_un& address) {
    const std::string& text = path.native();
    if (text.size() >= sizeof(address.sun_path)) return false;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

/// Milliseconds until `deadline`, rounded up; 0 once it has passed.
int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

/// Waits until `fd` is ready for `events` or `deadline` passes.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int result = ::poll(&entry, 1, MillisecondsLeft(deadline));
        if (result >= 0 || errno != EINTR) return result > 0;
    }
}

/// Reads up to `expected` bytes or until the peer stops sending or `deadline` passes.
std::string ReadWithin(int fd, std::size_t expected, Clock::time_point deadline) {
    std::string received;
    char buffer[64];
    while (received.size() < expected && WaitFor(fd, POLLIN, deadline)) {
        const ssize_t count = ::recv(fd, buffer, sizeof(buffer), MSG_DONTWAIT);
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (count <= 0) break;
        received.append(buffer, static_cast<std::size_t>(count));
    }
    return received;
}

/// Sends all of `bytes` on a non-blocking socket; never raises SIGPIPE.
bool WriteAll(int fd, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t count = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EAGAIN && WaitFor(fd, POLLOUT, deadline)) continue;
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

/// A socket connected to `address` by `deadline`; a listener whose queue is full refuses a
/// non-blocking connect at once, so that is tried again until then.
UniqueFd ConnectWithin(const sockaddr_un& address, Clock::time_point deadline) {
    for (;;) {
        UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (!fd) return fd;
        if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) ==
            0) {
            return fd;
        }
        if (errno != EAGAIN && errno != EINTR) return UniqueFd();
        if (Clock::now() + kConnectRetryPause >= deadline) return UniqueFd();
        std::this_thread::sleep_for(kConnectRetryPause);
    }
}

/// True when the connected peer runs as this user.
bool PeerIsSameUser(int fd) {
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

}  // namespace

std::string InstanceKey(std::string_view argv0) {
    std::string key = std::filesystem::path(argv0).stem().string();
    return key.empty() ? std::string("tamvel") : key;
}

std::filesystem::path InstanceRuntimeDir() {
    if (const std::filesystem::path runtime = RuntimeDir();
        !runtime.empty() && IsPrivateFolder(runtime, false)) {
        return runtime;
    }
    std::filesystem::path fallback = "/tmp/tamvel-" + std::to_string(::getuid());
    return IsPrivateFolder(fallback, true) ? fallback : std::filesystem::path();
}

SingleInstance::SingleInstance(std::filesystem::path runtimeDir, std::string key) {
    if (runtimeDir.empty()) return;
    const std::string name = key + "-" + std::to_string(::getuid());
    m_lockPath = runtimeDir / (name + ".lock");
    m_endpointPath = runtimeDir / (name + ".socket");
}

SingleInstance::~SingleInstance() { CloseEndpoint(); }

InstanceRole SingleInstance::Acquire() {
    if (m_lockPath.empty() || m_lock) return InstanceRole::First;
    UniqueFd fd(::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd) return InstanceRole::First;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? InstanceRole::Second : InstanceRole::First;
    }
    m_lock = std::move(fd);
    ::unlink(m_endpointPath.c_str());
    return InstanceRole::First;
}

bool SingleInstance::OpenEndpoint() {
    if (!m_lock || m_endpoint) return m_endpoint.Valid();
    sockaddr_un address;
    if (!MakeAddress(m_endpointPath, address)) return false;
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    ::unlink(m_endpointPath.c_str());
    const mode_t oldMask = ::umask(077);
    const bool bound =
        ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::umask(oldMask);
    if (!bound || ::listen(fd.Get(), 8) != 0) return false;
    m_endpoint = std::move(fd);
    return true;
}

void SingleInstance::AcceptClients() {
    for (;;) {
        UniqueFd connection(
            ::accept4(m_endpoint.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!connection) {
            if (errno == EINTR) continue;
            return;  // EAGAIN: nothing more is pending
        }
        if (!PeerIsSameUser(connection.Get())) continue;
        if (m_clients.size() >= kMaxClients) m_clients.erase(m_clients.begin());
        m_clients.push_back({std::move(connection), {}, Clock::now() + kClientTimeLimit});
    }
}

int SingleInstance::ServeRequests(const std::function<void()>& bringForward) {
    if (!m_endpoint) return 0;
    AcceptClients();
    int served = 0;
    const Clock::time_point now = Clock::now();
    std::erase_if(m_clients, [&](Client& client) {
        char buffer[64];
        while (client.received.size() < kRequest.size()) {
            const ssize_t count = ::recv(client.fd.Get(), buffer, sizeof(buffer), MSG_DONTWAIT);
            if (count < 0 && errno == EINTR) continue;
            if (count < 0 && errno == EAGAIN) return now >= client.deadline;  // wait, if in time
            if (count <= 0) return true;  // gone before its request was whole
            client.received.append(buffer, static_cast<std::size_t>(count));
        }
        if (client.received == kRequest) {
            bringForward();
            WriteAll(client.fd.Get(), kAnswer, now);
            ++served;
        }
        return true;
    });
    return served;
}

bool SingleInstance::ServeInBackground(std::function<void()> bringForward) {
    if (!m_endpoint || m_server.joinable()) return m_server.joinable();
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    m_stopRead.Reset(ends[0]);
    m_stopWrite.Reset(ends[1]);
    m_server = std::thread(
        [this, bringForward = std::move(bringForward)] { ServeUntilStopped(bringForward); });
    return true;
}

void SingleInstance::ServeUntilStopped(const std::function<void()>& bringForward) {
    std::vector<pollfd> waits;
    for (;;) {
        waits.assign({{m_stopRead.Get(), POLLIN, 0}, {m_endpoint.Get(), POLLIN, 0}});
        Clock::time_point firstDeadline = Clock::time_point::max();
        for (const Client& client : m_clients) {
            waits.push_back({client.fd.Get(), POLLIN, 0});
            firstDeadline = std::min(firstDeadline, client.deadline);
        }
        const int timeout = m_clients.empty() ? -1 : MillisecondsLeft(firstDeadline);
        if (::poll(waits.data(), waits.size(), timeout) < 0 && errno != EINTR) return;
        if (waits[0].revents != 0) return;
        ServeRequests(bringForward);
    }
}

void SingleInstance::CloseEndpoint() {
    if (m_server.joinable()) {
        const char stop = 1;
        [[maybe_unused]] ssize_t ignored = ::write(m_stopWrite.Get(), &stop, 1);
        m_server.join();
        m_stopRead.Reset();
        m_stopWrite.Reset();
    }
    m_clients.clear();
    if (!m_endpoint) return;
    m_endpoint.Reset();
    ::unlink(m_endpointPath.c_str());
}

bool SingleInstance::RequestBringForward(std::chrono::milliseconds timeout) const {
    const Clock::time_point deadline = Clock::now() + timeout;
    sockaddr_un address;
    if (m_endpointPath.empty() || !MakeAddress(m_endpointPath, address)) return false;
    UniqueFd fd = ConnectWithin(address, deadline);
    return fd && WriteAll(fd.Get(), kRequest, deadline) &&
           ReadWithin(fd.Get(), kAnswer.size(), deadline) == kAnswer;
}

}  // namespace tamvel
