#pragma once
// Launch failures of the shell put into words: the one table of texts for the result codes
// that a shell launch gives, and the calling rule every launching command follows (keep the
// result, report it only when it is a failure).

#include <string_view>

#include "ui/ui.h"

namespace tamvel {

/// Shell results above this value mean that the launch succeeded.
inline constexpr int kShellLaunchSucceededAbove = 32;

/// The text (UTF-8) for a failed shell launch code, or empty for a code without one.
std::string_view ShellErrorText(int code);

/// Shows the text for `code` in a message box; a code without a text shows nothing.
void ReportShellError(Ui& ui, int code);

/// The calling rule of every reported launch: `result` becomes the last shell result, and a
/// result of 32 or less is reported with ReportShellError.
void KeepShellResult(Ui& ui, int result, int& lastShellResult);

}  // namespace tamvel
