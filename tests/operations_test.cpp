// Enable and restore on an in-memory game folder: the exact order of renames
// and boxes, the warning for a missing file, and the stop at a refused rename.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_music.h"
#include "catalogue/catalogue.h"
#include "support/game_folders.h"
#include "support/memory_folder.h"
#include "support/recording_view.h"

namespace orvando::testing {
namespace {

std::string s(std::string_view v) {
    return std::string(v);
}

// The replacement tracks, written out here rather than taken from the
// program's table, in the order both operations use them.
const char* const kReplacements[][2] = {
    {"streammusic\\mus_area_ahto.mod.wav", "streammusic\\mus_area_ahto.wav"},
    {"streamsounds\\mus_sbat_acad.mod.wav", "streamsounds\\mus_sbat_acad.wav"},
    {"streamsounds\\mus_sbat_desert.mod.wav", "streamsounds\\mus_sbat_desert.wav"},
    {"streamsounds\\mus_sbat_sforge.mod.wav", "streamsounds\\mus_sbat_sforge.wav"},
    {"streamsounds\\mus_sbat_sithbs.mod.wav", "streamsounds\\mus_sbat_sithbs.wav"},
    {"streamsounds\\mus_sbat_slehey.mod.wav", "streamsounds\\mus_sbat_slehey.wav"},
    {"streamsounds\\mus_sbat_valsith.mod.wav", "streamsounds\\mus_sbat_valsith.wav"},
};

std::string renameLine(std::string_view from, std::string_view to) {
    return "rename " + s(from) + " -> " + s(to);
}

std::string warningLine(std::string_view oldname, std::string_view finalname) {
    return boxLine(
        MsgBoxStyle::Exclamation, "File rename error",
        "Cannot locate file: " + s(oldname) + " - Final name needs to be: " + s(finalname) + " .");
}

const std::vector<std::string> kStart = {"disable rename", "disable unrename", "hide window"};

class Operation : public ::testing::Test {
  protected:
    Operation() { folder.logTo(&log); }

    // The window's calls, renames, boxes and end, without the queries.
    std::vector<std::string> effects() const {
        std::vector<std::string> out;
        for (const std::string& line : log) {
            if (line.rfind("query ", 0) != 0) {
                out.push_back(line);
            }
        }
        return out;
    }

    std::string detect() {
        std::vector<std::string> scratch;
        RecordingView v(scratch);
        frmMusic f(v, folder);
        f.Form_Load();
        return v.caption;
    }

