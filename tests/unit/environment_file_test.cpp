#include "environment/environment_file.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/file_size_limit.h"
#include "support/scoped_env.h"
#include "support/temp_prefix.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;
using testing::TempPrefix;

// "表" is 0x95 0x5C and "ポ" is 0x83 0x7C in CP932: their trail bytes look like '\' and '|'.
const std::string kHyouPo = "\x95\x5C\x83\x7C";

WorkingEnvironment Example() {
    return {"C:\\temp\\Tsp.EXE", "C:\\WINDOWS\\NOTEPAD.EXE", "A:\\", "A:\\test.tsp"};
}

/// The four values in order, for comparisons that print well.
std::vector<std::string> Values(const WorkingEnvironment& e) {
    return {e.tspExe, e.editor, e.saveFolder, e.tspFile};
}

TEST(EnvironmentText, ExampleFileHoldsEightyNineBytes) {
    const std::string text = MakeEnvironmentText(Example());
    EXPECT_EQ(text,
              "TspExe|C:\\temp\\Tsp.EXE;Editor|C:\\WINDOWS\\NOTEPAD.EXE;SaveFolder|A:\\;"
              "TspFile|A:\\test.tsp;");
    EXPECT_EQ(text.size(), 88u);
    const std::string file = EncodeArchiveString(text);
    ASSERT_EQ(file.size(), 89u);
    EXPECT_EQ(file[0], '\x58');
    EXPECT_EQ(file.substr(1), text);
    EXPECT_EQ(MakeEnvironmentText({}), "TspExe|;Editor|;SaveFolder|;TspFile|;");
}

TEST(EnvironmentText, LengthPrefixTakesOneThreeOrSevenBytes) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, std::string("\x00", 1)},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {0xFFFD, "\xFF\xFD\xFF"},
        {0xFFFE, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {0x12345, std::string("\xFF\xFF\xFF\x45\x23\x01\x00", 7)},
    };
    for (const Case& item : cases) {
        const std::string text(item.length, 'x');
        const std::string encoded = EncodeArchiveString(text);
        EXPECT_EQ(encoded.substr(0, item.prefix.size()), item.prefix) << item.length;
        EXPECT_EQ(encoded.size(), item.prefix.size() + item.length);
        EXPECT_EQ(DecodeArchiveString(encoded), text) << item.length;
        EXPECT_EQ(DecodeArchiveString(encoded + "trailing bytes"), text) << item.length;
    }
}

TEST(EnvironmentText, DamagedBytesDecodeToNothing) {
    const std::string damaged[] = {
        "",
        "\x05"
        "abcd",  // announces more than there is
        "\xFF",  // prefix cut short
        "\xFF\x10",
        std::string("\xFF\x00\x01", 3) + "abc",  // 256 announced
        "\xFF\xFE\xFF"
        "a\0b\0",                // the wide-string marker
        "\xFF\xFF\xFF\x04\x00",  // four-byte length cut short
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7) + "abc",
    };
    for (const std::string& bytes : damaged) {
        EXPECT_FALSE(DecodeArchiveString(bytes)) << ::testing::PrintToString(bytes);
    }
}

