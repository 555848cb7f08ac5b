#include "platform/text.h"

#include <gtest/gtest.h>

namespace tamvel {
namespace {

// "表" is 0x95 0x5C and "ポ" is 0x83 0x7C in CP932: their trail bytes look like '\' and '|'.
const std::string kHyou = "\x95\x5C";
const std::string kPo = "\x83\x7C";

TEST(TextConversion, RoundTripsJapaneseWithBackslashAndBarTrailBytes) {
    const std::string cp932 = "C:\\" + kHyou + kPo + "\\a.tsp";
    std::optional<std::string> utf8 = Cp932ToUtf8(cp932);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(*utf8, "C:\\表ポ\\a.tsp");
    EXPECT_EQ(Utf8ToCp932(*utf8), cp932);
}

TEST(TextConversion, ReportsWhatItCannotConvert) {
    EXPECT_FALSE(Utf8ToCp932("emoji \xF0\x9F\x98\x80"));  // no such character in CP932
    EXPECT_FALSE(Utf8ToCp932("\xC3"));                    // truncated UTF-8
    EXPECT_FALSE(Cp932ToUtf8("\x81"));                    // lead byte without its trail
    EXPECT_EQ(Cp932ToUtf8(""), "");
}

// A message that names a path with a byte that is not CP932 keeps its Japanese text; only
// that byte is marked.
TEST(TextConversion, MarksOnlyTheBytesThatAreNotCp932) {
    struct Case {
        std::string cp932;
        std::string shown;
    };
    const Case cases[] = {
        {Cp932("設定されているＴＳＰ実行プログラム(C:\\temp\\") + "\x81" +
             Cp932(".exe)が存在しません。"),
         "設定されているＴＳＰ実行プログラム(C:\\temp\\\\x81.exe)が存在しません。"},
        {"\x81\x20" + kHyou, "\\x81 表"},  // a lead byte whose trail is no trail byte
        {"a\xFF\xA0"
         "b",
         "a\\xFF\\xA0b"},
        {kPo + "\xFC", "ポ\\xFC"},  // a lead byte at the end
        {kHyou + kPo, "表ポ"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(Cp932ToUtf8Marked(c.cp932), c.shown);
    }
}

TEST(TextSearch, NeverTakesATrailByteForASeparator) {
    struct Case {
        std::string text;
        char ch;
        std::size_t first, last;
    };
    const auto npos = std::string_view::npos;
    const Case cases[] = {
        {"C:\\a\\b", '\\', 2, 4},
        {kHyou, '\\', npos, npos},
        {"x" + kHyou + "\\y", '\\', 3, 3},
        {"a|" + kPo + "|", '|', 1, 4},
        {kPo, '|', npos, npos},
        {"\xB1\\", '\\', 1, 1},  // half-width katakana is one byte: the next byte stands alone
        {"", '.', npos, npos},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindFirstChar(c.text, c.ch), c.first) << c.text;
        EXPECT_EQ(FindLastChar(c.text, c.ch), c.last) << c.text;
    }
}

TEST(TextCompare, FoldsAsciiLettersOnlyPerCharacter) {
    EXPECT_TRUE(EqualsNoCase("C:\\Temp\\TSP.exe", "c:\\temp\\tsp.EXE"));
    EXPECT_TRUE(EqualsNoCase(kHyou + "A", kHyou + "a"));
    EXPECT_FALSE(EqualsNoCase("tsp.exe", "tsp.ex"));
    // Lowercasing the trail byte 0x5C-range is never done: 0x83 0x41 is not 0x83 0x61.
    EXPECT_FALSE(EqualsNoCase("\x83\x41", "\x83\x61"));
    EXPECT_LT(CompareNoCase("a", "B"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
}

}  // namespace
}  // namespace tamvel
