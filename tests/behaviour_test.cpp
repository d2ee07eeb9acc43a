// What the player sees and what happens to the files, one table of folder
// states and clicks run through the program on real folders and the real file
// services of the platform: caption, buttons, every box with its text, every
// rename in its order, the exit status, the folder afterwards and the state
// the next start shows. The expected names and texts are written out here,
// not taken from the program, so that a row out of place or a text off by one
// character is caught.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/frm_music.h"
#include "support/game_folders.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

namespace orvando::testing {
namespace {

// The 23 tracks in catalogue order; rows 15 to 20 live in streamsounds, and
// the modification replaces the tracks of rows 0 and 15 to 20, in that order.
const char* const kTracks[] = {
    "area_ahto",    "area_cant1",   "area_desert",  "area_out",   "area_sewers", "area_sforge",
    "area_townint", "area_valsith", "bat_acad",     "bat_desert", "bat_malak",   "bat_sithbs",
    "bat_slehey",   "bat_valsith",  "theme_cult",   "sbat_acad",  "sbat_desert", "sbat_sforge",
    "sbat_sithbs",  "sbat_slehey",  "sbat_valsith", "area_acad",  "theme_malak"};
const int kReplaced[] = {0, 15, 16, 17, 18, 19, 20};

std::string track(int row, const char* suffix) {
    return std::string(row >= 15 && row <= 20 ? "streamsounds" : "streammusic") + "\\mus_" +
           kTracks[row] + suffix;
}
std::string stock(int row) {
    return track(row, ".wav");
}
std::string backup(int row) {
    return track(row, ".original.wav");
}
std::string mod(int row) {
    return track(row, ".mod.wav");
}

// Step `step` of the enable or the restore: (old name, final name).
std::pair<std::string, std::string> step(bool enable, int step) {
    if (enable) {
        return step < 23 ? std::pair{stock(step), backup(step)}
                         : std::pair{mod(kReplaced[step - 23]), stock(kReplaced[step - 23])};
    }
    return step < 7 ? std::pair{stock(kReplaced[step]), mod(kReplaced[step])}
                    : std::pair{backup(step - 7), stock(step - 7)};
}

// The start-up states by a letter: caption and the buttons shown with it.
const std::map<char, std::pair<std::string, std::vector<std::string>>> kStates = {
    {'F', {"", {}}},  // not a game folder: the "File error" box
    {'N', {"Orvando v2 (Det: Not Enabled)", {"show rename"}}},
    {'R', {"Orvando v2 (Det: Error, rec. Rename)", {"show rename", "show unrename"}}},
    {'E', {"Orvando v2 (Det: Mod Enabled)", {"show unrename"}}},
    {'U', {"Orvando v2 (Det: Error, rec. Un-rename)", {"show rename", "show unrename"}}},
};

// Logs each rename made into the window's log, so that boxes and renames
// interleave as the player would live them.
class LoggedFiles final : public FileServices {
  public:
    LoggedFiles(FileServices& inner, std::vector<std::string>& log) : inner_(inner), log_(log) {}
    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        auto error = inner_.renameNoReplace(from, to);
        if (!error) {
            log_.push_back("rename " + from + " -> " + to);
        }
        return error;
    }

  private:
    FileServices& inner_;
    std::vector<std::string>& log_;
};

enum class Start { Empty, Stock, Enabled };

struct Row {
    const char* name;
    Start start;
    int madeBefore;                  // steps of the start's own switch made already
    std::vector<std::string> edits;  // "-name" removed, "+name" a file, "/name" a folder
    char state;                      // at start-up, as in kStates
    const char* click;               // "rename", "unrename", "help" or ""
    // The run in steps of the clicked operation: "A-B" renamed, "wA-B" warned
    // about a missing source, "xK" refused as taken, "sA-B" left as they are.
    std::string run;
    char after;  // the next start's state
    friend void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }
};

