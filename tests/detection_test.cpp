// Start-up: which caption and buttons each folder state leads to, and the
// refusal of a folder that is not a game folder.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/frm_music.h"
#include "catalogue/catalogue.h"
#include "support/game_folders.h"
#include "support/memory_folder.h"
#include "support/recording_view.h"

namespace orvando::testing {
namespace {

const std::string kNotGameFolder = "(File error)";

struct FolderCase {
    const char* name;
    std::function<void(MemoryFolder&)> fill;
    std::string caption;  // kNotGameFolder when the start-up check fails
    bool renameVisible;
    bool unrenameVisible;
    friend void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }
};

std::string s(std::string_view v) {
    return std::string(v);
}

void removeStock(MemoryFolder& folder, std::size_t row) {
    folder.remove(s(kStockNames[row]));
}

const std::vector<FolderCase> kCases = {
    {"EmptyFolder", [](MemoryFolder&) {}, kNotGameFolder, false, false},
    {"OtherFilesOnly",
     [](MemoryFolder& f) {
         f.addFile("streammusic\\mus_area_ahto.wav", "x");
         f.addFile("mus_area_desert.wav", "probe name in the wrong folder");
     },
     kNotGameFolder, false, false},
    {"ProbeStockNameIsAFolder", [](MemoryFolder& f) { f.addFolder(s(kStockNames[kProbeRow])); },
     kNotGameFolder, false, false},
    {"StockGame", fillStockFolder, "Orvando v2 (Det: Not Enabled)", true, false},
    {"StockNamesWithoutReplacements",
     [](MemoryFolder& f) {
         for (auto n : kStockNames)
             f.addFile(s(n), "x");
     },
     "Orvando v2 (Det: Not Enabled)", true, false},
    {"StockAndBackupNames",
     [](MemoryFolder& f) {
         for (auto n : kStockNames)
             f.addFile(s(n), "x");
         for (auto n : kBackupNames)
             f.addFile(s(n), "x");
     },
     "Orvando v2 (Det: Not Enabled)", true, false},
    {"LastRowStockMissing",
     [](MemoryFolder& f) {
         fillStockFolder(f);
         removeStock(f, 22);
     },
     "Orvando v2 (Det: Error, rec. Rename)", true, true},
    {"FirstRowStockMissing",
     [](MemoryFolder& f) {
         fillStockFolder(f);
         removeStock(f, 0);
     },
     "Orvando v2 (Det: Error, rec. Rename)", true, true},
    {"EnabledGame", fillEnabledFolder, "Orvando v2 (Det: Mod Enabled)", false, true},
    {"EnabledGameWithoutReplacements",
     [](MemoryFolder& f) {
         for (auto n : kBackupNames)
             f.addFile(s(n), "x");
     },
     "Orvando v2 (Det: Mod Enabled)", false, true},
    {"OnlyProbeBackup", [](MemoryFolder& f) { f.addFile(s(kBackupNames[kProbeRow]), "x"); },
     "Orvando v2 (Det: Error, rec. Un-rename)", true, true},
    {"EnabledGameLastBackupIsAFolder",
     [](MemoryFolder& f) {
         for (std::size_t i = 0; i + 1 < kBackupNames.size(); ++i)
             f.addFile(s(kBackupNames[i]), "x");
         f.addFolder(s(kBackupNames[22]));
     },
     "Orvando v2 (Det: Error, rec. Un-rename)", true, true},
    {"ProbeStockFolderBesideEnabledGame",
     [](MemoryFolder& f) {
         fillEnabledFolder(f);
         f.addFolder(s(kStockNames[kProbeRow]));
     },
     "Orvando v2 (Det: Mod Enabled)", false, true},
    {"StockGameInOtherCase",
     [](MemoryFolder& f) {
         for (auto n : kStockNames) {
             std::string upper = s(n);
             for (char& c : upper)
                 c = static_cast<char>(std::toupper(c));
             f.addFile(upper, "x");
         }
     },
     "Orvando v2 (Det: Not Enabled)", true, false},
};

class Detection : public ::testing::TestWithParam<FolderCase> {};

TEST_P(Detection, CaptionAndButtonsFitTheFolder) {
    const FolderCase& c = GetParam();
    MemoryFolder folder;
    c.fill(folder);
    const auto before = folder.files();
    std::vector<std::string> log;
    RecordingView view(log);
    frmMusic form(view, folder);

    form.Form_Load();

    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "width 4800");
    if (c.caption == kNotGameFolder) {
        EXPECT_EQ(log,
                  (std::vector<std::string>{"width 4800",
                                            boxLine(MsgBoxStyle::Information, "File error",
                                                    "Place this EXE into the main KotOR folder"),
                                            "end 1"}));
        EXPECT_TRUE(form.ended());
    } else {
        EXPECT_EQ(view.caption, c.caption);
        EXPECT_EQ(view.boxes, 0);
        EXPECT_EQ(view.endCalls, 0);
        EXPECT_FALSE(form.ended());
    }
    EXPECT_EQ(view.renameVisible, c.renameVisible);
    EXPECT_EQ(view.unrenameVisible, c.unrenameVisible);
    EXPECT_EQ(folder.files(), before) << "detection must change nothing";
}

INSTANTIATE_TEST_SUITE_P(FolderStates, Detection, ::testing::ValuesIn(kCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

// Detection never hides a button and never looks at a replacement name.
TEST(DetectionQueries, OnlyTheWalkedColumnIsAskedAbout) {
    MemoryFolder folder;
    fillEnabledFolder(folder);
    std::vector<std::string> log;
    folder.logTo(&log);
    RecordingView view(log);
    frmMusic form(view, folder);
    form.Form_Load();
    for (const std::string& line : log) {
        EXPECT_EQ(line.find(".mod.wav"), std::string::npos) << line;
        EXPECT_NE(line.rfind("hide ", 0), 0u) << line;
        if (line.rfind("query ", 0) == 0 && line != "query " + s(kStockNames[kProbeRow])) {
            EXPECT_NE(line.find(".original.wav"), std::string::npos) << line;
        }
    }
}

}  // namespace
}  // namespace orvando::testing
