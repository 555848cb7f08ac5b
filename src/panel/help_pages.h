#pragma once
// The help pages that ship with Tamvel (resources/help, installed as share/tamvel/help): the
// page behind each help key and its address as a file: URL. They are the default targets of
// the help and guide buttons where the deployment configures no address of its own.

#include <filesystem>
#include <string>
#include <string_view>

namespace tamvel {

/// The file name of the page that ships for a help key ("help_screen", "help_tsp",
/// "help_data_collection", "guide_macro_series", "guide_financial_series",
/// "guide_financial_cross"), or empty for a key without one.
std::string_view ShippedHelpPage(std::string_view key);

/// The folder of the shipped pages for the program at `executable`: the installed folder
/// relative to it (bin/../share/tamvel/help), else the source tree's copy, for a program run
/// from its build folder. Empty when neither holds the pages.
std::filesystem::path FindHelpFolder(const std::filesystem::path& executable);

/// An absolute host path as a file: URL; bytes other than letters, digits, "-._~/" are
/// percent-encoded, so the URL is ASCII whatever the path holds.
std::string FileUrl(const std::filesystem::path& file);

/// The default address of a help key for the running program: the file: URL of its shipped
/// page, or empty when the key has no shipped page or the pages are not found.
std::string DefaultHelpAddress(std::string_view key);

}  // namespace tamvel
