#include "console/console_command.h"

#include <gtest/gtest.h>

#include <string>

namespace tamvel {
namespace {

TEST(ConsoleCommand, ParsesEveryInput) {
    struct Case {
        const char* line;
        ConsoleAction action;
        int id;
        const char* text;
    };
    const Case cases[] = {
        {"click 1002", ConsoleAction::Click, 1002, ""},
        {"set 1007 C:\\a b\\x.tsp", ConsoleAction::Set, 1007, "C:\\a b\\x.tsp"},
        {"set 1007 ", ConsoleAction::Set, 1007, ""},
        {"set 1007", ConsoleAction::Set, 1007, ""},
        {"set 1007  two", ConsoleAction::Set, 1007, " two"},  // the text is taken as typed
        {"key CTRL+N", ConsoleAction::Key, 0, "CTRL+N"},
        {"key ctrl+o", ConsoleAction::Key, 0, "CTRL+O"},
        {"state", ConsoleAction::State, 0, ""},
        {"state\r", ConsoleAction::State, 0, ""},
        {"quit", ConsoleAction::Quit, 0, ""},
        {"ok", ConsoleAction::Ok, 0, ""},
        {"cancel", ConsoleAction::Cancel, 0, ""},
    };
    for (const Case& c : cases) {
        ParsedConsoleLine parsed = ParseConsoleLine(c.line);
        ASSERT_TRUE(parsed.command) << c.line << ": " << parsed.error;
        EXPECT_EQ(parsed.command->action, c.action) << c.line;
        EXPECT_EQ(parsed.command->id, c.id) << c.line;
        EXPECT_EQ(parsed.command->text, c.text) << c.line;
    }
}

TEST(ConsoleCommand, RefusesMalformedLinesWithAReason) {
    for (const char* line :
         {"", "bogus", "click", "click x", "click 12x", "click -3", "click 99999999999", "set",
          "set abc text", "key", "key CTRL+Q", "state now", "quit please", "Click 1002"}) {
        ParsedConsoleLine parsed = ParseConsoleLine(line);
        EXPECT_FALSE(parsed.command) << line;
        EXPECT_FALSE(parsed.error.empty()) << line;
    }
}

}  // namespace
}  // namespace tamvel
