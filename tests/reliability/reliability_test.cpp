// Faults during an enable or a restore on real files: a power cut at every
// step, a target name created by another program meanwhile, a folder the
// player may not write. Nothing may be lost or overwritten.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cctype>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "app/frm_music.h"
#include "reliability/reliability.h"
#include "ui/texts.h"

namespace orvando::testing {
namespace {

constexpr auto kEnable = ActionButton::rename;
constexpr auto kRestore = ActionButton::unrename;

std::string nameOf(ActionButton op) {
    return op == kEnable ? "enable" : "restore";
}

// The start of the box that reports the refused `step` of `op`.
std::string refusalBox(ActionButton op, int step, const std::string& reason) {
    const RenamePair& pair = planOf(op).at(static_cast<std::size_t>(step));
    return "box 16 Orvando v2: Cannot rename " + std::string(pair.oldname) + " to " +
           std::string(pair.finalname) + ": " + reason + ".";
}

// Random game folders (seeds from ORVANDO_CAMPAIGN_SEED, default 1; as many
// as ORVANDO_CAMPAIGN_STATES, default 200) on real files, each given one start
// and the click its state allows: nothing is lost or overwritten, the renames
// made follow the order of one operation, and the exit status is 1 exactly
// when the start-up check failed or a rename was refused.
TEST(Campaign, RandomFoldersLoseNothing) {
    const auto setting = [](const char* name, unsigned long otherwise) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::strtoul(value, nullptr, 10) : otherwise;
    };
    const unsigned long states = setting("ORVANDO_CAMPAIGN_STATES", 200);
    const unsigned long seed = setting("ORVANDO_CAMPAIGN_SEED", 1);
    long renames = 0, refusals = 0, boxes = 0;
    for (unsigned long i = 0; i < states; ++i) {
        SCOPED_TRACE("seed " + std::to_string(seed + i));
        std::mt19937 rng(static_cast<std::uint32_t>(seed + i));
        TempFolder real;
        for (const FolderEntry& e : randomGameFolder(rng)) {
            e.folder ? real.addFolder(e.path) : real.addFile(e.path, e.content);
        }
        const Snapshot before = real.files();
        auto system = makeSystemFileServices(real.path().string());
        WatchedFiles watched(*system);
        const auto log = startAndClick(watched, static_cast<int>(rng() % 2));
        EXPECT_EQ(contents(real.files()), contents(before));

        // Each rename made is a later step of the same operation.
        const OperationPlan* plan = nullptr;
        int last = -1;
        for (const std::string& call : watched.calls) {
            for (const OperationPlan* p : {&kEnablePlan, &kRestorePlan}) {
                for (int k = 0; k < static_cast<int>(p->size()) && (plan == nullptr || plan == p);
                     ++k) {
                    const RenamePair& pair = (*p)[static_cast<std::size_t>(k)];
                    if (call == "rename " + std::string(pair.oldname) + " -> " +
                                    std::string(pair.finalname) + ": done") {
                        EXPECT_GT(k, last) << call;
                        plan = p;
                        last = k;
                    }
                }
            }
        }
        const auto shown = boxesIn(log);
        const bool refused = std::any_of(shown.begin(), shown.end(), [](const auto& b) {
            return b.rfind("box 16 ", 0) == 0 || b.rfind("box 64 File error:", 0) == 0;
        });
        EXPECT_EQ(log.back(), refused ? "end 1" : "end 0");
        renames += watched.renames;
        refusals += watched.refusals;
        boxes += static_cast<long>(shown.size());
    }
    std::printf("campaign: %lu states (%ld renames, %ld refused, %ld boxes)\n", states, renames,
                refusals, boxes);
}

// What the next start shows after k renames. Enable: the probe row's stock
// name goes with the 3rd rename, the backups are complete after the 23rd.
// Restore: the 7 replacement tracks leave first, unseen by the detection; the
// probe row's backup goes with the 10th rename.
const struct {
    ActionButton op;
    int fromK, toK;
    std::string_view caption;
} kStateAfterCrash[] = {
    {kEnable, 0, 0, text::kCaptionNotEnabled},
    {kEnable, 1, 2, text::kCaptionErrorRecRename},
    {kEnable, 3, 22, text::kCaptionErrorRecUnrename},
    {kEnable, 23, 30, text::kCaptionModEnabled},
    {kRestore, 0, 7, text::kCaptionModEnabled},
    {kRestore, 8, 9, text::kCaptionErrorRecUnrename},
    {kRestore, 10, 29, text::kCaptionErrorRecRename},
    {kRestore, 30, 30, text::kCaptionNotEnabled},
};

// The operation runs in a child process killed with SIGKILL right after its
// k-th rename (k = 0: before the first).
class CrashAtEveryStep : public ::testing::TestWithParam<std::tuple<ActionButton, int>> {};

TEST_P(CrashAtEveryStep, NothingIsLostAndTheRecommendedButtonFinishes) {
    const auto [op, k] = GetParam();
    TempFolder folder;
    writeFolder(folder, installFor(op));
    std::fflush(nullptr);
    if (::fork() == 0) {
        try {
            auto real = makeSystemFileServices(folder.path().string());
            WatchedFiles killer(*real);
            killer.onRename = [k = k](int renames) {
                if (renames == k) {
                    std::raise(SIGKILL);
                }
            };
            startAndClick(killer, 0);  // the install offers one button
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::wait(&status);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "wait status " << status;
    // Exactly the first k renames were made: every track under a catalogue name.
    ASSERT_EQ(folder.files(), afterRenames(op, k));

    std::vector<std::string> log;
    RecordingView start(log);
    auto files = makeSystemFileServices(folder.path().string());
    frmMusic(start, *files).Form_Load();
    EXPECT_EQ(start.boxes, 0);
    const auto row =
        std::find_if(std::begin(kStateAfterCrash), std::end(kStateAfterCrash),
                     [&](const auto& s) { return s.op == op && k >= s.fromK && k <= s.toK; });
    ASSERT_NE(row, std::end(kStateAfterCrash));
    EXPECT_EQ(start.caption, row->caption);

    // The button the caption recommends finishes the switch.
    const Resumed resumed = resumeWithRecommendedButton(folder);
    EXPECT_TRUE(resumed.complete);
    std::printf("%s killed after %d renames: %s, recommended button %s after %d boxes\n",
                nameOf(op).c_str(), k, start.caption.c_str(),
                resumed.complete ? "completes" : "FAILS", resumed.boxes);
}

INSTANTIATE_TEST_SUITE_P(Points, CrashAtEveryStep,
                         ::testing::Combine(::testing::Values(kEnable, kRestore),
                                            ::testing::Range(0, 31)),
                         [](const auto& p) {
                             return nameOf(std::get<0>(p.param)) +
                                    std::to_string(std::get<1>(p.param));
                         });

// Another program creates a rename's target between the query of the source
// and the rename (the first, the middle and the last catalogue row, a
// replacement into a stock name just vacated; the first and last replacement
// tracks, a backup into its stock name, the last backup), in its exact
// spelling or in upper case, which the game's own platform takes as the same.
TEST(Race, TargetCreatedMeanwhileIsRefusedAndNamed) {
    const std::string other = "written by another program";
    struct RaceCase {
        ActionButton op;
        int step;
        bool upperCase;
    };
    // clang-format off
    const RaceCase kCases[] = {{kEnable, 0, false}, {kEnable, 7, false}, {kEnable, 22, false},
        {kEnable, 25, false}, {kRestore, 0, false}, {kRestore, 6, false}, {kRestore, 19, false},
        {kRestore, 29, false}, {kEnable, 7, true}, {kRestore, 19, true}};
    // clang-format on
    for (const auto& [op, step, upperCase] : kCases) {
        SCOPED_TRACE(::testing::Message()
                     << nameOf(op) << ", rename " << step << (upperCase ? ", upper case" : ""));
        const RenamePair& pair = planOf(op).at(static_cast<std::size_t>(step));
        const std::string from(pair.oldname), to(pair.finalname);
        std::string created = to;
        const auto slash = created.find('\\');
        for (std::size_t i = slash + 1; upperCase && i < created.size(); ++i) {
            created[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(created[i])));
        }
        TempFolder folder;
        writeFolder(folder, installFor(op));
        auto system = makeSystemFileServices(folder.path().string());
        WatchedFiles watched(*system);
        int creator = -1;  // the other program's wait status
        watched.onQuery = [&](const std::string& path) {
            if (path == from && creator == -1) {
                creator = std::system(
                    ("set -C; printf %s '" + other + "' >'" + folder.native(created).string() + "'")
                        .c_str());
            }
        };
        const auto log = startAndClick(watched, op == kEnable ? 0 : 1);
        ASSERT_EQ(creator, 0) << "the other program could not create " << created;
        const auto boxes = boxesIn(log);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rfind(refusalBox(op, step,
                                            upperCase ? "already exists as " + created
                                                      : std::string("already exists")),
                                 0),
                  0u)
            << boxes[0];
        EXPECT_EQ(log.back(), "end 1");
        Snapshot expected = afterRenames(op, step);
        expected[created] = other;
        EXPECT_EQ(folder.files(), expected);
        // Once the other program's file is gone, the recommended button finishes.
        std::filesystem::remove(folder.native(created));
        const Resumed resumed = resumeWithRecommendedButton(folder);
        EXPECT_TRUE(resumed.complete);
    }
}

// Root may write anywhere, so the program runs as the user nobody, who owns
// the game folder; the music folders listed are closed to writing. The run
// stops at the rename into the first of them.
TEST(Permission, RefusedRenameIsReportedAndNothingMoreChanges) {
    constexpr uid_t kNobody = 65534;
    const struct {
        ActionButton op;
        std::vector<std::string> closed;
        int step;  // the rename refused
    } kCases[] = {
        {kEnable, {"streammusic", "streamsounds"}, 0},
        {kRestore, {"streammusic", "streamsounds"}, 0},
        {kRestore, {"streammusic"}, 0},
        {kEnable, {"streamsounds"}, 15},
        {kRestore, {"streamsounds"}, 1},
    };
    for (const auto& [op, closed, step] : kCases) {
        SCOPED_TRACE(::testing::Message() << nameOf(op) << ", " << closed.size() << " closed");
        TempFolder folder;
        writeFolder(folder, installFor(op));
        const bool root = ::geteuid() == 0;
        if (root) {
            ASSERT_EQ(std::system(("chown -R 65534:65534 " + folder.path().string()).c_str()), 0);
        }
        for (const std::string& sub : closed) {
            std::filesystem::permissions(
                folder.native(sub),
                std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        }
        // The effective ids decide access; root's capabilities return with them.
        ASSERT_TRUE(!root || (::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0));
        auto files = makeSystemFileServices(folder.path().string());
        const auto log = startAndClick(*files, op == kEnable ? 0 : 1);
        ASSERT_TRUE(!root || (::seteuid(0) == 0 && ::setegid(0) == 0));
        for (const std::string& sub : closed) {
            std::filesystem::permissions(folder.native(sub), std::filesystem::perms::owner_all);
        }
        const auto boxes = boxesIn(log);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rfind(refusalBox(op, step, "permission denied"), 0), 0u) << boxes[0];
        EXPECT_EQ(log.back(), "end 1");
        EXPECT_EQ(folder.files(), afterRenames(op, step));
        // The permissions were given back above: the recommended button finishes.
        const Resumed resumed = resumeWithRecommendedButton(folder);
        EXPECT_TRUE(resumed.complete);
    }
}

}  // namespace
}  // namespace orvando::testing
