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
        const std::string a(1, static_cast<char>(i));
        const std::string key = orvando::foldAsciiCase(a);
        ASSERT_EQ(key.size(), 1u) << "byte " << i;
        ASSERT_EQ(orvando::foldAsciiCase(key), key) << "byte " << i;
        for (int j = 0; j < 256; ++j) {
            const std::string b(1, static_cast<char>(j));
            const bool same = i == j || (letter(a[0]) >= 0 && letter(a[0]) == letter(b[0]));
            ASSERT_EQ(orvando::equalsIgnoringAsciiCase(a, b), same) << "bytes " << i << ", " << j;
            ASSERT_EQ(key == orvando::foldAsciiCase(b), same) << "bytes " << i << ", " << j;
            ASSERT_FALSE(orvando::equalsIgnoringAsciiCase(a, a + b)) << "bytes " << i << ", " << j;
        }
    }
}

}  // namespace
