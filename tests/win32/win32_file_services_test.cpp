// The Windows file services in a real folder, the current directory as in
// orvando.exe: which names count as present, and renames that never replace.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_services.h"
#include "platform/file_services_win32.h"
#include "platform/wide_win32.h"

namespace orvando {
namespace {

class Folder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(root_ / "streammusic");
        std::filesystem::current_path(root_);
    }
    void TearDown() override {
        std::filesystem::current_path(root_.parent_path());
        std::filesystem::remove_all(root_);
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "(no file)";
    }

    const std::filesystem::path root_ = std::filesystem::temp_directory_path() /
                                        ("orvando-test-" + std::to_string(GetCurrentProcessId()));
    const std::unique_ptr<FileServices> files_ = makeSystemFileServices();
};

TEST_F(Folder, OnlyOrdinaryFilesArePresentWhateverTheCase) {
    for (const auto& [attributes, present] : {std::pair<DWORD, bool>{FILE_ATTRIBUTE_NORMAL, true},
                                              {FILE_ATTRIBUTE_READONLY, true},
                                              {FILE_ATTRIBUTE_HIDDEN, false},
                                              {FILE_ATTRIBUTE_SYSTEM, false},
                                              {FILE_ATTRIBUTE_DIRECTORY, false}}) {
        const std::string name = "streammusic\\t" + std::to_string(attributes) + ".wav";
        if (attributes == FILE_ATTRIBUTE_DIRECTORY) {
            std::filesystem::create_directory(name);
        } else {
            std::ofstream(name) << "music";
            ASSERT_TRUE(SetFileAttributesA(name.c_str(), attributes));
        }
        EXPECT_EQ(files_->fileExists(name), present) << name;
        EXPECT_EQ(files_->fileExists("STREAMMUSIC\\T" + std::to_string(attributes) + ".WAV"),
                  present);
        SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that it can be removed
    }
    EXPECT_FALSE(files_->fileExists("streammusic\\none.wav"));
}

// The file system's own refusal, the one that holds in a race: no check
// before it. Any other failure reads as a clause to end a sentence.
TEST_F(Folder, TheMoveRefusesATargetThatExistsAtTheMomentOfTheCall) {
    std::ofstream("streammusic\\a.wav") << "first";
    std::ofstream("streammusic\\b.wav") << "second";
    const auto error = win32::moveNoReplace(L"streammusic\\a.wav", L"streammusic\\b.wav");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, RenameError::Kind::TargetExists);
    EXPECT_EQ(read("streammusic\\a.wav") + read("streammusic\\b.wav"), "firstsecond");

    const auto other = files_->renameNoReplace("streammusic\\none.wav", "streammusic\\d.wav");
    ASSERT_TRUE(other && other->kind == RenameError::Kind::Other && !other->reason.empty());
    EXPECT_EQ(other->reason.find_first_of("\r\n"), std::string::npos) << other->reason;
    EXPECT_NE(other->reason.back(), '.') << other->reason;
}

// Folders that tell case apart, as every folder does under Wine. Windows names
// given to Wine match without regard to case, so the files are made through
// their Unix paths, each in exactly its spelling.
struct CaseRule {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // path and content
    std::optional<RenameError::Kind> error;  // of renaming the stock name to its backup name
    std::string reasonPart;
    std::map<std::string, std::string> after;  // every file afterwards
    friend void PrintTo(const CaseRule& c, std::ostream* os) { *os << c.name; }
};

const std::string kAhto = "streammusic\\mus_area_ahto.wav";
const std::string kAhtoBackup = "streammusic\\mus_area_ahto.original.wav";

const std::string kUpper = "streammusic\\MUS_AREA_AHTO.WAV";
const std::string kMixed = "streammusic\\Mus_Area_Ahto.wav";

const CaseRule kCaseRules[] = {
    // clang-format off
    {"UpperCaseFolderStillSwitches", {{"STREAMMUSIC\\MUS_AREA_AHTO.WAV", "a"}}, {}, "",
     {{"STREAMMUSIC\\mus_area_ahto.original.wav", "a"}}},
    {"ExactSpellingWinsOverAVariant", {{kAhto, "a"}, {kUpper, "b"}}, {}, "",
     {{kAhtoBackup, "a"}, {kUpper, "b"}}},
    {"FoundInOneOfTwoFolderSpellings", {{"StreamMusic\\MUS_AREA_AHTO.WAV", "a"}, {"STREAMMUSIC\\x.wav", "b"}},
     {}, "", {{"StreamMusic\\mus_area_ahto.original.wav", "a"}, {"STREAMMUSIC\\x.wav", "b"}}},
    {"AmbiguousSourceIsRefusedNamingBoth", {{kMixed, "a"}, {kUpper, "b"}}, RenameError::Kind::Ambiguous,
     "(" + kUpper + ", " + kMixed + ")", {{kMixed, "a"}, {kUpper, "b"}}},
    {"TargetTakenInOtherCase", {{kAhto, "a"}, {"streammusic\\Mus_Area_Ahto.Original.wav", "b"}},
     RenameError::Kind::TargetExists, "already exists as streammusic\\Mus_Area_Ahto.Original.wav",
     {{kAhto, "a"}, {"streammusic\\Mus_Area_Ahto.Original.wav", "b"}}},
    // clang-format on
};

class CaseRules : public Folder, public ::testing::WithParamInterface<CaseRule> {
  protected:
    void make(const std::string& path, const std::string& content) {
        using UnixName = char*(__cdecl*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
        if (unixName == nullptr) {
            GTEST_SKIP() << "needs Wine, where folders tell case apart";
        }
        char* root = unixName(root_.c_str());
        ASSERT_TRUE(root != nullptr);
        std::wstring name = L"\\\\?\\unix" + widen(root) + L"/";
        HeapFree(GetProcessHeap(), 0, root);
        for (const wchar_t c : widen(path)) {
            if (c == L'\\') {
                CreateDirectoryW(name.c_str(), nullptr);
            }
            name += c == L'\\' ? L'/' : c;
        }
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> out;
        for (const auto& e : std::filesystem::recursive_directory_iterator(root_)) {
            if (e.is_regular_file()) {
                const std::string path = std::filesystem::relative(e.path(), root_).string();
                out[path] = read(path);
            }
        }
        return out;
    }
};

TEST_P(CaseRules, NamesMatchAsInTheLinuxBuild) {
    const CaseRule& c = GetParam();
    std::filesystem::remove("streammusic");  // each case makes its own folders
    for (const auto& [path, content] : c.files) {
        make(path, content);
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
    }
    ASSERT_EQ(files().size(), c.files.size()) << "the files were not made in their spelling";
    EXPECT_TRUE(files_->fileExists(kAhto));
    const auto error = files_->renameNoReplace(kAhto, kAhtoBackup);
    ASSERT_EQ(error.has_value(), c.error.has_value()) << (error ? error->reason : "renamed");
    if (error) {
        EXPECT_EQ(error->kind, *c.error);
        EXPECT_NE(error->reason.find(c.reasonPart), std::string::npos) << error->reason;
    }
    EXPECT_EQ(files(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseRules, ::testing::ValuesIn(kCaseRules),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

}  // namespace
}  // namespace orvando