TEST(EnvironmentText, ParseAssignsByPositionUntilItStops) {
    const WorkingEnvironment before{"old exe", "old editor", "old folder", "old file"};
    struct Case {
        std::string text;
        WorkingEnvironment after;
    };
    const Case cases[] = {
        {"TspExe|a;Editor|b;SaveFolder|c;TspFile|d;", {"a", "b", "c", "d"}},
        {"TspExe|a;Editor|b;", {"a", "b", "old folder", "old file"}},
        {"TspExe|;Editor|b;SaveFolder|c;TspFile|d;", before},  // empty first value
        {"|a;Editor|b;", before},                              // starts with '|'
        {"TspExe a;Editor b;", before},                        // no '|'
        {"TspExe|a", before},                                  // no ';'
        {"Foo|a;Bar|b;Baz|c;Qux|d;", {"a", "b", "c", "d"}},    // keys are not read
        {"TspExe|a;Editor|b;SaveFolder|;TspFile|d;", {"a", "b", "old folder", "old file"}},
        // ';' inside a value cuts that value only.
        {"TspExe|C:\\a;b.exe;Editor|e;SaveFolder|s;TspFile|t;", {"C:\\a", "e", "s", "t"}},
        // '|' inside a value shifts the later ones.
        {"TspExe|e;Editor|x|y;SaveFolder|s;TspFile|t;", {"e", "x|y", "y", "s"}},
        // More than four values: the rest is ignored.
        {"A|1;B|2;C|3;D|4;E|5;", {"1", "2", "3", "4"}},
        // Trail bytes 0x7C and 0x5C are parts of characters, not separators.
        {"TspExe|" + kHyouPo + ";Editor|C:\\" + kHyouPo + ";SaveFolder|s;TspFile|t;",
         {kHyouPo, "C:\\" + kHyouPo, "s", "t"}},
        {"\x83|a;b", before},  // "\x83|" is one character: no '|' at all
    };
    for (const Case& item : cases) {
        WorkingEnvironment environment = before;
        ParseEnvironmentText(item.text, environment);
        EXPECT_EQ(Values(environment), Values(item.after)) << item.text;
    }
}

TEST(EnvironmentText, FilePathAlwaysAddsTheBackslash) {
    EXPECT_EQ(EnvironmentFilePath("A:\\"), "A:\\\\TamvelEnvFile.TXT");
    EXPECT_EQ(EnvironmentFilePath("C:\\temp\\"), "C:\\temp\\\\TamvelEnvFile.TXT");
    EXPECT_EQ(EnvironmentFilePath("C:\\work"), "C:\\work\\TamvelEnvFile.TXT");
}

class EnvironmentFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_prefix.Ensure());
        m_stick = m_prefix.MapDrive('a');
    }

    WorkingEnvironment Load(const std::string& path) const {
        WorkingEnvironment environment{"kept", "kept", "kept", "kept"};
        LoadEnvironment(m_fs, path, environment);
        return environment;
    }

    TempPrefix m_prefix;
    fs::path m_stick;
    FileSystem m_fs{m_prefix.Drives()};
};

TEST_F(EnvironmentFileTest, SavedInTheSaveFolderAndReadBack) {
    ASSERT_TRUE(SaveEnvironment(m_fs, Example()));
    const std::string bytes = TempPrefix::ReadFile(m_stick / "TamvelEnvFile.TXT");
    EXPECT_EQ(bytes, EncodeArchiveString(MakeEnvironmentText(Example())));
    EXPECT_EQ(bytes.size(), 89u);
    EXPECT_EQ(Values(Load("A:\\TamvelEnvFile.TXT")), Values(Example()));
    EXPECT_EQ(Values(Load("a:\\tamvelenvfile.txt")), Values(Example()));

    // Saving again replaces the file whole, under its existing name.
    WorkingEnvironment changed = Example();
    changed.tspFile = "A:\\b.tsp";
    ASSERT_TRUE(SaveEnvironment(m_fs, changed));
    EXPECT_EQ(Values(Load("A:\\TamvelEnvFile.TXT")), Values(changed));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_stick), fs::directory_iterator()), 1);
}

TEST_F(EnvironmentFileTest, JapaneseValuesSurviveARealFile) {
    // Folder "A:\表ポ" and values full of 0x5C and 0x7C trail bytes.
    const std::string folder = "A:\\" + kHyouPo;
    ASSERT_EQ(m_fs.CreateDirectory(folder), kErrorSuccess);
    const WorkingEnvironment japanese{Cp932("C:\\temp\\ポ表.exe"), Cp932("C:\\表\\ポ.exe"), folder,
                                      folder + "\\" + kHyouPo + ".tsp"};
    ASSERT_TRUE(SaveEnvironment(m_fs, japanese));
    EXPECT_TRUE(fs::exists(m_stick / "表ポ" / "TamvelEnvFile.TXT"));
    EXPECT_EQ(Values(Load(folder + "\\TamvelEnvFile.TXT")), Values(japanese));
}

