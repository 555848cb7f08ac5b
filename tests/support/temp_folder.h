#pragma once
// A fresh folder under the system's temporary folder for one test, removed with everything
// in it when the test ends. A test's files stay inside it.

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace tamvel::testing {

class TempFolder {
  public:
    /// Makes "<tmp>/<stem>-XXXXXX"; Path() is empty when that failed.
    explicit TempFolder(std::string_view stem = "tamvel") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    /// Leaves the folder if it is current (so it can go), then removes it.
    ~TempFolder() {
        if (m_path.empty()) return;
        std::error_code ignored;
        const std::filesystem::path current = std::filesystem::current_path(ignored);
        if (!ignored && current.native().starts_with(m_path.native())) {
            std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        }
        // Folders a test made unwritable are opened up again so their contents can go.
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
             !ignored && it != std::filesystem::recursive_directory_iterator();
             it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder's absolute path.
    const std::filesystem::path& Path() const { return m_path; }
    /// A path inside the folder.
    std::filesystem::path operator/(const std::filesystem::path& relative) const {
        return m_path / relative;
    }

  private:
    std::filesystem::path m_path;
};

}  // namespace tamvel::testing
