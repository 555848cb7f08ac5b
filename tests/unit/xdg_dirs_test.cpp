#include "platform/xdg_dirs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scoped_env.h"

namespace tamvel {
namespace {

using Folders = std::vector<std::filesystem::path>;

TEST(XdgDirsTest, AbsoluteVariablesWinAndRelativeOnesAreIgnored) {
    const struct {
        const char* name;
        const char* home;
        const char* data;
        const char* config;
        const char* runtime;
        std::filesystem::path dataHome, configHome, runtimeDir;
    } cases[] = {
        {"defaults under home", "/home/me", nullptr, nullptr, nullptr, "/home/me/.local/share",
         "/home/me/.config", ""},
        {"absolute values", "/home/me", "/d", "/c", "/run/user/1", "/d", "/c", "/run/user/1"},
        {"relative values ignored", "/home/me", "d", "./c", "run", "/home/me/.local/share",
         "/home/me/.config", ""},
        {"empty values ignored", "/home/me", "", "", "", "/home/me/.local/share",
         "/home/me/.config", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScopedEnv env;
        env.Set("HOME", c.home);
        env.Set("XDG_DATA_HOME", c.data);
        env.Set("XDG_CONFIG_HOME", c.config);
        env.Set("XDG_RUNTIME_DIR", c.runtime);
        EXPECT_EQ(HomeFolder(), c.home);
        EXPECT_EQ(DataHome(), c.dataHome);
        EXPECT_EQ(ConfigHome(), c.configHome);
        EXPECT_EQ(RuntimeDir(), c.runtimeDir);
    }
}

TEST(XdgDirsTest, ARelativeHomeFallsBackToThePasswordDatabase) {
    testing::ScopedEnv env("HOME", "relative/home");
    EXPECT_TRUE(HomeFolder().empty() || HomeFolder().is_absolute());
    EXPECT_NE(HomeFolder(), "relative/home");
}

TEST(XdgDirsTest, FolderListsKeepAbsoluteEntriesElseTheDefaults) {
    const struct {
        const char* value;
        Folders dataDirs;
    } cases[] = {
        {nullptr, {"/usr/local/share", "/usr/share"}},
        {"", {"/usr/local/share", "/usr/share"}},
        {"/a:relative::/b", {"/a", "/b"}},
        {"relative:other", {"/usr/local/share", "/usr/share"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(unset)");
        testing::ScopedEnv env("XDG_DATA_DIRS", c.value);
        EXPECT_EQ(DataDirs(), c.dataDirs);
    }
    testing::ScopedEnv env("XDG_CONFIG_DIRS", nullptr);
    EXPECT_EQ(ConfigDirs(), Folders{"/etc/xdg"});
}

}  // namespace
}  // namespace tamvel
