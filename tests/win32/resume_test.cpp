// An enable or a restore stopped after each of its renames, as a crash or a
// refused rename leaves the folder: the button the next start recommends
// finishes the switch through the Windows file services.
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "reliability/reliability.h"

namespace orvando::testing {
namespace {

class StoppedAfter : public ::testing::TestWithParam<std::tuple<ActionButton, int>> {};

TEST_P(StoppedAfter, TheRecommendedButtonFinishes) {
    const auto [op, k] = GetParam();
    TempFolder folder;
    writeFolder(folder, afterRenames(op, k));
    const Resumed resumed = resumeWithRecommendedButton(folder);
    EXPECT_TRUE(resumed.complete);
    std::printf("%s stopped after %d renames: %s after %d boxes\n",
                op == ActionButton::rename ? "enable" : "restore", k,
                resumed.complete ? "completes" : "FAILS", resumed.boxes);
}

INSTANTIATE_TEST_SUITE_P(Points, StoppedAfter,
                         ::testing::Combine(::testing::Values(ActionButton::rename,
                                                              ActionButton::unrename),
                                            ::testing::Range(0, 31)));

}  // namespace
}  // namespace orvando::testing
