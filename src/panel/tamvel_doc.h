#pragma once
// The document: it holds no data. Everything the user works with lives in the control panel
// and the working environment; the document only gives the main window its title and puts
// opened files into the recent-file list. Renewing it reruns the control panel's start-up.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/recent_file_list.h"

namespace tamvel {

/// The application title: the caption of message boxes and the end of the document caption.
inline constexpr std::string_view kApplicationTitle = "Tamvel";

class CTamvelDoc {
  public:
    /// Becomes a new, empty document titled "無題" (untitled).
    bool OnNewDocument();

    /// Becomes the document of `file`, titled by the file's name. Nothing is read from the
    /// file, but it must be a file that can be opened for reading; false (and no change)
    /// when it is not.
    bool OnOpenDocument(const std::filesystem::path& file);

    /// The title as shown (UTF-8).
    const std::string& Title() const { return m_title; }

    /// The file the document was opened from; empty for a new document.
    const std::filesystem::path& PathName() const { return m_pathName; }

    /// The main window's caption after a renewal: title, " - ", application title (UTF-8).
    std::string Caption() const;

  private:
    std::string m_title;
    std::filesystem::path m_pathName;
};

/// The message shown when a file cannot become the document (CP932).
std::string OpenDocumentFailedMessage(const std::filesystem::path& file);

/// The same message for a file named in CP932 (a Windows path).
std::string OpenDocumentFailedMessageForName(std::string_view name);

/// Renews the document: a new one when `file` is empty, else the named file, which is then
/// recorded in the recent-file list. After a successful renewal `runStartup` reruns the
/// control panel's start-up sequence. False when the file cannot be opened: the document,
/// the list and the control panel stay as they were (the caller reports
/// OpenDocumentFailedMessage).
bool RenewDocument(CTamvelDoc& document, RecentFileList& recentFiles,
                   const std::optional<std::filesystem::path>& file,
                   const std::function<void()>& runStartup);

}  // namespace tamvel
