#include "console/console_command.h"

#include <charconv>

namespace tamvel {
namespace {

ParsedConsoleLine Refuse(std::string error) { return {std::nullopt, std::move(error)}; }

ParsedConsoleLine Accept(ConsoleAction action, int id = 0, std::string text = {}) {
    return {ConsoleCommand{action, id, std::move(text)}, {}};
}

// A control id: decimal digits only, nothing else.
std::optional<int> ParseId(std::string_view text) {
    int id = 0;
    const char* end = text.data() + text.size();
    auto [next, error] = std::from_chars(text.data(), end, id);
    if (text.empty() || error != std::errc() || next != end || text.front() == '-') {
        return std::nullopt;
    }
    return id;
}

std::string ToUpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

}  // namespace

ParsedConsoleLine ParseConsoleLine(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    const bool hasRest = space != std::string_view::npos;

    if (word == "state" || word == "quit" || word == "ok" || word == "cancel" || word == "stop") {
        if (hasRest) return Refuse("'" + std::string(word) + "' takes no argument");
        if (word == "state") return Accept(ConsoleAction::State);
        if (word == "quit") return Accept(ConsoleAction::Quit);
        if (word == "ok") return Accept(ConsoleAction::Ok);
        if (word == "stop") return Accept(ConsoleAction::Stop);
        return Accept(ConsoleAction::Cancel);
    }
    if (word == "click") {
        std::optional<int> id = ParseId(rest);
        if (!id) return Refuse("usage: click ID");
        return Accept(ConsoleAction::Click, *id);
    }
    if (word == "set") {
        const std::size_t idEnd = rest.find(' ');
        std::optional<int> id = ParseId(rest.substr(0, idEnd));
        if (!id) return Refuse("usage: set ID TEXT");
        const std::string_view text =
            idEnd == std::string_view::npos ? std::string_view() : rest.substr(idEnd + 1);
        return Accept(ConsoleAction::Set, *id, std::string(text));
    }
    if (word == "key") {
        const std::string key = ToUpperAscii(rest);
        if (key != "CTRL+N" && key != "CTRL+O") return Refuse("usage: key CTRL+N | CTRL+O");
        return Accept(ConsoleAction::Key, 0, key);
    }
    if (line.empty()) return Refuse("empty line");
    return Refuse("unknown command '" + std::string(word) + "'");
}

}  // namespace tamvel