    MemoryFolder folder;
    std::vector<std::string> log;
    RecordingView view{log};
    frmMusic form{view, folder};
};

TEST_F(Operation, EnableParksEveryStockTrackThenMovesTheReplacementsIn) {
    fillStockFolder(folder);
    form.rename_Click();

    std::vector<std::string> expected = kStart;
    for (std::size_t i = 0; i < kStockNames.size(); ++i) {
        expected.push_back(renameLine(kStockNames[i], kBackupNames[i]));
    }
    for (const auto& r : kReplacements) {
        expected.push_back(renameLine(r[0], r[1]));
    }
    expected.push_back("end 0");
    EXPECT_EQ(effects(), expected);
    EXPECT_EQ(detect(), "Orvando v2 (Det: Mod Enabled)");
}

TEST_F(Operation, RestoreMovesTheReplacementsOutThenReturnsEveryBackup) {
    fillEnabledFolder(folder);
    form.unrename_Click();

    std::vector<std::string> expected = kStart;
    for (const auto& r : kReplacements) {
        expected.push_back(renameLine(r[1], r[0]));
    }
    for (std::size_t i = 0; i < kStockNames.size(); ++i) {
        expected.push_back(renameLine(kBackupNames[i], kStockNames[i]));
    }
    expected.push_back("end 0");
    EXPECT_EQ(effects(), expected);
    EXPECT_EQ(detect(), "Orvando v2 (Det: Not Enabled)");
}

TEST_F(Operation, EnableThenRestoreGivesBackEveryFileUnderItsOwnName) {
    fillStockFolder(folder);
    const auto before = folder.files();
    form.rename_Click();
    for (const auto& r : kReplacements) {
        EXPECT_EQ(folder.files().at(r[1]), contentFor(r[0])) << "replacement track in place";
    }
    std::vector<std::string> scratch;
    RecordingView secondView(scratch);
    frmMusic second(secondView, folder);
    second.Form_Load();
    second.unrename_Click();
    EXPECT_EQ(folder.files(), before);
    EXPECT_EQ(secondView.exitStatus, 0);
}

TEST_F(Operation, MissingStockTrackIsReportedAtItsPlaceAndSkipped) {
    fillStockFolder(folder);
    folder.remove(s(kStockNames[7]));
    form.rename_Click();

    const auto e = effects();
    ASSERT_EQ(e.size(), kStart.size() + 29 + 1 + 1);
    EXPECT_EQ(e[3 + 6], renameLine(kStockNames[6], kBackupNames[6]));
    EXPECT_EQ(e[3 + 7], boxLine(MsgBoxStyle::Exclamation, "File rename error",
                                "Cannot locate file: streammusic\\mus_area_valsith.wav - Final "
                                "name needs to be: streammusic\\mus_area_valsith.original.wav ."));
    EXPECT_EQ(e[3 + 8], renameLine(kStockNames[8], kBackupNames[8]));
    EXPECT_EQ(e.back(), "end 0");
    EXPECT_EQ(view.boxes, 1);
}

TEST_F(Operation, EveryMissingReplacementGivesOneBoxInStepOrder) {
    for (auto n : kStockNames) {
        folder.addFile(s(n), "x");
    }
    form.rename_Click();

    const auto e = effects();
    ASSERT_EQ(e.size(), kStart.size() + 23 + 7 + 1);
    for (std::size_t step = 0; step < 7; ++step) {
        EXPECT_EQ(e[3 + 23 + step], warningLine(kReplacements[step][0], kReplacements[step][1]));
    }
    // Every backup exists and the probe's stock name is vacant: the seven
    // vacant stock names do not show in the state.
    EXPECT_EQ(detect(), "Orvando v2 (Det: Mod Enabled)");
}

TEST_F(Operation, RestoreReportsAVacantStockNameThenRestoresEveryRow) {
    fillEnabledFolder(folder);
    folder.remove(kReplacements[3][1]);  // the enable found no replacement for it
    form.unrename_Click();

    const auto e = effects();
    EXPECT_EQ(e[3 + 3], warningLine(kReplacements[3][1], kReplacements[3][0]));
    EXPECT_EQ(view.boxes, 1);
    EXPECT_EQ(e.back(), "end 0");
    EXPECT_EQ(folder.files().at(kReplacements[3][1]), contentFor(kReplacements[3][1]));
    EXPECT_EQ(detect(), "Orvando v2 (Det: Not Enabled)");
}

TEST_F(Operation, MissingBackupIsReportedAtItsPlaceAndTheRestFollow) {
    fillEnabledFolder(folder);
    folder.remove(s(kBackupNames[7]));
    form.unrename_Click();

    const auto e = effects();
    ASSERT_EQ(e.size(), kStart.size() + 7 + 22 + 1 + 1);
    EXPECT_EQ(e[3 + 7 + 7], warningLine(kBackupNames[7], kStockNames[7]));
    EXPECT_EQ(e[3 + 7 + 8], renameLine(kBackupNames[8], kStockNames[8]));
}

// A taken target stops the run at once: one error box, nothing after it is
// tried, nothing before it is undone, and nothing is overwritten.
struct RefusalCase {
    const char* name;
    bool enable;
    std::string blocker;  // the existing target
    std::size_t renamesBefore;
    std::string failing;  // the rename that is refused
    std::string countText;
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }
};

class Refusal : public Operation, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusal, StopsAtTheTakenTargetWithOneErrorBox) {
    const RefusalCase& c = GetParam();
    c.enable ? fillStockFolder(folder) : fillEnabledFolder(folder);
    folder.addFile(c.blocker, "blocker");
    const auto before = folder.files();
    c.enable ? form.rename_Click() : form.unrename_Click();

