// The resources of the built orvando.exe, read back with the functions
// Explorer and the loader use: the version information, the application icon
// (the window icon's images, byte for byte, as the file's first icon group)
// and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

// ORVANDO_EXE and ORVANDO_WINDOW_ICON come from the build; under Wine a path
// starting with a slash is found on the drive that maps the Unix root.
std::wstring widePath(const char* path) {
    return std::wstring(path, path + std::strlen(path));
}

std::vector<unsigned char> fileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t u32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) |
           (static_cast<std::uint32_t>(p[3]) << 24);
}

class Exe : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW(widePath(ORVANDO_EXE).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << ORVANDO_EXE;
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    std::vector<unsigned char> resource(const wchar_t* type, const wchar_t* name) const {
        const HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr) {
            return {};
        }
        const auto* data =
            static_cast<const unsigned char*>(LockResource(LoadResource(module_, found)));
        return {data, data + SizeofResource(module_, found)};
    }

    HMODULE module_ = nullptr;
};

// --- version information ----------------------------------------------------

class Version : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::wstring path = widePath(ORVANDO_EXE);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource";
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data_.data()));
    }

    std::wstring string(const std::wstring& key) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring query = L"\\StringFileInfo\\040904B0\\" + key;
        if (!VerQueryValueW(data_.data(), query.c_str(), &value, &length) || length == 0) {
            return L"(missing)";
        }
        return static_cast<const wchar_t*>(value);
    }

    std::vector<unsigned char> data_;
};

TEST_F(Version, FileAndProductVersionAreTwoZeroZeroZero) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", &value, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(Version, OneTableForUsEnglishInUnicode) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);
}

TEST_F(Version, StringsShowTheVersionAsTwoPointZeroZero) {
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"FileVersion", L"2.00"},
        {L"ProductVersion", L"2.00"},
        {L"OriginalFilename", L"orvando.exe"},
        {L"ProductName", L"Orvando"},
    };
    for (const auto& [key, text] : expected) {
        EXPECT_EQ(string(key), text) << key;
    }
    for (const wchar_t* key : {L"CompanyName", L"FileDescription", L"InternalName"}) {
        EXPECT_NE(string(key), L"(missing)") << key;
    }
}

// --- application icon -------------------------------------------------------

TEST_F(Exe, ApplicationIconIsTheFirstIconGroup) {
    std::vector<ULONG_PTR> groups;
    EnumResourceNamesW(
        module_, MAKEINTRESOURCEW(14),  // icon groups
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
            reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(
                reinterpret_cast<ULONG_PTR>(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_EQ(groups.size(), 3u) << "the application icon and the two portraits";
    EXPECT_EQ(groups[0], 1u);
}

TEST_F(Exe, ApplicationIconHoldsTheWindowIconsImagesByteForByte) {
    const std::vector<unsigned char> ico = fileBytes(ORVANDO_WINDOW_ICON);
    ASSERT_GE(ico.size(), 6u) << ORVANDO_WINDOW_ICON;
    const std::uint16_t images = u16(&ico[4]);
    EXPECT_EQ(images, 5);

    const std::vector<unsigned char> group = resource(MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(1));
    ASSERT_GE(group.size(), 6u);
    ASSERT_EQ(u16(&group[4]), images);
    ASSERT_EQ(group.size(), 6u + 14u * images);

    for (std::uint16_t i = 0; i < images; ++i) {
        const unsigned char* fileEntry = &ico[6 + 16 * i];     // width ... size, offset
        const unsigned char* groupEntry = &group[6 + 14 * i];  // width ... size, id
        SCOPED_TRACE("image " + std::to_string(i));
        // Width, height, colours, reserved, planes, bits per pixel, size.
        EXPECT_EQ(std::memcmp(fileEntry, groupEntry, 12), 0);
        const std::uint32_t size = u32(fileEntry + 8);
        const std::uint32_t offset = u32(fileEntry + 12);
        ASSERT_LE(std::size_t{offset} + size, ico.size());
        const std::vector<unsigned char> image =
            resource(MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(u16(groupEntry + 12)));
        ASSERT_EQ(image.size(), size);
        EXPECT_TRUE(std::equal(image.begin(), image.end(), ico.begin() + offset));
    }
}

// --- manifest ---------------------------------------------------------------

TEST_F(Exe, ManifestAsksForNoElevationCommonControlsSixAndPerMonitorDpi) {
    const std::vector<unsigned char> bytes = resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(bytes.empty()) << "no manifest";
    const std::string manifest(bytes.begin(), bytes.end());
    for (const char* part : {"level=\"asInvoker\"", "name=\"Microsoft.Windows.Common-Controls\"",
                             "version=\"6.0.0.0\"", ">true/pm</dpiAware>", ">PerMonitorV2"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

}  // namespace
