#pragma once
// One running copy per instance key. The first copy holds a lock that the kernel drops with
// the process (so a crash never blocks the next start) and, once it is fully started, listens
// on an endpoint: a Unix socket through which a later copy asks it to come forward.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

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

    /// Serves every pending request without blocking: for each request to come forward,
    /// calls `bringForward`, then confirms it to the asking copy. Number of requests served.
    int ServeRequests(const std::function<void()>& bringForward);

    /// Closes the endpoint and removes its file; later copies find no running copy to raise.
    void CloseEndpoint();

    /// Asks the copy that listens on the endpoint to come forward and waits for its answer
    /// up to `timeout`. False when there is no endpoint or no answer came.
    bool RequestBringForward(std::chrono::milliseconds timeout) const;

    const std::filesystem::path& LockPath() const { return m_lockPath; }
    const std::filesystem::path& EndpointPath() const { return m_endpointPath; }

  private:
    std::filesystem::path m_lockPath;
    std::filesystem::path m_endpointPath;
    UniqueFd m_lock;
    UniqueFd m_endpoint;
};

}  // namespace tamvel