const std::vector<std::string> kNoMods = {"-" + mod(0),  "-" + mod(15), "-" + mod(16),
                                          "-" + mod(17), "-" + mod(18), "-" + mod(19),
                                          "-" + mod(20)};

const Row kRows[] = {
    // clang-format off
    {"EmptyFolder", Start::Empty, 0, {}, 'F', "rename", "", 'F'},
    {"ProbeOnlyElsewhere", Start::Empty, 0, {"+mus_area_desert.wav", "+streamsounds\\mus_area_desert.wav",
     "+" + stock(0)}, 'F', "", "", 'F'},
    {"ProbeIsAFolder", Start::Empty, 0, {"/" + stock(2)}, 'F', "", "", 'F'},
    {"OnlyProbeBackup", Start::Empty, 0, {"+" + backup(2)}, 'U', "", "", 'U'},
    {"Enable", Start::Stock, 0, {}, 'N', "rename", "0-29", 'E'},
    {"Restore", Start::Enabled, 0, {}, 'E', "unrename", "0-29", 'N'},
    {"HelpChangesNothing", Start::Stock, 0, {}, 'N', "help", "", 'N'},
    {"LastStockMissing", Start::Stock, 0, {"-" + stock(22)}, 'R', "", "", 'R'},
    {"EnableRow7Missing", Start::Stock, 0, {"-" + stock(7)}, 'R', "rename", "0-6 w7 8-29", 'U'},
    {"EnableWithoutMods", Start::Stock, 0, kNoMods, 'N', "rename", "0-22 w23-29", 'E'},
    {"EnableBackupTaken", Start::Stock, 0, {"+" + backup(7)}, 'N', "rename", "0-6 x7", 'U'},
    {"EnableBackupTakenTwice", Start::Stock, 0, {"+" + backup(7), "+streammusic\\MUS_AREA_VALSITH.ORIGINAL.WAV"},
     'N', "rename", "0-6 x7", 'U'},
    {"EnableFirstBackupTaken", Start::Stock, 0, {"+" + backup(0)}, 'N', "rename", "x0", 'N'},
    {"RestoreRow7Missing", Start::Enabled, 0, {"-" + backup(7)}, 'U', "unrename", "0-13 w14 15-29", 'R'},
    {"RestoreVacantStock", Start::Enabled, 0, {"-" + stock(17)}, 'E', "unrename", "0-2 w3 4-29", 'N'},
    {"RestoreModTaken", Start::Enabled, 0, {"+" + mod(0)}, 'E', "unrename", "x0", 'E'},
    {"RestoreSecondModTaken", Start::Enabled, 0, {"+" + mod(15)}, 'E', "unrename", "0 x1", 'E'},
    {"LastBackupIsAFolder", Start::Enabled, 0, {"-" + backup(22), "/" + backup(22)}, 'U', "", "", 'U'},
    {"ProbeFolderBesideEnabled", Start::Enabled, 0, {"/" + stock(2)}, 'E', "", "", 'E'},
    // An enable stopped after 5 renames: the stock tracks of rows 15 to 20
    // never left, so their pairs are already in their restored place.
    {"RestoreAfterStoppedEnable", Start::Stock, 5, {}, 'U', "unrename",
     "w0 s1-6 7-11 w12-29", 'N'},
    // clang-format on
};

std::string refusal(const std::string& from, const std::string& to, int before) {
    const std::string made = before == 0   ? "No file was renamed before this one."
                             : before == 1 ? "The 1 rename made before this one stays made."
                                           : "The " + std::to_string(before) +
                                                 " renames made before this one stay made.";
    return boxLine(MsgBoxStyle::Critical, "Orvando v2",
                   "Cannot rename " + from + " to " + to +
                       ": already exists.\n\nNothing was overwritten and no further file was "
                       "renamed. " +
                       made + "\n\nStart the program again to see the state of the game folder.");
}

