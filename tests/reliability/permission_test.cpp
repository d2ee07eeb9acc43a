// A game folder the player may not change. The tests run as root in CI, and
// root may write anywhere, so the program runs in a child process that first
// becomes the unprivileged user "nobody". The run must stop at the first
// rename with one clear error box, having renamed nothing more and lost
// nothing.
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "reliability/child_process.h"
#include "reliability/installs.h"
#include "support/temp_folder.h"
#include "ui/texts.h"

namespace orvando::testing {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

struct PermissionCase {
    const char* name;
    Operation op;
    std::vector<std::string> readOnly;  // music folders nobody may write
    int step;                           // the rename that is refused
    friend void PrintTo(const PermissionCase& c, std::ostream* os) { *os << c.name; }
};

const PermissionCase kPermissionCases[] = {
    {"EnableWithBothFoldersReadOnly", Operation::enable, {"streammusic", "streamsounds"}, 0},
    {"RestoreWithBothFoldersReadOnly", Operation::restore, {"streammusic", "streamsounds"}, 0},
    {"RestoreWithStreammusicReadOnly", Operation::restore, {"streammusic"}, 0},
    // The catalogue reaches streamsounds at row 15, the replacement pairs at
    // their second pair.
    {"EnableWithStreamsoundsReadOnly", Operation::enable, {"streamsounds"}, 15},
    {"RestoreWithStreamsoundsReadOnly", Operation::restore, {"streamsounds"}, 1},
};

constexpr fs::perms kAnyWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

class Permission : public ::testing::TestWithParam<PermissionCase> {};

TEST_P(Permission, RefusedRenameIsReportedAndNothingMoreChanges) {
    const PermissionCase& c = GetParam();
    const Snapshot install = installFor(c.op);
    TempFolder folder;
    writeFolder(folder, install);
    if (::geteuid() == 0) {
        // The player owns the game folder; only the folders listed are closed.
        ASSERT_EQ(::chown(folder.path().c_str(), kNobody, kNobody), 0);
        for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
            ASSERT_EQ(::chown(entry.path().c_str(), kNobody, kNobody), 0);
        }
    }
    for (const std::string& sub : c.readOnly) {
        fs::permissions(folder.native(sub), kAnyWrite, fs::perm_options::remove);
    }

    const ChildOutcome child = runInChild([&](int out) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            return 3;
        }
        auto files = makeSystemFileServices(folder.path().string());
        const WindowRun run = runWindow(
            *files, c.op == Operation::enable ? ActionButton::rename : ActionButton::unrename);
        return writeAll(out, joinRecords(run.log)) ? run.exitStatus : 4;
    });
    for (const std::string& sub : c.readOnly) {
        fs::permissions(folder.native(sub), fs::perms::owner_write, fs::perm_options::add);
    }
    ASSERT_TRUE(child.exited) << "the child was killed by signal " << child.signal;
    ASSERT_NE(child.exitStatus, 3) << "cannot become the user nobody";
    EXPECT_EQ(child.exitStatus, 1);

    const std::vector<std::string> log = splitRecords(child.output);
    // The folder may be read: the start-up shows the usual state.
    const std::string caption(c.op == Operation::enable ? text::kCaptionNotEnabled
                                                        : text::kCaptionModEnabled);
    EXPECT_NE(std::find(log.begin(), log.end(), "caption " + caption), log.end());

    std::vector<std::string> boxes;
    for (const std::string& line : log) {
        if (line.rfind("box ", 0) == 0) {
            boxes.push_back(line);
        }
    }
    const RenamePair refused = planOf(c.op).at(static_cast<std::size_t>(c.step));
    ASSERT_EQ(boxes.size(), 1u);
    const std::string expectedStart = "box 16 Orvando v2: Cannot rename " +
                                      std::string(refused.oldname) + " to " +
                                      std::string(refused.finalname) + ": permission denied.";
    EXPECT_EQ(boxes.front().rfind(expectedStart, 0), 0u) << boxes.front();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "end 1");

    EXPECT_EQ(folder.files(), afterRenames(install, planOf(c.op), c.step));
}

INSTANTIATE_TEST_SUITE_P(Cases, Permission, ::testing::ValuesIn(kPermissionCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

}  // namespace
}  // namespace orvando::testing
