// The Linux file services on real folders: which names count as present, how
// names are matched without regard to case, that a rename never replaces
// anything, down to the system call, and that kept listings follow changes
// made by other programs.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "platform/file_services_posix.h"
#include "support/temp_folder.h"

namespace orvando::testing {
namespace {

const std::string kAhto = "streammusic\\mus_area_ahto.wav";
const std::string kBackup = "streammusic\\mus_area_ahto.original.wav";
using Files = std::map<std::string, std::string>;
using Error = std::optional<RenameError::Kind>;

// A folder's entries by path: a file with its content, "<dir>" a folder,
// "->x" a symbolic link to x; a path starting with "!" is one name at the top
// with a backslash in it.
void fill(TempFolder& f, const Files& entries) {
    for (const auto& [path, content] : entries) {
        if (path[0] == '!') {
            std::ofstream(f.path() / path.substr(1)) << content;
        } else if (content == "<dir>") {
            f.addFolder(path);
        } else if (content.rfind("->", 0) == 0) {
            f.addLink(path, content.substr(2));
        } else {
            f.addFile(path, content);
        }
    }
}

const std::string kUpper = "streammusic\\MUS_AREA_AHTO.WAV";
const std::string kUpperBackup = "streammusic\\MUS_AREA_AHTO.ORIGINAL.WAV";

const struct Case {
    const char* name;
    Files entries;
    bool present;             // what a query of kAhto says
    Error error = {};         // what renaming kAhto to kBackup then gives
    std::string reason = {};  // part of the reason, when refused
    Files after = {};         // every file afterwards
} kCases[] = {
    // clang-format off
    {"FreeTarget", {{kAhto, "a"}}, true, {}, "", {{kBackup, "a"}}},
    {"Nothing", {}, false},
    {"Folder", {{kAhto, "<dir>"}}, false},
    {"DanglingLink", {{kAhto, "->nowhere.wav"}}, false},
    {"LinkToAFile", {{kAhto, "->x"}, {"streammusic\\x", "a"}}, true, {}, "", {{"streammusic\\x", "a"}}},
    {"OtherFolder", {{"streamsounds\\mus_area_ahto.wav", "a"}}, false},
    {"BackslashInAName", {{"!" + kAhto, "a"}}, false},
    {"OnlyAsciiFolds", {{"streammusic\\MUS_AREA_AHT\xC3\x96.WAV", "a"}}, false},
    {"TakenTarget", {{kAhto, "a"}, {kBackup, "b"}}, true, RenameError::Kind::TargetExists,
     "already exists", {{kAhto, "a"}, {kBackup, "b"}}},
    {"TargetTakenInOtherCase", {{kAhto, "a"}, {kUpperBackup, "b"}}, true,
     RenameError::Kind::TargetExists, "already exists as " + kUpperBackup,
     {{kAhto, "a"}, {kUpperBackup, "b"}}},
    {"TargetTakenByAFolder", {{kAhto, "a"}, {kBackup, "<dir>"}}, true,
     RenameError::Kind::TargetExists, "already exists", {{kAhto, "a"}}},
    {"OtherCaseKeepsItsFolder", {{"StreamMusic\\MUS_AREA_AHTO.WAV", "a"}}, true, {}, "",
     {{"StreamMusic\\mus_area_ahto.original.wav", "a"}}},
    {"AmbiguousIsPresentButRefused", {{"streammusic\\Mus_Area_Ahto.wav", "a"}, {kUpper, "b"}}, true,
     RenameError::Kind::Ambiguous, kUpper + ", streammusic\\Mus_Area_Ahto.wav",
     {{"streammusic\\Mus_Area_Ahto.wav", "a"}, {kUpper, "b"}}},
    {"ExactSpellingWins", {{kAhto, "a"}, {kUpper, "b"}}, true, {}, "", {{kBackup, "a"}, {kUpper, "b"}}},
    {"ExactFolderWinsOverOtherCase", {{kAhto, "<dir>"}, {kUpper, "b"}}, false},
    // clang-format on
};

class Names : public ::testing::TestWithParam<Case> {};

TEST_P(Names, QueryAndRename) {
    const Case& c = GetParam();
    TempFolder folder;
    fill(folder, c.entries);
    auto services = makeSystemFileServices(folder.path().string());
    EXPECT_EQ(services->fileExists(kAhto), c.present);
    EXPECT_FALSE(services->fileExists("streammusic\\..\\" + kAhto));
    if (!c.present) {
        return;  // the program renames nothing it did not find
    }
    const auto error = services->renameNoReplace(kAhto, kBackup);
    ASSERT_EQ(error.has_value(), c.error.has_value()) << (error ? error->reason : "renamed");
    if (error) {
        EXPECT_EQ(error->kind, *c.error);
        EXPECT_NE(error->reason.find(c.reason), std::string::npos) << error->reason;
    }
    EXPECT_EQ(folder.files(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, Names, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

// The kernel's own refusal, the one that holds in a race: no check before it.
TEST(SystemCall, RefusesATargetThatExistsAtTheMomentOfTheCall) {
    TempFolder folder;
    fill(folder, {{"a", "first"}, {"b", "second"}});
    const int fd = ::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    const auto error = posix::renameNoReplaceAt(fd, "a", "b");
    EXPECT_EQ(posix::renameNoReplaceAt(fd, "a", "c"), std::nullopt);
    ::close(fd);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, RenameError::Kind::TargetExists);
    EXPECT_EQ(folder.files(), (Files{{"c", "first"}, {"b", "second"}}));
}

// Kept listings see what other programs change after the folder was listed,
// without reading an unchanged folder again, under every path it is known by.
TEST(KeptListings, SeeChangesMadeByOthers) {
    const struct {
        const char* name;
        std::function<void(TempFolder&)> change;
        Error error;
        bool reread;  // the folder itself changed: its listing is read anew
    } kChanges[] = {
        {"TargetAppearsInOtherCase",
         [](auto& f) {
             fill(f, {{"StreamMusic\\MUS_AREA_AHTO.ORIGINAL.WAV", "later"}});
         },
         RenameError::Kind::TargetExists, false},
        {"FolderReplacedByAnother",
         [](auto& f) {
             std::filesystem::rename(f.native("StreamMusic"), f.native("old"));
             fill(f, {{"STREAMMUSIC\\mus_area_ahto.WAV", "new folder"}});
         },
         {},
         true},
        {"SourceRenamedToOtherCase",
         [](auto& f) {
             std::filesystem::rename(f.native("StreamMusic\\Mus_Area_Ahto.wav"),
                                     f.native("StreamMusic\\MUS_AREA_AHTO.WAV"));
         },
         {},
         false},
        {"SourceRemoved",
         [](auto& f) { std::filesystem::remove(f.native("StreamMusic\\Mus_Area_Ahto.wav")); },
         RenameError::Kind::Other, false},
    };
    for (const auto& c : kChanges) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        fill(folder, {{"StreamMusic\\Mus_Area_Ahto.wav", "stock"}});
        auto first = makeSystemFileServices(folder.path().string());
        auto second = makeSystemFileServices(folder.path().string() + "/.");
        ASSERT_TRUE(first->fileExists(kAhto) && second->fileExists(kAhto));
        ASSERT_FALSE(first->fileExists(kBackup));
        const auto reads = posix::folderReads();
        c.change(folder);
        const auto before = folder.files();
        const auto error = first->renameNoReplace(kAhto, kBackup);
        ASSERT_EQ(error.has_value(), c.error.has_value()) << (error ? error->reason : "renamed");
        if (error) {
            EXPECT_EQ(error->kind, *c.error) << error->reason;
            EXPECT_EQ(folder.files(), before);
        } else {
            EXPECT_TRUE(second->fileExists(kBackup) && !second->fileExists(kAhto));
            EXPECT_EQ(second->renameNoReplace(kBackup, kAhto), std::nullopt);
        }
        EXPECT_TRUE(c.reread || posix::folderReads() == reads) << "a kept listing was read again";
    }
}

}  // namespace
}  // namespace orvando::testing
