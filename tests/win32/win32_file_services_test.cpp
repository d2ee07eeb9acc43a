// The Windows file services on real folders: which names count as present,
// and a rename that refuses a taken target and leaves both files intact.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_services.h"

namespace orvando {
namespace {

std::wstring wide(const std::string& utf8) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

std::string utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

// "hidden system file" -> "hidden_system_file", for the test's name.
std::string caseName(const char* text) {
    std::string name = text;
    for (char& ch : name) {
        ch = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ? ch : '_';
    }
    return name;
}

void removeTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

// A fresh folder under the temporary folder, with a non-ASCII name so that a
// path passed through an ANSI function would not be found. Removed at the end.
class GameFolder : public ::testing::Test {
  protected:
    GameFolder() {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        static int counter = 0;
        root_ = std::wstring(temp) + L"orvando-\u00e9t\u00e9-" +
                std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        EXPECT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
        EXPECT_TRUE(CreateDirectoryW((root_ + L"\\streammusic").c_str(), nullptr));
        files_ = makeSystemFileServices(utf8(root_));
    }
    ~GameFolder() override { removeTree(root_); }

    std::wstring full(const std::string& path) const { return root_ + L"\\" + wide(path); }

    void write(const std::string& path, const std::string& content) {
        const HANDLE file = CreateFileW(full(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_EQ(written, content.size());
    }

    // The file's content, or nothing when there is no file of that name.
    std::optional<std::string> read(const std::string& path) const {
        const HANDLE file = CreateFileW(full(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return std::nullopt;
        }
        std::string content(4096, '\0');
        DWORD got = 0;
        ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
        CloseHandle(file);
        content.resize(got);
        return content;
    }

    std::wstring root_;
    std::unique_ptr<FileServices> files_;
};

// --- which names count as present -----------------------------------------

enum class Make { nothing, file, folder };

struct PresenceCase {
    const char* name;
    Make make;
    DWORD attributes;  // set on the file after it is made
    bool present;
};

void PrintTo(const PresenceCase& c, std::ostream* os) {
    *os << c.name;
}

class Presence : public GameFolder, public ::testing::WithParamInterface<PresenceCase> {};

TEST_P(Presence, OnlyOrdinaryFilesCount) {
    const PresenceCase& c = GetParam();
    const std::string probe = "streammusic\\mus_area_desert.wav";
    if (c.make == Make::file) {
        write(probe, "music");
    } else if (c.make == Make::folder) {
        ASSERT_TRUE(CreateDirectoryW(full(probe).c_str(), nullptr));
    }
    if (c.attributes != 0) {
        ASSERT_TRUE(SetFileAttributesW(full(probe).c_str(), c.attributes));
        ASSERT_EQ(GetFileAttributesW(full(probe).c_str()) & c.attributes, c.attributes)
            << "the file system did not keep the attributes";
    }
    EXPECT_EQ(files_->fileExists(probe), c.present);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Presence,
    ::testing::Values(PresenceCase{"ordinary file", Make::file, 0, true},
                      PresenceCase{"read-only file", Make::file, FILE_ATTRIBUTE_READONLY, true},
                      PresenceCase{"archived file", Make::file, FILE_ATTRIBUTE_ARCHIVE, true},
                      PresenceCase{"hidden file", Make::file, FILE_ATTRIBUTE_HIDDEN, false},
                      PresenceCase{"system file", Make::file, FILE_ATTRIBUTE_SYSTEM, false},
                      PresenceCase{"hidden system file", Make::file,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false},
                      PresenceCase{"folder", Make::folder, 0, false},
                      PresenceCase{"nothing", Make::nothing, 0, false}),
    [](const auto& p) { return caseName(p.param.name); });

TEST_F(GameFolder, NamesMatchWhateverTheirCaseAndOnlyInTheirOwnFolder) {
    write("streammusic\\mus_area_ahto.wav", "music");
    EXPECT_TRUE(files_->fileExists("streammusic\\mus_area_ahto.wav"));
    EXPECT_TRUE(files_->fileExists("StreamMusic\\MUS_AREA_AHTO.WAV"));
    EXPECT_FALSE(files_->fileExists("streamsounds\\mus_area_ahto.wav"));
    EXPECT_FALSE(files_->fileExists("mus_area_ahto.wav"));
}

TEST_F(GameFolder, NamesThatCouldLeaveTheFolderAreNeverFound) {
    write("streammusic\\mus_area_ahto.wav", "music");
    const std::string inside = utf8(root_.substr(root_.find_last_of(L'\\') + 1));
    // Each of these would name the file above if it were passed on as it is.
    for (const std::string& path : {"..\\" + inside + "\\streammusic\\mus_area_ahto.wav",
                                    std::string("streammusic/mus_area_ahto.wav"),
                                    std::string("streammusic\\\\mus_area_ahto.wav")}) {
        EXPECT_FALSE(files_->fileExists(path)) << path;
    }
}

TEST_F(GameFolder, WithoutAFolderTheCurrentDirectoryIsUsed) {
    write("streammusic\\mus_area_ahto.wav", "music");
    wchar_t previous[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(root_.c_str()));
    const auto here = makeSystemFileServices();
    const bool found = here->fileExists("streammusic\\mus_area_ahto.wav");
    const auto error =
        here->renameNoReplace("streammusic\\mus_area_ahto.wav", "streammusic\\moved.wav");
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(found);
    EXPECT_FALSE(error.has_value());
    EXPECT_EQ(read("streammusic\\moved.wav"), "music");
}

// --- renames --------------------------------------------------------------

struct RenameCase {
    const char* name;
    const char* existing;  // a file made before the rename ("" for none)
    const char* from;
    const char* to;
    std::optional<RenameError::Kind> error;
    // Each file afterwards: its name and its content, or nullptr for no file.
    std::vector<std::pair<const char*, const char*>> after;
};

void PrintTo(const RenameCase& c, std::ostream* os) {
    *os << c.name;
}

class Rename : public GameFolder, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(Rename, RenamesOrRefusesWithoutLosingAFile) {
    const RenameCase& c = GetParam();
    write("streammusic\\stock.wav", "stock track");
    if (*c.existing != '\0') {
        write(c.existing, "other track");
    }
    const std::optional<RenameError> error = files_->renameNoReplace(c.from, c.to);
    if (c.error) {
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->kind, *c.error) << error->reason;
        EXPECT_FALSE(error->reason.empty());
        if (*c.error == RenameError::Kind::TargetExists) {
            EXPECT_EQ(error->reason, "already exists");
        }
    } else {
        EXPECT_FALSE(error.has_value()) << error->reason;
    }
    for (const auto& [path, content] : c.after) {
        if (content == nullptr) {
            EXPECT_EQ(read(path), std::nullopt) << path;
        } else {
            EXPECT_EQ(read(path), std::string(content)) << path;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, Rename,
    ::testing::Values(RenameCase{"free target",
                                 "",
                                 "streammusic\\stock.wav",
                                 "streammusic\\stock.original.wav",
                                 std::nullopt,
                                 {{"streammusic\\stock.wav", nullptr},
                                  {"streammusic\\stock.original.wav", "stock track"}}},
                      RenameCase{"taken target",
                                 "streammusic\\stock.original.wav",
                                 "streammusic\\stock.wav",
                                 "streammusic\\stock.original.wav",
                                 RenameError::Kind::TargetExists,
                                 {{"streammusic\\stock.wav", "stock track"},
                                  {"streammusic\\stock.original.wav", "other track"}}},
                      RenameCase{"target taken in another case",
                                 "streammusic\\STOCK.ORIGINAL.WAV",
                                 "streammusic\\stock.wav",
                                 "streammusic\\stock.original.wav",
                                 RenameError::Kind::TargetExists,
                                 {{"streammusic\\stock.wav", "stock track"},
                                  {"streammusic\\STOCK.ORIGINAL.WAV", "other track"}}},
                      RenameCase{"missing source",
                                 "",
                                 "streammusic\\missing.wav",
                                 "streammusic\\found.wav",
                                 RenameError::Kind::Other,
                                 {{"streammusic\\found.wav", nullptr},
                                  {"streammusic\\stock.wav", "stock track"}}},
                      RenameCase{"target in a missing folder",
                                 "",
                                 "streammusic\\stock.wav",
                                 "streamsounds\\stock.wav",
                                 RenameError::Kind::Other,
                                 {{"streammusic\\stock.wav", "stock track"}}},
                      RenameCase{"name outside the folder",
                                 "",
                                 "streammusic\\stock.wav",
                                 "..\\stock.wav",
                                 RenameError::Kind::Other,
                                 {{"streammusic\\stock.wav", "stock track"}}}),
    [](const auto& p) { return caseName(p.param.name); });

TEST_F(GameFolder, AFolderInTheWayIsATakenTarget) {
    write("streammusic\\a.wav", "a");
    ASSERT_TRUE(CreateDirectoryW(full("streammusic\\b.wav").c_str(), nullptr));
    const auto error = files_->renameNoReplace("streammusic\\a.wav", "streammusic\\b.wav");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, RenameError::Kind::TargetExists);
    EXPECT_EQ(read("streammusic\\a.wav"), "a");
    EXPECT_EQ(GetFileAttributesW(full("streammusic\\b.wav").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

// Any other failure carries the system's own message, shaped to complete
// "Cannot rename A to B: <reason>.": one line, no full stop of its own.
TEST_F(GameFolder, OtherFailuresCarryTheSystemMessageAsOneClause) {
    // The game (or a player) holds the track open and shares nothing.
    write("streammusic\\a.wav", "a");
    const HANDLE held = CreateFileW(full("streammusic\\a.wav").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto busy = files_->renameNoReplace("streammusic\\a.wav", "streammusic\\b.wav");
    CloseHandle(held);
    const auto missing = files_->renameNoReplace("streammusic\\none.wav", "streammusic\\c.wav");

    for (const auto& error : {busy, missing}) {
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->kind, RenameError::Kind::Other);
        const std::string& reason = error->reason;
        ASSERT_GT(reason.size(), 10u) << reason;
        EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
        EXPECT_NE(reason.back(), '.') << reason;
        EXPECT_NE(reason.back(), ' ') << reason;
        EXPECT_FALSE(reason[0] >= 'A' && reason[0] <= 'Z') << reason;
    }
    EXPECT_NE(busy->reason, missing->reason);
    EXPECT_EQ(read("streammusic\\a.wav"), "a");
    EXPECT_EQ(read("streammusic\\b.wav"), std::nullopt);
}

}  // namespace
}  // namespace orvando
