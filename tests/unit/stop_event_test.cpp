#include "panel/stop_event.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <thread>

namespace tamvel {
namespace {

TEST(StopEvent, StaysSetUntilResetAndWakesAPollFromAnotherThread) {
    StopEvent stop;
    ASSERT_GE(stop.Fd(), 0);
    EXPECT_FALSE(stop.IsSignalled());

    std::thread signaller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.Signal();
    });
    pollfd watch{stop.Fd(), POLLIN, 0};
    EXPECT_EQ(::poll(&watch, 1, 5000), 1);
    signaller.join();

    stop.Signal();
    EXPECT_TRUE(stop.IsSignalled());
    EXPECT_TRUE(stop.IsSignalled());  // manual reset: looking does not clear it
    stop.Reset();
    EXPECT_FALSE(stop.IsSignalled());
    stop.Reset();  // resetting a clear event neither blocks nor sets it
    EXPECT_FALSE(stop.IsSignalled());
}

}  // namespace
}  // namespace tamvel
