// A power cut in the middle of an enable or a restore: for every k from 0 to
// 30, the operation runs in a child process that is killed with SIGKILL right
// after its k-th rename. The folder must still hold every track under a
// catalogue name, the next start must recognise the half-switched state, and
// each button it offers must neither lose nor overwrite a track.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "reliability/child_process.h"
#include "reliability/installs.h"
#include "reliability/watched_files.h"
#include "support/temp_folder.h"
#include "ui/texts.h"

namespace orvando::testing {
namespace {

constexpr int kRenamesPerRun = 30;

// Ends the process, as a power cut would, once `k` renames have been made.
class KillAfterRenames final : public FileServices {
  public:
    KillAfterRenames(FileServices& inner, int k) : inner_(inner), k_(k) {}
    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        if (done_ == k_) {
            std::raise(SIGKILL);
        }
        auto error = inner_.renameNoReplace(from, to);
        if (!error && ++done_ == k_) {
            std::raise(SIGKILL);
        }
        return error;
    }

  private:
    FileServices& inner_;
    int k_;
    int done_ = 0;
};

// The state the next start shows after k renames of an operation.
struct StateAfterCrash {
    Operation op;
    int fromK;
    int toK;
    std::string_view caption;
};

const StateAfterCrash kStateAfterCrash[] = {
    // Enable: the probe row's stock name goes with the third rename; the
    // backup names are complete after the 23rd.
    {Operation::enable, 0, 0, text::kCaptionNotEnabled},
    {Operation::enable, 1, 2, text::kCaptionErrorRecRename},
    {Operation::enable, 3, 22, text::kCaptionErrorRecUnrename},
    {Operation::enable, 23, 30, text::kCaptionModEnabled},
    // Restore: the seven replacement tracks leave first, which the detection
    // does not look at; the probe row's backup name goes with the 10th rename.
    {Operation::restore, 0, 7, text::kCaptionModEnabled},
    {Operation::restore, 8, 9, text::kCaptionErrorRecUnrename},
    {Operation::restore, 10, 29, text::kCaptionErrorRecRename},
    {Operation::restore, 30, 30, text::kCaptionNotEnabled},
};

std::string_view expectedCaption(Operation op, int k) {
    for (const StateAfterCrash& s : kStateAfterCrash) {
        if (s.op == op && k >= s.fromK && k <= s.toK) {
            return s.caption;
        }
    }
    return "(no entry)";
}

struct CrashPoint {
    Operation op;
    int k;
    friend void PrintTo(const CrashPoint& c, std::ostream* os) {
        *os << (c.op == Operation::enable ? "enable" : "restore") << " killed after " << c.k;
    }
};

std::vector<CrashPoint> everyCrashPoint() {
    std::vector<CrashPoint> points;
    for (Operation op : {Operation::enable, Operation::restore}) {
        for (int k = 0; k <= kRenamesPerRun; ++k) {
            points.push_back({op, k});
        }
    }
    return points;
}

const char* buttonName(ActionButton b) {
    return b == ActionButton::rename ? "rename" : "unrename";
}

class CrashAtEveryStep : public ::testing::TestWithParam<CrashPoint> {};

TEST_P(CrashAtEveryStep, NothingIsLostAndEveryOfferedButtonIsSafe) {
    const auto [op, k] = GetParam();
    const Snapshot install = installFor(op);
    TempFolder folder;
    writeFolder(folder, install);

    const ChildOutcome child = runInChild([&, op = op, k = k](int) {
        auto real = makeSystemFileServices(folder.path().string());
        KillAfterRenames killer(*real, k);
        runWindow(killer, op == Operation::enable ? ActionButton::rename : ActionButton::unrename);
        return 0;  // not reached: the kill comes first
    });
    ASSERT_TRUE(child.signalled && child.signal == SIGKILL)
        << "the child ended with status " << child.exitStatus;

    // Exactly the first k renames were made; every track is still there.
    const Snapshot crashed = folder.files();
    EXPECT_TRUE(onlyCatalogueNames(crashed));
    EXPECT_EQ(lostBetween(install, crashed), 0);
    EXPECT_EQ(crashed, afterRenames(install, planOf(op), k));

    // The next start recognises the state and offers at least one button.
    auto files = makeSystemFileServices(folder.path().string());
    const WindowRun start = runWindow(*files);
    ASSERT_FALSE(start.ended) << "the start-up check failed";
    EXPECT_EQ(start.boxes, 0);
    EXPECT_EQ(start.caption, expectedCaption(op, k));
    std::vector<ActionButton> offered;
    if (start.renameVisible) {
        offered.push_back(ActionButton::rename);
    }
    if (start.unrenameVisible) {
        offered.push_back(ActionButton::unrename);
    }
    ASSERT_FALSE(offered.empty());

    // Each offered button, on a copy of the crashed folder, may warn or refuse
    // but never destroy a track; at least one of them completes the switch.
    bool someButtonCompletes = false;
    for (ActionButton button : offered) {
        SCOPED_TRACE(buttonName(button));
        TempFolder copy;
        copyFolder(folder.path(), copy);
        auto copyFiles = makeSystemFileServices(copy.path().string());
        WatchedFiles watched(*copyFiles, [&copy] { return copy.files(); });
        const WindowRun run = runWindow(watched, button);
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(watched.damage(), Damage{});
        const Snapshot after = copy.files();
        EXPECT_TRUE(onlyCatalogueNames(after));
        EXPECT_EQ(lostBetween(install, after), 0);
        EXPECT_EQ(after.size(), install.size());
        someButtonCompletes =
            someButtonCompletes || after == stockInstall() || after == enabledInstall();
    }
    EXPECT_TRUE(someButtonCompletes) << "no offered button brings the folder to a complete state";
}

INSTANTIATE_TEST_SUITE_P(Points, CrashAtEveryStep, ::testing::ValuesIn(everyCrashPoint()),
                         [](const auto& tpi) {
                             return std::string(tpi.param.op == Operation::enable ? "Enable"
                                                                                  : "Restore") +
                                    "KilledAfter" + std::to_string(tpi.param.k);
                         });

}  // namespace
}  // namespace orvando::testing
