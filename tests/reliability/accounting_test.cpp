// The campaign's counts must notice every way a rename can destroy a track,
// and must not count the honest renames of a complete operation, where the
// stock names are first given up and then taken over by other tracks.
#include <gtest/gtest.h>

#include <filesystem>

#include "reliability/campaign.h"
#include "reliability/installs.h"
#include "reliability/watched_files.h"
#include "support/memory_folder.h"

namespace orvando::testing {
namespace {

struct StepCase {
    const char* name;
    Snapshot before;
    Snapshot after;
    Damage expected;
    friend void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }
};

const StepCase kStepCases[] = {
    {"HonestRename", {{"a", "A"}, {"b", "B"}}, {{"c", "A"}, {"b", "B"}}, {0, 0}},
    {"NothingChanged", {{"a", "A"}, {"b", "B"}}, {{"a", "A"}, {"b", "B"}}, {0, 0}},
    {"TargetReplaced", {{"a", "A"}, {"b", "B"}}, {{"b", "A"}}, {1, 1}},
    {"CopyLeftUnderTheOldName", {{"a", "A"}}, {{"a", "A"}, {"b", "A"}}, {0, 1}},
    {"TwoFilesMergedIntoTheTarget", {{"a", "A"}, {"b", "B"}}, {{"b", "BA"}}, {2, 1}},
    {"FileDropped", {{"a", "A"}, {"b", "B"}}, {{"b", "B"}}, {1, 0}},
    {"AlteredInPlace", {{"a", "A"}}, {{"a", "A changed"}}, {1, 1}},
    {"TwoNamesSwapped", {{"a", "A"}, {"b", "B"}}, {{"a", "B"}, {"b", "A"}}, {0, 2}},
    {"OneFileUnderTwoNewNames", {{"a", "A"}}, {{"b", "A"}, {"c", "A"}}, {0, 1}},
    {"NewFileFromNowhere", {{"a", "A"}}, {{"a", "A"}, {"b", "B"}}, {0, 1}},
    {"MovedOntoANameWhoseFileMovedOn", {{"a", "A"}, {"b", "B"}}, {{"b", "A"}, {"c", "B"}}, {0, 1}},
};

class Step : public ::testing::TestWithParam<StepCase> {};

TEST_P(Step, CountsLostAndOverwrittenFiles) {
    const StepCase& c = GetParam();
    EXPECT_EQ(compareStep(c.before, c.after), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Step, ::testing::ValuesIn(kStepCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

// File services with one kind of careless rename, on the in-memory folder.
enum class Fault { none, replacesTarget, keepsCopy, mergesIntoTarget, dropsFile };

class FaultyFolder final : public FileServices {
  public:
    FaultyFolder(MemoryFolder& folder, Fault fault) : folder_(folder), fault_(fault) {}
    bool fileExists(const std::string& path) override { return folder_.fileExists(path); }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        const Snapshot files = folder_.files();
        switch (fault_) {
            case Fault::none:
                break;
            case Fault::replacesTarget:
                if (files.count(to) != 0) {
                    folder_.remove(to);
                }
                break;
            case Fault::keepsCopy:
                folder_.addFile(to, files.at(from));
                return std::nullopt;
            case Fault::mergesIntoTarget:
                folder_.remove(from);
                folder_.addFile(to, (files.count(to) != 0 ? files.at(to) : "") + files.at(from));
                return std::nullopt;
            case Fault::dropsFile:
                folder_.remove(from);
                return std::nullopt;
        }
        return folder_.renameNoReplace(from, to);
    }

  private:
    MemoryFolder& folder_;
    Fault fault_;
};

const std::string kStock = "streammusic\\mus_area_ahto.wav";
const std::string kBackup = "streammusic\\mus_area_ahto.original.wav";

struct WatchCase {
    const char* name;
    Fault fault;
    bool targetTaken;
    Damage expected;
    int refusals;
    friend void PrintTo(const WatchCase& c, std::ostream* os) { *os << c.name; }
};

const WatchCase kWatchCases[] = {
    {"HonestIntoAFreeName", Fault::none, false, {0, 0}, 0},
    {"HonestOntoATakenName", Fault::none, true, {0, 0}, 1},
    {"ReplacesTheTarget", Fault::replacesTarget, true, {1, 1}, 0},
    {"ReplacingIsHarmlessIntoAFreeName", Fault::replacesTarget, false, {0, 0}, 0},
    {"KeepsACopy", Fault::keepsCopy, false, {0, 1}, 0},
    {"MergesIntoTheTarget", Fault::mergesIntoTarget, true, {2, 1}, 0},
    {"DropsTheFile", Fault::dropsFile, false, {1, 0}, 0},
};

class Watch : public ::testing::TestWithParam<WatchCase> {};

TEST_P(Watch, CountsWhatOneRenameDid) {
    const WatchCase& c = GetParam();
    MemoryFolder folder;
    folder.addFile(kStock, "stock");
    folder.addFile("streammusic\\mus_area_desert.wav", "bystander");
    if (c.targetTaken) {
        folder.addFile(kBackup, "older backup");
    }
    FaultyFolder faulty(folder, c.fault);
    WatchedFiles watched(faulty, [&folder] { return folder.files(); });
    watched.renameNoReplace(kStock, kBackup);
    EXPECT_EQ(watched.damage(), c.expected);
    EXPECT_EQ(watched.refusals(), c.refusals);
}

INSTANTIATE_TEST_SUITE_P(Faults, Watch, ::testing::ValuesIn(kWatchCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

// A whole enable and restore: stock names are vacated and taken over by
// other tracks within one run, which is no damage.
TEST(Watch, CompleteOperationsDoNoDamage) {
    for (Operation op : {Operation::enable, Operation::restore}) {
        MemoryFolder folder;
        for (const auto& [path, content] : installFor(op)) {
            folder.addFile(path, content);
        }
        WatchedFiles watched(folder, [&folder] { return folder.files(); });
        const WindowRun run = runWindow(
            watched, op == Operation::enable ? ActionButton::rename : ActionButton::unrename);
        EXPECT_EQ(run.boxes, 0);
        EXPECT_EQ(watched.renames(), 30);
        EXPECT_EQ(watched.damage(), Damage{});
        EXPECT_EQ(folder.files(),
                  installFor(op == Operation::enable ? Operation::restore : Operation::enable));
    }
}

// Real file services with a fault, to see that the campaign's counts notice.
class RealFault final : public FileServices {
  public:
    RealFault(const std::filesystem::path& folder, bool replaces)
        : folder_(folder), inner_(makeSystemFileServices(folder.string())), replaces_(replaces) {}
    bool fileExists(const std::string& path) override { return inner_->fileExists(path); }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        if (!replaces_) {
            return std::nullopt;  // claims success, renames nothing
        }
        std::string native = to;
        std::replace(native.begin(), native.end(), '\\', '/');
        std::filesystem::remove(folder_ / native);
        return inner_->renameNoReplace(from, to);
    }

  private:
    std::filesystem::path folder_;
    std::unique_ptr<FileServices> inner_;
    bool replaces_;
};

CampaignTally campaign(const RealServicesFactory& makeReal) {
    CampaignTally tally;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        tally.add(runState(seed, makeReal));
    }
    return tally;
}

TEST(Campaign, CountsNothingWithTheSystemServices) {
    const CampaignTally tally = campaign(systemServices());
    EXPECT_TRUE(tally.clean()) << closingLine(tally);
    EXPECT_GT(tally.renames, 0);
    EXPECT_GT(tally.refusals, 0);
    EXPECT_GT(tally.warnings, 0);
}

TEST(Campaign, NoticesARenameThatReplaces) {
    const CampaignTally tally = campaign([](const std::filesystem::path& folder) {
        return std::make_unique<RealFault>(folder, true);
    });
    EXPECT_GT(tally.lost, 0) << closingLine(tally);
    EXPECT_GT(tally.overwritten, 0) << closingLine(tally);
    EXPECT_GT(tally.mismatches, 0) << closingLine(tally);
}

TEST(Campaign, NoticesARenameThatOnlyClaimsSuccess) {
    const CampaignTally tally = campaign([](const std::filesystem::path& folder) {
        return std::make_unique<RealFault>(folder, false);
    });
    EXPECT_EQ(tally.lost, 0) << closingLine(tally);
    EXPECT_EQ(tally.overwritten, 0) << closingLine(tally);
    EXPECT_GT(tally.mismatches, 0) << closingLine(tally);
}

TEST(Campaign, ClosingLineCarriesTheThreeCounts) {
    CampaignTally tally;
    StateResult bad;
    bad.damage = {2, 1};
    bad.mismatch = "files";
    tally.add(bad);
    tally.add(StateResult{});
    EXPECT_FALSE(tally.clean());
    const std::string line = closingLine(tally);
    EXPECT_EQ(line.rfind("campaign: 2 states, 2 files lost, 1 files overwritten, "
                         "1 model/real mismatches (",
                         0),
              0u)
        << line;
}

}  // namespace
}  // namespace orvando::testing
