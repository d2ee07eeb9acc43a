// Another program creates the target name between the program's look at the
// source and its rename. The rename must be refused, not replace the new
// file, and the error box must name the pair; no later rename may follow.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "reliability/child_process.h"
#include "reliability/installs.h"
#include "reliability/watched_files.h"
#include "support/temp_folder.h"
#include "ui/texts.h"

namespace orvando::testing {
namespace {

const std::string kOtherProgramsContent = "written by another program";

// When the program asks whether `trigger` exists, a separate process creates
// the file `created` first, as another program might at that moment.
class CreateOnQuery final : public FileServices {
  public:
    CreateOnQuery(FileServices& inner, const TempFolder& folder, std::string trigger,
                  std::string created)
        : inner_(inner),
          folder_(folder),
          trigger_(std::move(trigger)),
          created_(std::move(created)) {}

    bool fileExists(const std::string& path) override {
        if (!fired_ && path == trigger_) {
            fired_ = true;
            const std::string native = folder_.native(created_).string();
            creator_ = runInChild([&native](int) {
                const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
                if (fd < 0) {
                    return 1;
                }
                const bool written = writeAll(fd, kOtherProgramsContent);
                return ::close(fd) == 0 && written ? 0 : 1;
            });
        }
        return inner_.fileExists(path);
    }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        return inner_.renameNoReplace(from, to);
    }

    bool created() const { return fired_ && creator_.exited && creator_.exitStatus == 0; }

  private:
    FileServices& inner_;
    const TempFolder& folder_;
    std::string trigger_;
    std::string created_;
    bool fired_ = false;
    ChildOutcome creator_;
};

// The other program creates the step's final name in its exact spelling: the
// kernel refuses to replace it at the rename itself. (A spelling in other
// case is caught only by the program's own look at the folder, which may
// not see another program's file of the last millisecond; see
// docs/reliability.md.)
struct RaceCase {
    const char* name;
    Operation op;
    int step;  // index into the operation's renames
    friend void PrintTo(const RaceCase& c, std::ostream* os) { *os << c.name; }
};

const RaceCase kRaceCases[] = {
    {"EnableFirstRename", Operation::enable, 0},
    {"EnableMiddleOfTheCatalogue", Operation::enable, 7},
    {"EnableLastCatalogueRow", Operation::enable, 22},
    {"EnableReplacementIntoAVacatedStockName", Operation::enable, 25},
    {"RestoreFirstRename", Operation::restore, 0},
    {"RestoreLastReplacement", Operation::restore, 6},
    {"RestoreBackupIntoItsStockName", Operation::restore, 19},
    {"RestoreLastBackup", Operation::restore, 29},
};

std::string renamesBeforeSentence(int n) {
    return n == 0 ? "No file was renamed before this one."
                  : "The " + std::to_string(n) + " renames made before this one stay made.";
}

class Race : public ::testing::TestWithParam<RaceCase> {};

TEST_P(Race, TargetCreatedMeanwhileIsRefusedAndNamed) {
    const RaceCase& c = GetParam();
    const RenamePair pair = planOf(c.op).at(static_cast<std::size_t>(c.step));
    const std::string oldname(pair.oldname);
    const std::string finalname(pair.finalname);
    const std::string& created = finalname;

    const Snapshot install = installFor(c.op);
    TempFolder folder;
    writeFolder(folder, install);
    auto system = makeSystemFileServices(folder.path().string());
    CreateOnQuery race(*system, folder, oldname, created);
    WatchedFiles watched(race);
    const WindowRun run = runWindow(
        watched, c.op == Operation::enable ? ActionButton::rename : ActionButton::unrename);
    ASSERT_TRUE(race.created()) << "the other process could not create " << created;

    // One error box, naming the pair and what is in the way.
    EXPECT_EQ(run.boxes, 1);
    EXPECT_EQ(run.exitStatus, 1);
    ASSERT_GE(run.log.size(), 2u);
    const std::string& box = run.log[run.log.size() - 2];
    const std::string expectedStart =
        "box 16 Orvando v2: Cannot rename " + oldname + " to " + finalname + ": already exists.";
    EXPECT_EQ(box.rfind(expectedStart, 0), 0u) << box;
    EXPECT_NE(box.find(renamesBeforeSentence(c.step)), std::string::npos) << box;
    EXPECT_EQ(run.log.back(), "end 1");

    // The refused rename was the last call: nothing after it.
    ASSERT_FALSE(watched.calls().empty());
    EXPECT_EQ(watched.calls().back(),
              "rename " + oldname + " -> " + finalname + ": refused (already exists)");
    EXPECT_EQ(watched.renames(), c.step);

    // Both tracks intact: the new file and the source keep their contents.
    Snapshot expected = afterRenames(install, planOf(c.op), c.step);
    expected[created] = kOtherProgramsContent;
    EXPECT_EQ(folder.files(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Race, ::testing::ValuesIn(kRaceCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

}  // namespace
}  // namespace orvando::testing
