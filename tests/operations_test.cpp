// Enable and restore on an in-memory game folder: the exact order of renames
// and boxes, the warning for a missing file, and the stop at a refused rename.
#include <gtest/gtest.h>

#include <set>
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

const std::vector<std::string> kStart = {"disable rename", "disable unrename", "hide window"};

std::string renameLine(std::string_view from, std::string_view to) {
    return "rename " + s(from) + " -> " + s(to);
}

// The 30 pairs in run order: enable parks the 23 stock tracks, then moves the
// replacements in; restore moves the replacements out, then returns the rows.
std::vector<std::pair<std::string, std::string>> runOrder(bool enable) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<std::pair<std::string, std::string>> replacements;
    for (std::size_t i = 0; i < kStockNames.size(); ++i) {
        rows.emplace_back(enable ? s(kStockNames[i]) : s(kBackupNames[i]),
                          enable ? s(kBackupNames[i]) : s(kStockNames[i]));
    }
    for (const auto& r : kReplacements) {
        replacements.emplace_back(enable ? r[0] : r[1], enable ? r[1] : r[0]);
    }
    auto order = enable ? rows : replacements;
    for (const auto& p : enable ? replacements : rows)
        order.push_back(p);
    return order;
}

class Operation : public ::testing::Test {
  protected:
    Operation() { folder.logTo(&log); }

    // The window's calls, renames, boxes and end, without the queries.
    std::vector<std::string> effects() const {
        std::vector<std::string> out;
        for (const std::string& line : log) {
            if (line.rfind("query ", 0) != 0)
                out.push_back(line);
        }
        return out;
    }

    std::string detect() {
        std::vector<std::string> scratch;
        RecordingView v(scratch);
        frmMusic(v, folder).Form_Load();
        return v.caption;
    }

    MemoryFolder folder;
    std::vector<std::string> log;
    RecordingView view{log};
    frmMusic form{view, folder};
};

// A complete folder with some files missing: each missing source gives one
// warning at its place in the run, everything else is renamed, and the
// program ends normally.
struct GapCase {
    const char* name;
    bool enable;
    std::set<std::string> missing;  // removed from the complete folder
    std::string detectedAfter;
    friend void PrintTo(const GapCase& c, std::ostream* os) { *os << c.name; }
};

class Gaps : public Operation, public ::testing::WithParamInterface<GapCase> {};

TEST_P(Gaps, EveryPairInOrderAndOneWarningPerMissingFile) {
    const GapCase& c = GetParam();
    c.enable ? fillStockFolder(folder) : fillEnabledFolder(folder);
    for (const std::string& name : c.missing)
        folder.remove(name);
    const auto before = folder.files();
    c.enable ? form.rename_Click() : form.unrename_Click();

    std::vector<std::string> expected = kStart;
    for (const auto& [from, to] : runOrder(c.enable)) {
        expected.push_back(c.missing.count(from) == 0
                               ? renameLine(from, to)
                               : boxLine(MsgBoxStyle::Exclamation, "File rename error",
                                         "Cannot locate file: " + from +
                                             " - Final name needs to be: " + to + " ."));
    }
    expected.push_back("end 0");
    EXPECT_EQ(effects(), expected);

    std::multiset<std::string> contentsBefore, contentsAfter;
    for (const auto& [path, content] : before)
        contentsBefore.insert(content);
    for (const auto& [path, content] : folder.files())
        contentsAfter.insert(content);
    EXPECT_EQ(contentsAfter, contentsBefore);
    EXPECT_EQ(detect(), c.detectedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Gaps,
    ::testing::Values(GapCase{"EnableStockGame", true, {}, "Orvando v2 (Det: Mod Enabled)"},
                      GapCase{"RestoreEnabledGame", false, {}, "Orvando v2 (Det: Not Enabled)"},
                      GapCase{"EnableRow7StockMissing",
                              true,
                              {s(kStockNames[7])},
                              "Orvando v2 (Det: Error, rec. Un-rename)"},
                      // The seven stock names stay vacant, which the state does not show.
                      GapCase{"EnableWithoutReplacements",
                              true,
                              {kReplacements[0][0], kReplacements[1][0], kReplacements[2][0],
                               kReplacements[3][0], kReplacements[4][0], kReplacements[5][0],
                               kReplacements[6][0]},
                              "Orvando v2 (Det: Mod Enabled)"},
                      GapCase{"RestoreRow7BackupMissing",
                              false,
                              {s(kBackupNames[7])},
                              "Orvando v2 (Det: Error, rec. Rename)"},
                      // The enable had found no replacement for this stock name.
                      GapCase{"RestoreVacantStockName",
                              false,
                              {kReplacements[3][1]},
                              "Orvando v2 (Det: Not Enabled)"}),
    [](const auto& tpi) { return std::string(tpi.param.name); });

// A refused rename stops the run at once: one error box, nothing after it is
// tried, nothing before it is undone, nothing is overwritten, exit status 1.
struct RefusalCase {
    const char* name;
    bool enable;
    std::size_t failingStep;  // index in the run order
    bool permission;          // refused for permission, else the target exists
    std::string countText;
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }
};

class Refusal : public Operation, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusal, StopsAtTheRefusedRenameWithOneErrorBox) {
    const RefusalCase& c = GetParam();
    c.enable ? fillStockFolder(folder) : fillEnabledFolder(folder);
    const auto order = runOrder(c.enable);
    const auto& [from, to] = order[c.failingStep];
    if (c.permission) {
        folder.refuseRenameOf(from, {RenameError::Kind::PermissionDenied, "permission denied"});
    } else {
        folder.addFile(to, "blocker");
    }
    const auto before = folder.files();
    c.enable ? form.rename_Click() : form.unrename_Click();

    std::vector<std::string> expected = kStart;
    for (std::size_t i = 0; i <= c.failingStep; ++i) {
        expected.push_back(renameLine(order[i].first, order[i].second));
    }
    expected.push_back(
        boxLine(MsgBoxStyle::Critical, "Orvando v2",
                "Cannot rename " + from + " to " + to + ": " +
                    (c.permission ? "permission denied" : "already exists") +
                    ".\n\nNothing was overwritten and no further file was renamed. " + c.countText +
                    "\n\nStart the program again to see the state of the game folder."));
    expected.push_back("end 1");
    EXPECT_EQ(effects(), expected);
    EXPECT_EQ(folder.files().size(), before.size());
    if (!c.permission) {
        EXPECT_EQ(folder.files().at(to), "blocker");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Refused, Refusal,
    ::testing::Values(RefusalCase{"EnableBackupOfRow7Exists", true, 7, false,
                                  "The 7 renames made before this one stay made."},
                      RefusalCase{"EnableFirstBackupExists", true, 0, false,
                                  "No file was renamed before this one."},
                      RefusalCase{"RestoreFirstReplacementExists", false, 0, false,
                                  "No file was renamed before this one."},
                      RefusalCase{"RestoreSecondReplacementExists", false, 1, false,
                                  "The 1 rename made before this one stays made."},
                      RefusalCase{"EnablePermissionDeniedAtRow3", true, 3, true,
                                  "The 3 renames made before this one stay made."}),
    [](const auto& tpi) { return std::string(tpi.param.name); });

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
