#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace tamvel {
namespace {

using namespace std::chrono_literals;

class SingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        m_dir = m_temp.Path();
    }

    testing::TempFolder m_temp{"instance"};
    std::filesystem::path m_dir;
};

TEST(InstanceKeyTest, IsTheExecutablesNameWithoutFolderAndExtension) {
    const struct {
        const char* argv0;
        const char* key;
    } cases[] = {
        {"/usr/bin/tamvel", "tamvel"},  {"Tamvel.exe", "Tamvel"}, {"./tam.vel.bin", "tam.vel"},
        {"tamvel-copy", "tamvel-copy"}, {"", "tamvel"},
    };
    for (const auto& c : cases) EXPECT_EQ(InstanceKey(c.argv0), c.key) << c.argv0;
}

TEST_F(SingleInstanceTest, OnlyOneCopyPerKeyAndUser) {
    SingleInstance first(m_dir, "tamvel");
    SingleInstance second(m_dir, "tamvel");
    SingleInstance otherName(m_dir, "tamvel2");
    EXPECT_EQ(first.Acquire(), InstanceRole::First);
    EXPECT_EQ(second.Acquire(), InstanceRole::Second);
    EXPECT_EQ(otherName.Acquire(), InstanceRole::First);
}

TEST_F(SingleInstanceTest, LockOfACrashedCopyDoesNotBlockTheNextStart) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance crashing(m_dir, "tamvel");
        const bool first = crashing.Acquire() == InstanceRole::First && crashing.OpenEndpoint();
        const char answer = first ? '1' : '0';
        (void)!::write(ready[1], &answer, 1);
        ::pause();
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, '1');
    SingleInstance whileRunning(m_dir, "tamvel");
    EXPECT_EQ(whileRunning.Acquire(), InstanceRole::Second);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_TRUE(std::filesystem::exists(whileRunning.EndpointPath()));  // left behind

    SingleInstance next(m_dir, "tamvel");
    EXPECT_EQ(next.Acquire(), InstanceRole::First);
    EXPECT_FALSE(std::filesystem::exists(next.EndpointPath()));
    EXPECT_TRUE(next.OpenEndpoint());
}

TEST_F(SingleInstanceTest, LaterCopyReachesTheFirstOnlyWhileItsEndpointIsOpen) {
    SingleInstance first(m_dir, "tamvel");
    SingleInstance later(m_dir, "tamvel");
    ASSERT_EQ(first.Acquire(), InstanceRole::First);
    ASSERT_EQ(later.Acquire(), InstanceRole::Second);

    // Still starting: the lock is held but nobody listens.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(later.RequestBringForward(2s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);

    ASSERT_TRUE(first.OpenEndpoint());
    std::atomic<int> broughtForward = 0;
    std::atomic<bool> stop = false;
    std::thread server([&] {
        while (!stop) {
            first.ServeRequests([&] { ++broughtForward; });
            std::this_thread::sleep_for(5ms);
        }
    });
    EXPECT_TRUE(later.RequestBringForward(2s));
    EXPECT_TRUE(later.RequestBringForward(2s));
    stop = true;
    server.join();
    EXPECT_EQ(broughtForward, 2);

    first.CloseEndpoint();
    EXPECT_FALSE(std::filesystem::exists(first.EndpointPath()));
    EXPECT_FALSE(later.RequestBringForward(2s));
}

TEST_F(SingleInstanceTest, RequestWithoutAnAnswerGivesUpAfterTheTimeout) {
    SingleInstance first(m_dir, "tamvel");
    ASSERT_EQ(first.Acquire(), InstanceRole::First);
    ASSERT_TRUE(first.OpenEndpoint());  // open but never served: the program is busy
    SingleInstance later(m_dir, "tamvel");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(later.RequestBringForward(300ms));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 250ms);
    EXPECT_LT(waited, 2s);
}

TEST_F(SingleInstanceTest, UnusableFolderLetsEveryCopyRunAsFirst) {
    SingleInstance a(m_dir / "missing", "tamvel");
    SingleInstance b(m_dir / "missing", "tamvel");
    EXPECT_EQ(a.Acquire(), InstanceRole::First);
    EXPECT_EQ(b.Acquire(), InstanceRole::First);
    EXPECT_FALSE(a.OpenEndpoint());
}

TEST_F(SingleInstanceTest, RuntimeFolderIsXdgRuntimeDirWhenPrivate) {
    std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    testing::ScopedEnv runtime("XDG_RUNTIME_DIR", m_dir.c_str());
    EXPECT_EQ(InstanceRuntimeDir(), m_dir);
    std::filesystem::permissions(m_dir, std::filesystem::perms::all,
                                 std::filesystem::perm_options::replace);
    EXPECT_NE(InstanceRuntimeDir(), m_dir);  // readable by others: not used
}

}  // namespace
}  // namespace tamvel
