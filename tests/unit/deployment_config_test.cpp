#include "panel/deployment_config.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "panel/help_pages.h"
#include "platform/text.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

class DeploymentConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        m_folder = m_temp.Path();
    }
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path file = m_folder / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    testing::TempFolder m_temp{"tamvel-config"};
    testing::ScopedEnv m_env{"TAMVEL_DEPLOYMENT", nullptr};
    fs::path m_folder;
};

TEST_F(DeploymentConfigTest, DefaultsAreJapaneseTextsHeldAsCp932) {
    const DeploymentConfig config = DeploymentConfig::Defaults();
    for (const std::string* text : {&config.seminar, &config.teacherMail, &config.university}) {
        EXPECT_FALSE(text->empty());
        EXPECT_TRUE(Cp932ToUtf8(*text));
    }
    EXPECT_EQ(Cp932ToUtf8(config.seminar), "計量経済学ゼミ");
}

TEST_F(DeploymentConfigTest, FileOverridesOnlyTheKeysItSets) {
    const fs::path file = Write("deployment.conf",
                                "\xEF\xBB\xBF# an installation\r\n"
                                "seminar = 山田ゼミ\r\n"
                                "\n"
                                "unknown=ignored\n"
                                "no equals sign\n"
                                "university=😀\n"  // CP932 cannot hold it: the line is skipped
                                "teacher_mail=yamada@example.ac.jp  \n"
                                "guide_financial_cross=https://seminar.example.jp/cross.html\n");
    const DeploymentConfig config = DeploymentConfig::LoadFile(file);
    EXPECT_EQ(Cp932ToUtf8(config.seminar), "山田ゼミ");
    EXPECT_EQ(config.teacherMail, "yamada@example.ac.jp");
    EXPECT_EQ(config.university, DeploymentConfig::Defaults().university);
    EXPECT_EQ(config.guideFinancialCross, "https://seminar.example.jp/cross.html");
    EXPECT_EQ(config.guideMacroSeries, DeploymentConfig::Defaults().guideMacroSeries);

    const DeploymentConfig missing = DeploymentConfig::LoadFile(m_folder / "none.conf");
    EXPECT_EQ(missing.seminar, DeploymentConfig::Defaults().seminar);
}

TEST_F(DeploymentConfigTest, LoadTakesTheFileNamedByTheEnvironment) {
    ::setenv("TAMVEL_DEPLOYMENT", Write("chosen.conf", "university=東京大学\n").c_str(), 1);
    EXPECT_EQ(Cp932ToUtf8(DeploymentConfig::Load().university), "東京大学");
}

// The address keys and the member each sets; the six help and guide keys default to the page
// that ships with Tamvel, the service addresses to nothing.
struct AddressKey {
    const char* name;
    std::string DeploymentConfig::*member;
    bool shipped;
};
constexpr AddressKey kAddressKeys[] = {
    {"help_data_collection", &DeploymentConfig::helpDataCollection, true},
    {"help_tsp", &DeploymentConfig::helpTsp, true},
    {"help_screen", &DeploymentConfig::helpScreen, true},
    {"tsp_command_site", &DeploymentConfig::tspCommandSite, false},
    {"webmail", &DeploymentConfig::webmail, false},
    {"teacher_page", &DeploymentConfig::teacherPage, false},
    {"web_disk", &DeploymentConfig::webDisk, false},
    {"guide_macro_series", &DeploymentConfig::guideMacroSeries, true},
    {"guide_financial_series", &DeploymentConfig::guideFinancialSeries, true},
    {"guide_financial_cross", &DeploymentConfig::guideFinancialCross, true},
};

TEST_F(DeploymentConfigTest, HelpKeysDefaultToTheShippedPagesAndServiceKeysToNothing) {
    const DeploymentConfig config = DeploymentConfig::Defaults();
    for (const AddressKey& key : kAddressKeys) {
        SCOPED_TRACE(key.name);
        const std::string& address = config.*(key.member);
        EXPECT_EQ(config.Find(key.name), &address);
        if (!key.shipped) {
            EXPECT_EQ(address, "");
            continue;
        }
        ASSERT_TRUE(address.starts_with("file:///")) << address;
        EXPECT_TRUE(address.ends_with("/" + std::string(ShippedHelpPage(key.name)))) << address;
        EXPECT_EQ(address, DefaultHelpAddress(key.name));
    }
    EXPECT_EQ(config.Find("no_such_key"), nullptr);
}

TEST_F(DeploymentConfigTest, FileSetsEveryAddressKeyAndAnEmptyValueUnsetsADefault) {
    std::string text;
    for (const AddressKey& key : kAddressKeys) {
        text += std::string(key.name) + " = https://example.ac.jp/" + key.name + " \n";
    }
    text += "help_screen =\n";
    const DeploymentConfig config = DeploymentConfig::LoadFile(Write("deployment.conf", text));
    for (const AddressKey& key : kAddressKeys) {
        SCOPED_TRACE(key.name);
        const std::string expected = key.member == &DeploymentConfig::helpScreen
                                         ? ""
                                         : "https://example.ac.jp/" + std::string(key.name);
        EXPECT_EQ(config.*(key.member), expected);
    }
}

}  // namespace
}  // namespace tamvel