    const auto e = effects();
    ASSERT_EQ(e.size(), kStart.size() + c.renamesBefore + 1 + 2);
    EXPECT_EQ(e[kStart.size() + c.renamesBefore], c.failing);
    EXPECT_EQ(e[e.size() - 2],
              boxLine(MsgBoxStyle::Critical, "Orvando v2",
                      "Cannot rename " + c.failing.substr(7, c.failing.find(" -> ") - 7) + " to " +
                          c.blocker + ": already exists.\n\nNothing was overwritten and no " +
                          "further file was renamed. " + c.countText +
                          "\n\nStart the program again to see the state of the game folder."));
    EXPECT_EQ(e.back(), "end 1");
    EXPECT_EQ(view.boxes, 1);

    const auto after = folder.files();
    EXPECT_EQ(after.at(c.blocker), "blocker");
    EXPECT_EQ(after.size(), before.size());
}

INSTANTIATE_TEST_SUITE_P(
    TakenTargets, Refusal,
    ::testing::Values(RefusalCase{"EnableBackupOfRow7Exists", true, s(kBackupNames[7]), 7,
                                  renameLine(kStockNames[7], kBackupNames[7]),
                                  "The 7 renames made before this one stay made."},
                      RefusalCase{"EnableFirstBackupExists", true, s(kBackupNames[0]), 0,
                                  renameLine(kStockNames[0], kBackupNames[0]),
                                  "No file was renamed before this one."},
                      RefusalCase{"RestoreFirstReplacementExists", false, kReplacements[0][0], 0,
                                  renameLine(kReplacements[0][1], kReplacements[0][0]),
                                  "No file was renamed before this one."},
                      RefusalCase{"RestoreSecondReplacementExists", false, kReplacements[1][0], 1,
                                  renameLine(kReplacements[1][1], kReplacements[1][0]),
                                  "The 1 rename made before this one stays made."}),
    [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(Operation, PermissionRefusalNamesTheReasonAndEndsWithFailure) {
    fillStockFolder(folder);
    folder.refuseRenameOf(s(kStockNames[0]),
                          {RenameError::Kind::PermissionDenied, "permission denied"});
    form.rename_Click();
    const auto e = effects();
    ASSERT_EQ(e.size(), 3u + 1 + 2);
    EXPECT_NE(e[4].find(": permission denied.\n"), std::string::npos) << e[4];
    EXPECT_EQ(view.exitStatus, 1);
}

TEST_F(Operation, TheWindowIsHiddenBeforeAnyBoxOrRename) {
    fillStockFolder(folder);
    folder.remove(s(kStockNames[0]));
    form.rename_Click();
    const auto e = effects();
    ASSERT_GE(e.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(e.begin(), e.begin() + 3), kStart);
    EXPECT_EQ(e[3], warningLine(kStockNames[0], kBackupNames[0]));
}

TEST_F(Operation, ErrorHelpShowsTheSameBoxEachTimeAndChangesNothing) {
    fillStockFolder(folder);
    form.Form_Load();
    const auto beforeLog = log.size();
    form.cmdErrorHelp_Click();
    form.cmdErrorHelp_Click();
    const std::string help = boxLine(
        MsgBoxStyle::Information, "How to manage an error",
        "The renaming function will report which file cannot be located and renamed. That file "
        "will be skipped and the process will continue. All you then have to do is manually "
        "rename the file to match the correct new name.");
    EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<long>(beforeLog), log.end()),
              (std::vector<std::string>{help, help}));
    EXPECT_FALSE(form.ended());
}

TEST_F(Operation, NoHandlerActsAfterTheProgramEnded) {
    form.Form_Load();  // empty folder: "File error", then the end
    const auto afterLoad = log.size();
    form.rename_Click();
    form.unrename_Click();
    form.cmdErrorHelp_Click();
    EXPECT_EQ(log.size(), afterLoad);
    EXPECT_EQ(view.endCalls, 1);
}

}  // namespace
}  // namespace orvando::testing
