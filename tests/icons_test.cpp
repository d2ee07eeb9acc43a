// The icon files in src/ui/icons: the images each one lists, and that every image is an
// uncompressed DIB whose 1-bit mask agrees with its pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

const struct {
    const char* name;
    std::vector<std::pair<uint32_t, uint32_t>> images;  // (size, bits per pixel) in file order
} kIconFiles[] = {
    {"window", {{48, 24}, {32, 24}, {48, 32}, {32, 32}, {16, 32}}},
    {"image1", {{48, 8}, {32, 8}, {48, 24}, {32, 24}, {16, 24}, {48, 32}, {32, 32}, {16, 32}}},
    {"image2",
     {{48, 8}, {32, 8}, {16, 8}, {48, 24}, {32, 24}, {16, 24}, {48, 32}, {32, 32}, {16, 32}}},
};

TEST(IconFiles, ListTheirImagesUncompressedWithMasks) {
    for (const auto& [name, images] : kIconFiles) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(ORVANDO_ICON_DIR) + "/" + name + ".ico", std::ios::binary);
        const std::vector<uint8_t> data(std::istreambuf_iterator<char>(in), {});
        const auto u16 = [&](size_t at) -> uint32_t { return data[at] | data[at + 1] << 8; };
        const auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
        ASSERT_GE(data.size(), 6u);
        ASSERT_EQ(u32(0), 0x10000u);  // reserved 0, type 1 = icon
        ASSERT_GE(data.size(), 6u + 16 * u16(4));
        std::vector<std::pair<uint32_t, uint32_t>> listed;
        for (size_t entry = 6; entry < 6 + 16 * u16(4); entry += 16) {
            const uint32_t size = data[entry], bpp = u16(entry + 6), bytes = u32(entry + 8);
            const size_t h = u32(entry + 12);
            listed.emplace_back(size, bpp);
            SCOPED_TRACE(testing::Message() << size << " pixels, " << bpp << " bits");
            EXPECT_EQ(data[entry + 1], size);
            EXPECT_EQ(u32(entry + 2), 0x10000u);  // no colour count, reserved 0, one plane
            const size_t palette = bpp <= 8 ? 4u << bpp : 0;
            const size_t xorRow = (size * bpp + 31) / 32 * 4, andRow = (size + 31) / 32 * 4;
            ASSERT_EQ(bytes, 40 + palette + (xorRow + andRow) * size);
            ASSERT_LE(h + bytes, data.size());
            // BITMAPINFOHEADER: pixels and mask stacked, one plane, uncompressed.
            EXPECT_EQ(u32(h), 40u);
            EXPECT_EQ(u32(h + 4), size);
            EXPECT_EQ(u32(h + 8), 2 * size);
            EXPECT_EQ(u32(h + 12), 1 | bpp << 16);
            EXPECT_EQ(u32(h + 16), 0u);

            const size_t pixels = h + 40 + palette, mask = pixels + xorRow * size;
            int transparent = 0, opaque = 0, soft = 0, mismatched = 0, coloured = 0;
            for (size_t y = 0; y < size; ++y) {
                for (size_t x = 0; x < size; ++x) {
                    const bool masked = data[mask + y * andRow + x / 8] & (0x80 >> (x % 8));
                    const size_t px = pixels + y * xorRow + x * bpp / 8;
                    const uint32_t colour = bpp == 8    ? u32(h + 40 + 4 * data[px])
                                            : bpp == 24 ? u16(px) | data[px + 2] << 16
                                                        : u32(px);  // with alpha on top
                    if (bpp == 32) {
                        soft += colour >> 24 > 0 && colour >> 24 < 255;
                        mismatched += masked != (colour >> 24 == 0);
                    }
                    (masked ? transparent : opaque) += 1;
                    coloured += masked && (colour & 0xFFFFFF) != 0;
                }
            }
            EXPECT_GT(transparent, 0);
            EXPECT_GT(opaque, 0);
            EXPECT_EQ(coloured, 0) << "transparent pixels must be black";
            if (bpp == 32) {
                EXPECT_GT(soft, 0) << "the edges must be soft";
                EXPECT_EQ(mismatched, 0) << "the mask must be set exactly where alpha is 0";
            }
        }
        EXPECT_EQ(listed, images);
    }
}

}  // namespace
