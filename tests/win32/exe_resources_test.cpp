// The resources of the built orvando.exe, read back as Windows reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

// Under Wine a path starting with a slash is found on the drive of the Unix root.
const std::wstring kExe(ORVANDO_EXE, ORVANDO_EXE + std::strlen(ORVANDO_EXE));

TEST(Exe, VersionIsTwoZeroZeroZeroInUsEnglishUnicode) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeW(kExe.c_str(), &ignored));
    ASSERT_TRUE(GetFileVersionInfoW(kExe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    const auto query = [&](const std::wstring& key) {
        void* value = nullptr;
        UINT length = 0;
        return VerQueryValueW(data.data(), key.c_str(), &value, &length) ? value : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ((std::array{fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                          fixed->dwProductVersionLS}),
              (std::array<DWORD, 4>{0x20000, 0, 0x20000, 0}));
    const auto* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(std::pair(translation[0], translation[1]), (std::pair<WORD, WORD>(0x0409, 1200)));
    for (const wchar_t* key : {L"FileVersion", L"ProductVersion"}) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        EXPECT_STREQ(static_cast<const wchar_t*>(query(path)), L"2.00") << key;
    }
}

std::vector<unsigned char> resource(HMODULE module, WORD type, WORD id) {
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
    if (found == nullptr) {
        return {};
    }
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    return {data, data + SizeofResource(module, found)};
}

// Icon group 1, the lowest number, is the icon Explorer shows for the file.
TEST(Exe, ApplicationIconHoldsTheWindowIconsImagesByteForByte) {
    const HMODULE exe = LoadLibraryExW(kExe.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    std::ifstream in(ORVANDO_WINDOW_ICON, std::ios::binary);
    const std::vector<unsigned char> ico{std::istreambuf_iterator<char>(in), {}};
    const std::vector<unsigned char> group = resource(exe, 14, 1);
    ASSERT_GE(ico.size(), 6u + 16 * 5);
    ASSERT_EQ(ico[4], 5);  // images
    ASSERT_EQ(group.size(), 6u + 14 * 5);
    for (int i = 0; i < 5; ++i) {
        const unsigned char* fileEntry = &ico[6 + 16 * i];     // width ... size, offset
        const unsigned char* groupEntry = &group[6 + 14 * i];  // width ... size, id
        EXPECT_EQ(std::memcmp(fileEntry, groupEntry, 12), 0) << "image " << i;
        DWORD size = 0, offset = 0, id = 0;
        std::memcpy(&size, fileEntry + 8, 4);
        std::memcpy(&offset, fileEntry + 12, 4);
        std::memcpy(&id, groupEntry + 12, 2);
        ASSERT_LE(offset + size, ico.size());
        EXPECT_EQ(resource(exe, 3, static_cast<WORD>(id)),
                  std::vector(ico.begin() + offset, ico.begin() + offset + size))
            << "image " << i;
    }
    FreeLibrary(exe);
}

// asInvoker: Windows must never redirect the renames into a per-user store.
TEST(Exe, ManifestRunsAsInvokerWithCommonControlsSix) {
    const HMODULE exe = LoadLibraryExW(kExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    const auto bytes = resource(exe, 24, 1);
    const std::string manifest(bytes.begin(), bytes.end());
    FreeLibrary(exe);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

}  // namespace
