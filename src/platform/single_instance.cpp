#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/xdg_dirs.h"

namespace tamvel {
namespace {

constexpr std::string_view kRequest = "forward\n";
constexpr std::string_view kAnswer = "done\n";
constexpr int kReadRequestTimeoutMs = 500;

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

/// Waits until `fd` is ready for `events` or `timeoutMs` pass.
bool WaitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    int result;
    do {
        result = ::poll(&entry, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result > 0;
}

/// Reads up to `expected` bytes or until the peer stops sending; what arrived.
std::string ReadWithin(int fd, std::size_t expected, int timeoutMs) {
    std::string received;
    char buffer[64];
    while (received.size() < expected && WaitFor(fd, POLLIN, timeoutMs)) {
        const ssize_t count = ::read(fd, buffer, sizeof(buffer));
        if (count <= 0) break;
        received.append(buffer, static_cast<std::size_t>(count));
    }
    return received;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
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

int SingleInstance::ServeRequests(const std::function<void()>& bringForward) {
    int served = 0;
    while (m_endpoint) {
        const UniqueFd connection(::accept4(m_endpoint.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!connection) {
            if (errno == EINTR) continue;
            break;  // EAGAIN: nothing more is pending
        }
        if (PeerIsSameUser(connection.Get()) &&
            ReadWithin(connection.Get(), kRequest.size(), kReadRequestTimeoutMs) == kRequest) {
            bringForward();
            WriteAll(connection.Get(), kAnswer);
            ++served;
        }
    }
    return served;
}

void SingleInstance::CloseEndpoint() {
    if (!m_endpoint) return;
    m_endpoint.Reset();
    ::unlink(m_endpointPath.c_str());
}

bool SingleInstance::RequestBringForward(std::chrono::milliseconds timeout) const {
    sockaddr_un address;
    if (m_endpointPath.empty() || !MakeAddress(m_endpointPath, address)) return false;
    const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    return ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
           WriteAll(fd.Get(), kRequest) &&
           ReadWithin(fd.Get(), kAnswer.size(), static_cast<int>(timeout.count())) == kAnswer;
}

}  // namespace tamvel
