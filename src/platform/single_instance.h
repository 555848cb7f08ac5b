#pragma once
// One running copy per instance key. The first copy holds a lock that the kernel drops with
// the process (so a crash never blocks the next start) and, once it is fully started, listens
// on an endpoint: a Unix socket through which a later copy asks it to come forward. Clients
// are served without ever waiting on one: a client that sends nothing is dropped after a
// short time, and the serving can run on a thread of its own, so that a later copy gets its
// answer whatever the window's thread is doing.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/unique_fd.h"

namespace tamvel {

/// The instance key: the executable's file name without folder and extension.
std::string InstanceKey(std::string_view argv0);

/// The folder of locks and endpoints: $XDG_RUNTIME_DIR, else a private /tmp/tamvel-<uid>.
/// Empty when neither is usable (then every copy runs as a first copy).
std::filesystem::path InstanceRuntimeDir();

/// Whether this copy is the first one for its key.
enum class InstanceRole { First, Second };

class SingleInstance {
  public:
    /// Lock and endpoint in `runtimeDir`, named by the key and the user.
    SingleInstance(std::filesystem::path runtimeDir, std::string key);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    /// Takes the lock. Second when another copy holds it; First when this copy got it, and
    /// also when no lock can be made at all (start-up then goes on as a first copy). Any
    /// endpoint file a crashed copy left behind is removed here, so a copy started before
    /// OpenEndpoint finds none.
    InstanceRole Acquire();

    /// Opens the endpoint. False when it cannot be made: later copies then end silently.
    bool OpenEndpoint();

    /// The endpoint's listening descriptor (non-blocking), or -1 while it is closed.
    int EndpointDescriptor() const { return m_endpoint.Get(); }

    /// Serves what the clients have sent, without blocking: takes every pending connection,
    /// reads what has arrived, and for each whole request to come forward calls
    /// `bringForward`, then confirms it to the asking copy. A client whose request is not
    /// whole within kClientTimeLimit is dropped. Number of requests served.
    int ServeRequests(const std::function<void()>& bringForward);

    /// Serves requests on a thread of its own until the endpoint is closed; `bringForward`
    /// runs on that thread (it hands the work to the window's thread). False when the
    /// endpoint is not open.
    bool ServeInBackground(std::function<void()> bringForward);

    /// Stops the serving, closes the endpoint and removes its file; later copies find no
    /// running copy to raise.
    void CloseEndpoint();

    /// Asks the copy that listens on the endpoint to come forward and waits for its answer;
    /// connecting, asking and the answer together take at most `timeout`. False when there
    /// is no endpoint or no answer came in time.
    bool RequestBringForward(std::chrono::milliseconds timeout) const;

    /// How long a connected client may take to send its whole request.
    static constexpr std::chrono::milliseconds kClientTimeLimit{500};
    /// At most this many clients wait at a time; the oldest gives way to a new one.
    static constexpr std::size_t kMaxClients = 64;

    const std::filesystem::path& LockPath() const { return m_lockPath; }
    const std::filesystem::path& EndpointPath() const { return m_endpointPath; }

  private:
    /// A connected client and what it has sent so far.
    struct Client {
        UniqueFd fd;
        std::string received;
        std::chrono::steady_clock::time_point deadline;
    };

    /// Takes the pending connections of permitted peers into m_clients.
    void AcceptClients();
    /// The serving thread's loop: waits for the endpoint, the clients or the stop signal.
    void ServeUntilStopped(const std::function<void()>& bringForward);

    std::filesystem::path m_lockPath;
    std::filesystem::path m_endpointPath;
    UniqueFd m_lock;
    UniqueFd m_endpoint;
    std::vector<Client> m_clients;
    UniqueFd m_stopRead;   ///< readable when the serving thread is to stop
    UniqueFd m_stopWrite;  ///< written by CloseEndpoint
    std::thread m_server;
};

}  // namespace tamvel
