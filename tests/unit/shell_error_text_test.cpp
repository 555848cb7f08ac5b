#include "panel/shell_error_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "integration/scripted_ui.h"

namespace tamvel {
namespace {

using testing::ScriptedUi;

TEST(ReportShellError, ShowsTheTextOfEachFailureCodeExactlyTrailingBlanksIncluded) {
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {0, "The operating system is out of memory or resources."},
        {2, "ファイルがありません."},
        {3, "フォルダがありません."},
        {5, "ＯＳがファイルへのアクセスを拒否しました. "},
        {8, "メモリー不足です. "},
        {11, "実行ファイル .exe が不正です (non-Win32R .exe or error in .exe image). "},
        {26, "A sharing violation occurred. "},
        {27, "ファイル名との関連の仕方が不完全です. "},
        {28, "The DDE transaction could not be completed because the request timed out. "},
        {29, "The DDE transaction failed."},
        {30,
         "The DDE transaction could not be completed because other DDE transactions were "
         "being processed. "},
        {31, "拡張子と関連付けられたプログラムがありません. "},
        {32, "ＤＬＬファイルがありません. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ScriptedUi ui;
        ReportShellError(ui, c.code);
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{c.text});
    }
}

TEST(ReportShellError, ShowsNothingForEveryOtherCode) {
    std::vector<int> codes = {-1, -99, 33, 42, 100, 193};
    for (int code = 1; code <= 32; ++code) {
        if (!ShellErrorText(code).empty()) continue;
        codes.push_back(code);
    }
    // Thirteen codes have a text: 0 and twelve of 1..32.
    EXPECT_EQ(codes.size(), 6u + 32u - 12u);
    for (int code : codes) {
        SCOPED_TRACE(code);
        ScriptedUi ui;
        ReportShellError(ui, code);
        EXPECT_TRUE(ui.Log().empty());
    }
}

TEST(KeepShellResult, StoresEveryResultAndReportsOnlyThoseBelow33) {
    struct Case {
        int result;
        std::size_t messages;
    };
    const Case cases[] = {{32, 1}, {33, 0}, {42, 0}, {2, 1}, {1, 0}, {-5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        ScriptedUi ui;
        int lastShellResult = 7;
        KeepShellResult(ui, c.result, lastShellResult);
        EXPECT_EQ(lastShellResult, c.result);
        EXPECT_EQ(ui.Messages().size(), c.messages);
    }
}

}  // namespace
}  // namespace tamvel
