// The Windows file services in a real folder, the current directory as in
// orvando.exe: which names count as present, and renames that never replace.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file_services.h"

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

TEST_F(Folder, ARenameMovesTheFileButNeverReplacesATakenTarget) {
    std::ofstream("streammusic\\a.wav") << "stock";
    ASSERT_FALSE(files_->renameNoReplace("streammusic\\a.wav", "streammusic\\a.original.wav"));
    EXPECT_EQ(read("streammusic\\a.wav"), "(no file)");
    EXPECT_EQ(read("streammusic\\a.original.wav"), "stock");

    std::ofstream("streammusic\\b.wav") << "mod";
    std::ofstream("streammusic\\B.ORIGINAL.WAV") << "taken";
    std::filesystem::create_directory("streammusic\\c.original.wav");
    for (const char* taken : {"streammusic\\a.original.wav", "streammusic\\b.original.wav",
                              "streammusic\\c.original.wav"}) {
        const auto error = files_->renameNoReplace("streammusic\\b.wav", taken);
        ASSERT_TRUE(error) << taken;
        EXPECT_EQ(error->kind, RenameError::Kind::TargetExists) << taken;
    }
    EXPECT_EQ(read("streammusic\\b.wav"), "mod");
    EXPECT_EQ(read("streammusic\\a.original.wav"), "stock");
    EXPECT_EQ(read("streammusic\\B.ORIGINAL.WAV"), "taken");
    EXPECT_TRUE(std::filesystem::is_directory("streammusic\\c.original.wav"));

    // Any other failure carries the system's message, as one clause to end a sentence.
    const auto other = files_->renameNoReplace("streammusic\\none.wav", "streammusic\\d.wav");
    ASSERT_TRUE(other && other->kind == RenameError::Kind::Other && !other->reason.empty());
    EXPECT_EQ(other->reason.find_first_of("\r\n"), std::string::npos) << other->reason;
    EXPECT_NE(other->reason.back(), '.') << other->reason;
}

}  // namespace
}  // namespace orvando
