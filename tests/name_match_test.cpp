// Matching without regard to case over every pair of one-byte names, against
// the rule written out here apart from the code: two names match, and fold to
// the same key, exactly when their bytes are equal or are the same ASCII letter;
// bytes 0x20 apart such as '@' and '`', or Latin-1's 0xC9 and 0xE9, never match.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/name_match.h"

namespace {

// The place in the alphabet of A to Z and of a to z; -1 for every other byte.
int letter(char c) {
    constexpr std::string_view small = "abcdefghijklmnopqrstuvwxyz";
    constexpr std::string_view capital = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::size_t at = small.find(c) != small.npos ? small.find(c) : capital.find(c);
    return at == capital.npos ? -1 : static_cast<int>(at);
}

TEST(NameMatch, EveryPairOfBytes) {
    for (int i = 0; i < 256; ++i) {
        const char a = static_cast<char>(i);
        const char key = orvando::foldAscii(a);
        ASSERT_EQ(orvando::foldAscii(key), key) << "byte " << i;
        for (int j = 0; j < 256; ++j) {
            const char b = static_cast<char>(j);
            const bool same = i == j || (letter(a) >= 0 && letter(a) == letter(b));
            const std::string ab{a, b};
            ASSERT_EQ(orvando::equalsIgnoringAsciiCase({&a, 1}, {&b, 1}), same) << i << ", " << j;
            ASSERT_EQ(key == orvando::foldAscii(b), same) << "bytes " << i << ", " << j;
            ASSERT_FALSE(orvando::equalsIgnoringAsciiCase({&a, 1}, ab)) << i << ", " << j;
        }
    }
}

}  // namespace
