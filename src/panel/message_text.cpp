#include "panel/message_text.h"

#include "platform/text.h"

namespace tamvel {

std::string FormatMessageText(std::string_view utf8Template, std::string_view value) {
    std::string text = Cp932(utf8Template);
    // '%' and 's' are below the CP932 trail-byte range, so a plain search is exact here.
    const std::size_t placeholder = text.find("%s");
    if (placeholder != std::string::npos) text.replace(placeholder, 2, value);
    return text;
}

}  // namespace tamvel
