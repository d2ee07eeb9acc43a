// Random game folders, each run through the start-up detection and the
// operation its state offers, once on the in-memory folder and once on a real
// folder: both must show the same boxes and end with the same files, and no
// file's content may be lost on either.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/file_services.h"
#include "support/memory_folder.h"
#include "support/random_folder.h"
#include "support/temp_folder.h"

namespace orvando::testing {
namespace {

std::set<std::string> contents(const std::map<std::string, std::string>& files) {
    std::set<std::string> out;
    for (const auto& [path, content] : files) {
        out.insert(content);
    }
    return out;
}

TEST(Differential, InMemoryAndRealFoldersAgreeAndLoseNothing) {
    constexpr int kStates = 200;
    int renamedRuns = 0;
    for (int seed = 1; seed <= kStates; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(static_cast<unsigned>(seed));
        const auto state = randomGameFolder(rng);
        MemoryFolder memory;
        TempFolder real;
        for (const FolderEntry& e : state) {
            e.folder ? memory.addFolder(e.path) : memory.addFile(e.path, e.content);
            e.folder ? real.addFolder(e.path) : real.addFile(e.path, e.content);
        }
        const auto before = real.files();
        ASSERT_EQ(memory.files(), before);

        const int choice = static_cast<int>(rng() % 2);
        const auto memoryLog = startAndClick(memory, choice);
        auto system = makeSystemFileServices(real.path().string());
        const auto realLog = startAndClick(*system, choice);

        EXPECT_EQ(memoryLog, realLog);
        const auto after = real.files();
        EXPECT_EQ(memory.files(), after);
        EXPECT_EQ(contents(after), contents(before)) << "a track was lost or overwritten";
        EXPECT_EQ(after.size(), before.size());
        renamedRuns += after != before ? 1 : 0;
    }
    // The states must exercise the operations, not only the start-up check.
    EXPECT_GT(renamedRuns, kStates / 3);
}

}  // namespace
}  // namespace orvando::testing
