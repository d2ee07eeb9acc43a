// The Linux file services on real temporary folders: what counts as an
// ordinary file, how names are matched without regard to case, and that a
// rename never replaces anything.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/file_services.h"
#include "platform/file_services_posix.h"
#include "support/temp_folder.h"

namespace orvando::testing {
namespace {

const std::string kAhto = "streammusic\\mus_area_ahto.wav";
const std::string kAhtoBackup = "streammusic\\mus_area_ahto.original.wav";

struct QueryCase {
    const char* name;
    std::function<void(TempFolder&)> fill;
    std::string query;
    bool present;
    friend void PrintTo(const QueryCase& c, std::ostream* os) { *os << c.name; }
};

const QueryCase kQueryCases[] = {
    {"OrdinaryFile", [](TempFolder& f) { f.addFile(kAhto, "a"); }, kAhto, true},
    {"EmptyFolder", [](TempFolder&) {}, kAhto, false},
    {"FolderOfThatName", [](TempFolder& f) { f.addFolder(kAhto); }, kAhto, false},
    {"DanglingLink", [](TempFolder& f) { f.addLink(kAhto, "nowhere.wav"); }, kAhto, false},
    {"LinkToAFile",
     [](TempFolder& f) {
         f.addFile("streammusic\\real.wav", "a");
         f.addLink(kAhto, "real.wav");
     },
     kAhto, true},
    {"SameFileNameInTheOtherFolder",
     [](TempFolder& f) { f.addFile("streamsounds\\mus_area_ahto.wav", "a"); }, kAhto, false},
    {"BackslashInAFileNameIsNoFolder",
     [](TempFolder& f) {
         f.addFile("x", "a");
         std::rename(f.native("x").c_str(), (f.path() / kAhto).c_str());
     },
     kAhto, false},
    {"FileInUpperCase", [](TempFolder& f) { f.addFile("streammusic\\MUS_AREA_AHTO.WAV", "a"); },
     kAhto, true},
    {"FolderInMixedCase", [](TempFolder& f) { f.addFile("StreamMusic\\mus_area_ahto.wav", "a"); },
     kAhto, true},
    {"TwoCaseVariants",
     [](TempFolder& f) {
         f.addFile("streammusic\\Mus_Area_Ahto.wav", "a");
         f.addFile("streammusic\\MUS_AREA_AHTO.WAV", "b");
     },
     kAhto, true},
    {"ExactFolderWinsOverAFileInOtherCase",
     [](TempFolder& f) {
         f.addFolder(kAhto);
         f.addFile("streammusic\\MUS_AREA_AHTO.WAV", "a");
     },
     kAhto, false},
    {"OnlyAsciiLettersFold",
     [](TempFolder& f) { f.addFile("streammusic\\mus_area_ahto\xC3\xA9.wav", "a"); },
     "streammusic\\mus_area_ahto\xC3\x89.wav", false},
    {"ParentFolderIsNeverReached",
     [](TempFolder& f) {
         f.addFile("inner\\x", "");
         f.addFile("a.wav", "a");
     },
     "inner\\..\\a.wav", false},
};

class Query : public ::testing::TestWithParam<QueryCase> {};

TEST_P(Query, PresentExactlyForAnOrdinaryFileOfThatName) {
    TempFolder folder;
    GetParam().fill(folder);
    auto files = makeSystemFileServices(folder.path().string());
    EXPECT_EQ(files->fileExists(GetParam().query), GetParam().present);
}

INSTANTIATE_TEST_SUITE_P(Names, Query, ::testing::ValuesIn(kQueryCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

struct RenameCase {
    const char* name;
    std::function<void(TempFolder&)> fill;
    std::optional<RenameError::Kind> error;
    std::string reasonPart;                    // expected within the reason, when refused
    std::map<std::string, std::string> after;  // every file afterwards
    friend void PrintTo(const RenameCase& c, std::ostream* os) { *os << c.name; }
};

const RenameCase kRenameCases[] = {
    {"FreeTarget",
     [](TempFolder& f) { f.addFile(kAhto, "stock"); },
     std::nullopt,
     "",
     {{kAhtoBackup, "stock"}}},
    {"TakenTarget",
     [](TempFolder& f) {
         f.addFile(kAhto, "stock");
         f.addFile(kAhtoBackup, "older backup");
     },
     RenameError::Kind::TargetExists,
     "already exists",
     {{kAhto, "stock"}, {kAhtoBackup, "older backup"}}},
    {"TargetTakenInOtherCase",
     [](TempFolder& f) {
         f.addFile(kAhto, "stock");
         f.addFile("streammusic\\MUS_AREA_AHTO.ORIGINAL.WAV", "older backup");
     },
     RenameError::Kind::TargetExists,
     "already exists as streammusic\\MUS_AREA_AHTO.ORIGINAL.WAV",
     {{kAhto, "stock"}, {"streammusic\\MUS_AREA_AHTO.ORIGINAL.WAV", "older backup"}}},
    {"TargetTakenByAFolder",
     [](TempFolder& f) {
         f.addFile(kAhto, "stock");
         f.addFolder(kAhtoBackup);
     },
     RenameError::Kind::TargetExists,
     "already exists",
     {{kAhto, "stock"}}},
    {"SourceInOtherCaseKeepsItsFolderAndTakesTheNewSpelling",
     [](TempFolder& f) { f.addFile("StreamMusic\\MUS_AREA_AHTO.WAV", "stock"); },
     std::nullopt,
     "",
     {{"StreamMusic\\mus_area_ahto.original.wav", "stock"}}},
    {"AmbiguousSourceIsRefusedNamingBoth",
     [](TempFolder& f) {
         f.addFile("streammusic\\Mus_Area_Ahto.wav", "one");
         f.addFile("streammusic\\MUS_AREA_AHTO.WAV", "two");
     },
     RenameError::Kind::Ambiguous,
     "streammusic\\MUS_AREA_AHTO.WAV, streammusic\\Mus_Area_Ahto.wav",
     {{"streammusic\\Mus_Area_Ahto.wav", "one"}, {"streammusic\\MUS_AREA_AHTO.WAV", "two"}}},
    {"ExactSourceIsNotAmbiguous",
     [](TempFolder& f) {
         f.addFile(kAhto, "exact");
         f.addFile("streammusic\\MUS_AREA_AHTO.WAV", "other");
     },
     std::nullopt,
     "",
     {{kAhtoBackup, "exact"}, {"streammusic\\MUS_AREA_AHTO.WAV", "other"}}},
    {"MissingSource", [](TempFolder&) {}, RenameError::Kind::Other, "No such file", {}},
};

class Rename : public ::testing::TestWithParam<RenameCase> {};

TEST_P(Rename, RenamesOnlyIntoAFreeNameAndLosesNothing) {
    const RenameCase& c = GetParam();
    TempFolder folder;
    c.fill(folder);
    auto files = makeSystemFileServices(folder.path().string());
    const auto error = files->renameNoReplace(kAhto, kAhtoBackup);
    ASSERT_EQ(error.has_value(), c.error.has_value()) << (error ? error->reason : "renamed");
    if (error) {
        EXPECT_EQ(error->kind, *c.error);
        EXPECT_NE(error->reason.find(c.reasonPart), std::string::npos) << error->reason;
    }
    EXPECT_EQ(folder.files(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, Rename, ::testing::ValuesIn(kRenameCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

// Folders once listed are kept current: changes made by other programs after
// the listing are seen by the lookups that follow.
struct LaterChangeCase {
    const char* name;
    std::function<void(TempFolder&)> change;  // made after the folder was listed
    std::optional<RenameError::Kind> error;
    std::string present;  // a catalogue name that must be reported present afterwards ("" for none)
    friend void PrintTo(const LaterChangeCase& c, std::ostream* os) { *os << c.name; }
};

const LaterChangeCase kLaterChanges[] = {
    {"TargetAppearsInOtherCase",
     [](TempFolder& f) { f.addFile("StreamMusic\\MUS_AREA_AHTO.ORIGINAL.WAV", "later"); },
     RenameError::Kind::TargetExists, ""},
    {"SourceRenamedByHandToOtherCase",
     [](TempFolder& f) {
         std::filesystem::rename(f.native("StreamMusic\\Mus_Area_Ahto.wav"),
                                 f.native("StreamMusic\\MUS_AREA_AHTO.WAV"));
     },
     std::nullopt, kAhto},
    {"FolderReplacedByAnother",
     [](TempFolder& f) {
         std::filesystem::rename(f.native("StreamMusic"), f.native("old"));
         f.addFile("STREAMMUSIC\\mus_area_ahto.WAV", "new folder");
     },
     std::nullopt, kAhto},
    {"SourceRemoved",
     [](TempFolder& f) { std::filesystem::remove(f.native("StreamMusic\\Mus_Area_Ahto.wav")); },
     RenameError::Kind::Other, ""},
};

class LaterChange : public ::testing::TestWithParam<LaterChangeCase> {};

TEST_P(LaterChange, IsSeenByTheNextLookup) {
    const LaterChangeCase& c = GetParam();
    TempFolder folder;
    folder.addFile("StreamMusic\\Mus_Area_Ahto.wav", "stock");
    auto files = makeSystemFileServices(folder.path().string());
    ASSERT_TRUE(files->fileExists(kAhto));  // lists both folders
    ASSERT_FALSE(files->fileExists(kAhtoBackup));
    const auto readsBefore = posix::folderReads();
    c.change(folder);
    const auto before = folder.files();
    if (!c.present.empty()) {
        EXPECT_TRUE(files->fileExists(c.present));
    }
    const auto error = files->renameNoReplace(kAhto, kAhtoBackup);
    ASSERT_EQ(error.has_value(), c.error.has_value()) << (error ? error->reason : "renamed");
    if (error) {
        EXPECT_EQ(error->kind, *c.error) << error->reason;
        EXPECT_EQ(folder.files(), before);
    } else {
        EXPECT_EQ(folder.files().size(), before.size());
    }
    if (std::string(c.name) != "FolderReplacedByAnother") {
        EXPECT_EQ(posix::folderReads(), readsBefore) << "a kept listing was read again";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LaterChange, ::testing::ValuesIn(kLaterChanges),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

// One folder known under two spellings of its path, as two file services
// would know it: a rename through one is seen by the other.
TEST(KeptListings, ARenameIsSeenUnderEveryPathOfTheFolder) {
    TempFolder folder;
    folder.addFile(kAhto, "stock");
    auto first = makeSystemFileServices(folder.path().string());
    auto second = makeSystemFileServices(folder.path().string() + "/.");
    ASSERT_FALSE(second->fileExists("STREAMMUSIC\\NONE.WAV"));  // lists the folders
    ASSERT_EQ(first->renameNoReplace(kAhto, kAhtoBackup), std::nullopt);
    const auto back = second->renameNoReplace(kAhtoBackup, kAhto);
    EXPECT_EQ(back, std::nullopt) << back->reason;
    EXPECT_EQ(folder.files(), (std::map<std::string, std::string>{{kAhto, "stock"}}));
}

}  // namespace
}  // namespace orvando::testing
