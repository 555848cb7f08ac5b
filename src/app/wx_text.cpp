#include "app/wx_text.h"

#include "platform/text.h"

namespace tamvel {

wxString FromCp932(std::string_view cp932) {
    const std::string utf8 = Cp932ToUtf8Marked(cp932);
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

std::optional<std::string> ToCp932(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return Utf8ToCp932(std::string_view(utf8.data(), utf8.length()));
}

std::string ToCp932Replacing(const wxString& text) {
    if (auto whole = ToCp932(text)) return *whole;
    std::string cp932;
    for (wxUniChar ch : text) {
        if (auto one = ToCp932(wxString(ch))) {
            cp932 += *one;
        } else {
            cp932 += '?';
        }
    }
    return cp932;
}

wxString FromHostPath(const std::filesystem::path& hostPath) {
    return wxString(hostPath.c_str(), *wxConvFileName);
}

std::filesystem::path ToHostPath(const wxString& path) {
    const wxCharBuffer bytes = path.fn_str();
    return std::filesystem::path(bytes.data() ? bytes.data() : "");
}

}  // namespace tamvel