class Behaviour : public ::testing::TestWithParam<Row> {};

TEST_P(Behaviour, AsThePlayerSeesIt) {
    const Row& row = GetParam();
    TempFolder folder;
    if (row.start != Start::Empty) {
        const bool enabled = row.start == Start::Enabled;
        enabled ? fillEnabledFolder(folder) : fillStockFolder(folder);
        for (int i = 0; i < row.madeBefore; ++i) {
            const auto [from, to] = step(!enabled, i);
            std::filesystem::rename(folder.native(from), folder.native(to));
        }
    }
    for (const std::string& edit : row.edits) {
        const std::string name = edit.substr(1);
        edit[0] == '-'   ? (void)std::filesystem::remove(folder.native(name))
        : edit[0] == '+' ? folder.addFile(name, "added " + name)
                         : folder.addFolder(name);
    }
    auto before = folder.files();

    std::vector<std::string> expected = {"width 4800"};
    const auto& [caption, buttons] = kStates.at(row.state);
    if (row.state == 'F') {
        expected.push_back(boxLine(MsgBoxStyle::Information, "File error",
                                   "Place this EXE into the main KotOR folder"));
        expected.push_back("end 1");
    } else {
        expected.push_back("caption " + caption);
        expected.insert(expected.end(), buttons.begin(), buttons.end());
    }
    const std::string click = row.click;
    const bool enable = click == "rename";
    if (row.state != 'F' && click == "help") {
        expected.push_back(boxLine(
            MsgBoxStyle::Information, "How to manage an error",
            "The renaming function will report which file cannot be located and renamed. That "
            "file will be skipped and the process will continue. All you then have to do is "
            "manually rename the file to match the correct new name."));
    } else if (row.state != 'F' && !click.empty()) {
        for (const char* line : {"disable rename", "disable unrename", "hide window"}) {
            expected.push_back(line);
        }
        std::istringstream tokens(row.run);
        int renamed = 0, exitStatus = 0;
        for (std::string t; tokens >> t;) {
            const char kind = std::isdigit(t[0]) ? 'r' : t[0];
            const auto dash = t.find('-');
            const int first = std::stoi(t.substr(kind == 'r' ? 0 : 1));
            const int last = dash == std::string::npos ? first : std::stoi(t.substr(dash + 1));
            for (int k = first; k <= last; ++k) {
                const auto [from, to] = step(enable, k);
                if (kind == 'w') {
                    expected.push_back(boxLine(
                        MsgBoxStyle::Exclamation, "File rename error",
                        "Cannot locate file: " + from + " - Final name needs to be: " + to + " ."));
                } else if (kind == 'x') {
                    expected.push_back(refusal(from, to, renamed));
                    exitStatus = 1;
                } else if (kind == 'r') {
                    expected.push_back("rename " + from + " -> " + to);
                    before[to] = before.at(from);
                    before.erase(from);
                    ++renamed;
                }
            }
        }
        expected.push_back("end " + std::to_string(exitStatus));
    }

    std::vector<std::string> log;
    RecordingView view(log);
    auto system = makeSystemFileServices(folder.path().string());
    LoggedFiles files(*system, log);
    frmMusic form(view, files);
    form.Form_Load();
    if (click == "rename" || click == "unrename") {
        enable ? form.rename_Click() : form.unrename_Click();
    } else if (click == "help") {
        form.cmdErrorHelp_Click();
    }
    EXPECT_EQ(log, expected);
    EXPECT_EQ(folder.files(), before);
    std::vector<std::string> next;
    RecordingView nextView(next);
    frmMusic(nextView, *system).Form_Load();
    EXPECT_EQ(nextView.caption, row.after == 'F' ? "Orvando v2" : kStates.at(row.after).first);
}

INSTANTIATE_TEST_SUITE_P(Table, Behaviour, ::testing::ValuesIn(kRows),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace orvando::testing