TEST_F(EnvironmentFileTest, NothingIsReadFromAMissingOrDamagedFile) {
    EXPECT_EQ(Load("").tspExe, "kept");
    EXPECT_EQ(Load("A:\\nothing-here.txt").tspExe, "kept");
    EXPECT_EQ(Load("A:\\TamvelEnvFile.TXT").tspExe, "kept");
    EXPECT_EQ(Load("Q:\\TamvelEnvFile.TXT").tspExe, "kept");
    const std::string damaged[] = {"", "\x58TspExe|a;Editor|b;", "\xFF\xFE\xFF\x02\x00"};
    for (const std::string& bytes : damaged) {
        TempPrefix::WriteFile(m_stick / "TamvelEnvFile.TXT", bytes);
        EXPECT_EQ(Load("A:\\TamvelEnvFile.TXT").tspExe, "kept") << ::testing::PrintToString(bytes);
    }
}

TEST_F(EnvironmentFileTest, ASaveFolderWithTheDoubledBackslashLandsInThatFolder) {
    WorkingEnvironment environment = Example();
    environment.saveFolder = "C:\\temp\\";
    ASSERT_TRUE(SaveEnvironment(m_fs, environment));
    EXPECT_EQ(Values(Load("C:\\temp\\\\TamvelEnvFile.TXT")), Values(environment));
    EXPECT_TRUE(fs::exists(m_prefix.DriveC() / "temp" / "TamvelEnvFile.TXT"));
}

TEST_F(EnvironmentFileTest, APathOverTwoHundredFiftyNineBytesIsRefusedNotCut) {
    // Folders of 50 bytes each under C:\, then one that brings the path to the limit.
    std::string folder = "C:";
    for (int i = 0; i < 4; ++i) {
        folder += "\\" + std::string(49, static_cast<char>('a' + i));
        ASSERT_EQ(m_fs.CreateDirectory(folder), kErrorSuccess);
    }
    const std::size_t room = 259 - folder.size() - 1 - std::string("\\TamvelEnvFile.TXT").size();
    const std::string fits = folder + "\\" + std::string(room, 'x');
    const std::string tooLong = fits + "y";
    ASSERT_EQ(m_fs.CreateDirectory(fits), kErrorSuccess);
    ASSERT_EQ(m_fs.CreateDirectory(tooLong), kErrorSuccess);
    ASSERT_EQ(EnvironmentFilePath(fits).size(), 259u);

    WorkingEnvironment environment = Example();
    environment.saveFolder = fits;
    EXPECT_TRUE(SaveEnvironment(m_fs, environment));
    EXPECT_TRUE(m_fs.Exists(EnvironmentFilePath(fits)));
    environment.saveFolder = tooLong;
    EXPECT_FALSE(SaveEnvironment(m_fs, environment));
    EXPECT_FALSE(m_fs.Exists(EnvironmentFilePath(tooLong)));
    EXPECT_FALSE(m_fs.Exists(EnvironmentFilePath(tooLong).substr(0, 259)));
}

TEST_F(EnvironmentFileTest, AFailedSaveIsSilentAndKeepsTheOldFile) {
    WorkingEnvironment environment = Example();
    environment.saveFolder = "A:\\no such folder";
    EXPECT_FALSE(SaveEnvironment(m_fs, environment));
    environment.saveFolder = "Q:\\";
    EXPECT_FALSE(SaveEnvironment(m_fs, environment));

    // A save that fails half-way (the file-size limit stops root too) leaves the old file.
    ASSERT_TRUE(SaveEnvironment(m_fs, Example()));
    WorkingEnvironment large = Example();
    large.tspFile = "A:\\" + std::string(200, 'x') + ".tsp";
    bool saved = true;
    {
        testing::FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        saved = SaveEnvironment(m_fs, large);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(Values(Load("A:\\TamvelEnvFile.TXT")), Values(Example()));
}

}  // namespace
}  // namespace tamvel
