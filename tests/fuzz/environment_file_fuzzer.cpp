// Feeds arbitrary bytes to the environment-file reader: the archive string decoder and the
// positional parse. Besides crashes and memory faults it checks that a decoded string is
// the bytes after its prefix and encodes back to a file that decodes the same, and that
// parsed values survive being written and read again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "environment/environment_file.h"
#include "platform/text.h"

namespace {

std::string Values(const tamvel::WorkingEnvironment& e) {
    return e.tspExe + '\n' + e.editor + '\n' + e.saveFolder + '\n' + e.tspFile;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The parse takes any text, the undecoded bytes as well.
    tamvel::WorkingEnvironment raw;
    tamvel::ParseEnvironmentText(bytes, raw);

    const std::optional<std::string> text = tamvel::DecodeArchiveString(bytes);
    if (!text) return 0;
    // The text is the bytes right after the prefix, as many as the prefix announces.
    std::size_t prefixSize = 1;
    if (bytes[0] == '\xFF') prefixSize = bytes.substr(1, 2) == "\xFF\xFF" ? 7 : 3;
    const std::size_t lengthOffset = prefixSize == 1 ? 0 : prefixSize == 3 ? 1 : 3;
    std::size_t announced = 0;
    for (std::size_t i = prefixSize; i > lengthOffset; --i)
        announced = announced * 256 + data[i - 1];
    Check(text->size() == announced);
    Check(bytes.substr(prefixSize, text->size()) == *text);
    Check(tamvel::DecodeArchiveString(tamvel::EncodeArchiveString(*text)) == text);

    // Values start non-empty and free of separators, and the parse never yields an empty
    // value or one holding ';'. One without '|' is read back as it was written.
    tamvel::WorkingEnvironment parsed{"1", "2", "3", "4"};
    tamvel::ParseEnvironmentText(*text, parsed);
    bool hasBar = false;
    for (const std::string* value :
         {&parsed.tspExe, &parsed.editor, &parsed.saveFolder, &parsed.tspFile}) {
        Check(!value->empty());
        Check(tamvel::FindFirstChar(*value, ';') == std::string::npos);
        hasBar = hasBar || tamvel::FindFirstChar(*value, '|') != std::string::npos;
    }
    if (!hasBar) {
        tamvel::WorkingEnvironment again;
        tamvel::ParseEnvironmentText(tamvel::MakeEnvironmentText(parsed), again);
        Check(Values(again) == Values(parsed));
    }
    return 0;
}
