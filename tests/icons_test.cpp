// Checks the icon files in src/ui/icons: the image layout each one must have and that every
// image is a well-formed uncompressed DIB whose AND mask agrees with its pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct IconFile {
    const char* name;
    std::vector<std::pair<int, int>> images;  // (size, bits per pixel) in file order
};

const IconFile kIconFiles[] = {
    {"window", {{48, 24}, {32, 24}, {48, 32}, {32, 32}, {16, 32}}},
    {"image1", {{48, 8}, {32, 8}, {48, 24}, {32, 24}, {16, 24}, {48, 32}, {32, 32}, {16, 32}}},
    {"image2",
     {{48, 8}, {32, 8}, {16, 8}, {48, 24}, {32, 24}, {16, 24}, {48, 32}, {32, 32}, {16, 32}}},
};

void PrintTo(const IconFile& file, std::ostream* os) {
    *os << file.name;
}

struct Entry {
    uint32_t width, height, colours, reserved, planes, bpp, bytes, offset;
};

class IconFileTest : public ::testing::TestWithParam<IconFile> {
  protected:
    void SetUp() override {
        std::ifstream in(std::string(ORVANDO_ICON_DIR) + "/" + GetParam().name + ".ico",
                         std::ios::binary);
        ASSERT_TRUE(in) << GetParam().name;
        data_.assign(std::istreambuf_iterator<char>(in), {});
        ASSERT_GE(data_.size(), 6u);
        ASSERT_EQ(u16(0), 0);  // reserved
        ASSERT_EQ(u16(2), 1);  // 1 = icon, 2 = cursor
        ASSERT_GE(data_.size(), 6u + 16u * u16(4));
        for (size_t i = 0, at = 6; i < u16(4); ++i, at += 16) {
            entries_.push_back({data_[at], data_[at + 1], data_[at + 2], data_[at + 3], u16(at + 4),
                                u16(at + 6), u32(at + 8), u32(at + 12)});
        }
    }

    uint32_t u16(size_t at) const { return data_[at] | data_[at + 1] << 8; }
    uint32_t u32(size_t at) const { return u16(at) | u16(at + 2) << 16; }

    std::vector<uint8_t> data_;
    std::vector<Entry> entries_;
};

TEST_P(IconFileTest, DirectoryListsTheExpectedImagesInOrder) {
    std::vector<std::pair<int, int>> listed;
    for (const Entry& e : entries_) {
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.colours, 0u);  // 0 for 8 bpp and deeper
        EXPECT_EQ(e.reserved, 0u);
        EXPECT_EQ(e.planes, 1u);
        listed.emplace_back(e.width == 0 ? 256 : static_cast<int>(e.width),
                            static_cast<int>(e.bpp));
    }
    EXPECT_EQ(listed, GetParam().images);
}

TEST_P(IconFileTest, ImagesLieInsideTheFileWithoutOverlapping) {
    std::vector<std::pair<uint64_t, uint64_t>> spans;
    for (const Entry& e : entries_)
        spans.emplace_back(e.offset, uint64_t{e.offset} + e.bytes);
    std::sort(spans.begin(), spans.end());
    uint64_t end_of_previous = 6 + 16 * entries_.size();
    for (const auto& [begin, end] : spans) {
        EXPECT_GE(begin, end_of_previous);
        EXPECT_LE(end, data_.size());
        end_of_previous = end;
    }
}

TEST_P(IconFileTest, ImagesAreUncompressedDibsWithMatchingMasks) {
    for (const Entry& e : entries_) {
        SCOPED_TRACE(testing::Message() << e.width << "x" << e.height << "/" << e.bpp);
        ASSERT_LE(uint64_t{e.offset} + 40, data_.size());
        const size_t h = e.offset;
        const uint32_t size = e.width == 0 ? 256 : e.width;
        EXPECT_EQ(u32(h), 40u);  // BITMAPINFOHEADER
        EXPECT_EQ(u32(h + 4), size);
        EXPECT_EQ(u32(h + 8), 2 * size);  // XOR bitmap + AND mask
        EXPECT_EQ(u16(h + 12), 1u);
        EXPECT_EQ(u16(h + 14), e.bpp);
        EXPECT_EQ(u32(h + 16), 0u);  // BI_RGB

        const size_t palette = e.bpp <= 8 ? 4u << e.bpp : 0;
        const size_t xor_row = (size * e.bpp + 31) / 32 * 4;
        const size_t and_row = (size + 31) / 32 * 4;
        ASSERT_EQ(e.bytes, 40 + palette + (xor_row + and_row) * size);
        ASSERT_LE(uint64_t{e.offset} + e.bytes, data_.size());

        const size_t pixels = h + 40 + palette;
        const size_t mask = pixels + xor_row * size;
        int transparent = 0, opaque = 0, partial = 0, full = 0, mismatched = 0, coloured = 0;
        for (size_t y = 0; y < size; ++y) {
            for (size_t x = 0; x < size; ++x) {
                const bool masked = data_[mask + y * and_row + x / 8] & (0x80 >> (x % 8));
                const size_t px = pixels + y * xor_row + x * e.bpp / 8;
                uint32_t colour = 0;  // B, G, R and, at 32 bpp, alpha
                if (e.bpp == 8) {
                    colour = u32(h + 40 + 4 * data_[px]) & 0xFFFFFF;
                } else if (e.bpp == 24) {
                    colour = u16(px) | data_[px + 2] << 16;
                } else {
                    colour = u32(px);
                    const uint32_t alpha = colour >> 24;
                    partial += alpha > 0 && alpha < 255;
                    full += alpha == 255;
                    mismatched += masked != (alpha == 0);
                }
                (masked ? transparent : opaque) += 1;
                coloured += masked && colour != 0;
            }
        }
        EXPECT_GT(transparent, 0);
        EXPECT_GT(opaque, 0);
        EXPECT_EQ(coloured, 0) << "transparent pixels must be black in the XOR bitmap";
        if (e.bpp == 32) {
            EXPECT_GT(partial, 0) << "edges should be anti-aliased";
            EXPECT_GT(full, 0);
            EXPECT_EQ(mismatched, 0) << "mask must be set exactly where alpha is 0";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Icons, IconFileTest, ::testing::ValuesIn(kIconFiles),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

}  // namespace
