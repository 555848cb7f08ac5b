#include "panel/deployment_config.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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
                                "teacher_mail=yamada@example.ac.jp  \n");
    const DeploymentConfig config = DeploymentConfig::LoadFile(file);
    EXPECT_EQ(Cp932ToUtf8(config.seminar), "山田ゼミ");
    EXPECT_EQ(config.teacherMail, "yamada@example.ac.jp");
    EXPECT_EQ(config.university, DeploymentConfig::Defaults().university);

    const DeploymentConfig missing = DeploymentConfig::LoadFile(m_folder / "none.conf");
    EXPECT_EQ(missing.seminar, DeploymentConfig::Defaults().seminar);
}

TEST_F(DeploymentConfigTest, LoadTakesTheFileNamedByTheEnvironment) {
    ::setenv("TAMVEL_DEPLOYMENT", Write("chosen.conf", "university=東京大学\n").c_str(), 1);
    EXPECT_EQ(Cp932ToUtf8(DeploymentConfig::Load().university), "東京大学");
}

}  // namespace
}  // namespace tamvel
