#include "platform/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace tamvel {
namespace {

// One conversion through iconv; nullopt on any byte it cannot convert. Nothing is skipped
// or replaced, so what comes back is exactly the input in the other encoding.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    // Converted in chunks: a long input costs its output, not four times its length.
    std::vector<char> buffer(std::min<std::size_t>(in.size() * 4 + 16, 65536));
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
        if (r != static_cast<size_t>(-1) && r > 0) {  // irreversible conversions
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

unsigned char AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
    return Convert("UTF-8", "CP932", cp932);
}

std::string Cp932ToUtf8Marked(std::string_view cp932) {
    if (std::optional<std::string> whole = Cp932ToUtf8(cp932)) return *whole;
    // Character by character, so that one bad byte does not hide the rest.
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < cp932.size();) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        std::size_t length = IsCp932LeadByte(byte) && i + 1 < cp932.size() ? 2 : 1;
        if (std::optional<std::string> one = Cp932ToUtf8(cp932.substr(i, length))) {
            text += *one;
        } else {
            text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
            length = 1;
        }
        i += length;
    }
    return text;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    return Convert("CP932", "UTF-8", utf8);
}

std::string Cp932(std::string_view utf8Literal) {
    std::optional<std::string> converted = Utf8ToCp932(utf8Literal);
    if (!converted) std::abort();
    return *converted;
}

std::size_t FindFirstChar(std::string_view cp932, char ch) {
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        if (cp932[i] == ch) return i;
        if (IsCp932LeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size()) ++i;
    }
    return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view cp932, char ch) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        if (cp932[i] == ch) found = i;
        if (IsCp932LeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size()) ++i;
    }
    return found;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size()) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        if (IsCp932LeadByte(ca) || IsCp932LeadByte(cb)) {
            // A double-byte character compares as it is, lead then trail byte.
            if (ca != cb) return ca < cb ? -1 : 1;
            if (i + 1 < a.size() && i + 1 < b.size()) {
                auto ta = static_cast<unsigned char>(a[i + 1]);
                auto tb = static_cast<unsigned char>(b[i + 1]);
                if (ta != tb) return ta < tb ? -1 : 1;
                i += 2;
                continue;
            }
            ++i;
            continue;
        }
        unsigned char la = AsciiLower(ca), lb = AsciiLower(cb);
        if (la != lb) return la < lb ? -1 : 1;
        ++i;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

}  // namespace tamvel
