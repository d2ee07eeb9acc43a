// Matching without regard to case over every pair of one-byte names, against the rule written
// out here apart from the code: two names match, and fold to the same key, exactly when their
// bytes are equal or the same ASCII letter; '@' and '`', or Latin-1's 0xC9 and 0xE9, never match.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/name_match.h"

// Two bytes are the same letter when both are here, 26 places apart.
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

TEST(NameMatch, EveryPairOfBytes) {
    for (int i = 0; i < 256; ++i) {
        const char a = static_cast<char>(i), key = orvando::foldAscii(a);
        ASSERT_EQ(orvando::foldAscii(key), key) << "byte " << i;
        for (int j = 0; j < 256; ++j) {
            const char b = static_cast<char>(j);
            const std::size_t x = kLetters.find(a), y = kLetters.find(b);
            const bool same = i == j || (std::max(x, y) < kLetters.size() && x % 26 == y % 26);
            ASSERT_EQ(orvando::equalsIgnoringAsciiCase({&a, 1}, {&b, 1}), same) << i << ", " << j;
            ASSERT_EQ(key == orvando::foldAscii(b), same) << "bytes " << i << ", " << j;
            ASSERT_FALSE(orvando::equalsIgnoringAsciiCase({&a, 1}, std::string{a, b}))
                << i << ", " << j;
        }
    }
}
