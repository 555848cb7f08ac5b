#pragma once
// Message texts that name a path or a number, filled in as printf would.

#include <string>
#include <string_view>

namespace tamvel {

/// The CP932 text of a UTF-8 message template with its one "%s" replaced by `value`
/// (CP932, inserted unchanged, so a '%' in a path stays as it is).
std::string FormatMessageText(std::string_view utf8Template, std::string_view value);

}  // namespace tamvel
