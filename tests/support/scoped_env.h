#pragma once
// Sets environment variables for one test and puts the old values back when it ends.

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace tamvel::testing {

class ScopedEnv {
  public:
    ScopedEnv() = default;
    /// Sets one variable at once (nullptr: unsets it).
    ScopedEnv(const std::string& name, const char* value) { Set(name, value); }
    ~ScopedEnv() {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    /// Sets `name` to `value`, or unsets it for nullptr; the first value seen is restored.
    void Set(const std::string& name, const char* value) {
        if (!m_saved.contains(name)) {
            const char* old = std::getenv(name.c_str());
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) {
            ::setenv(name.c_str(), value, 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
    void Set(const std::string& name, const std::string& value) { Set(name, value.c_str()); }

  private:
    std::map<std::string, std::optional<std::string>> m_saved;
};

}  // namespace tamvel::testing
