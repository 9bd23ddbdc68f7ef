// SPDX-License-Identifier: GPL-3.0-or-later
// A second start while Tintaro runs ends at once, with status 0, having
// touched nothing: no window, no companion, no keyboard guard, no asset check.

#include "shell/Program.h"
#include "support/Events.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace tintaro::test {
namespace {

TEST(OneAtATime, ASecondStartEndsAtOnceWithStatusZeroAndTouchesNothing) {
    FakePlatform fake(TINTARO_ASSETS);
    fake.instance.heldByAnotherCopy = true;
    EXPECT_EQ(runProgram(fake.platform), 0);
    EXPECT_EQ(fake.instance.attempts, 1);
    EXPECT_TRUE(fake.window.log.empty());
    EXPECT_EQ(fake.guard.installs, 0);
    EXPECT_TRUE(fake.processes.started.empty());
    EXPECT_TRUE(fake.files.lengthQueries.empty());
    EXPECT_TRUE(fake.sound.played.empty());
    EXPECT_TRUE(fake.music.log.empty());
}

TEST(OneAtATime, TheOnlyCopyTakesTheLockAndRunsItsWholeLife) {
    FakePlatform fake(TINTARO_ASSETS);
    // Closed by the system once the start-up is over.
    fake.window.scheduled.push_back({fake.clock.now + 10.0, quitEvent()});
    EXPECT_EQ(runProgram(fake.platform), 0);
    EXPECT_EQ(fake.instance.attempts, 1);
    const std::vector<std::string> expected{"create", "hide", "show", "fullscreen", "show", "destroy"};
    EXPECT_EQ(fake.window.log, expected);
    EXPECT_EQ(fake.guard.installs, 1);
    EXPECT_EQ(fake.processes.started.size(), 1u);
}

} // namespace
} // namespace tintaro::test
