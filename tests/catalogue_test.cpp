// Checks the catalogue against the rules its names follow, so that a typo in
// one of the 53 names, a row out of place or a broken pairing is caught.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "catalogue/catalogue.h"

namespace orvando {
namespace {

std::string insertBeforeWav(std::string_view name, std::string_view infix) {
    std::string s(name);
    return s.insert(s.size() - 4, infix);
}

TEST(Catalogue, BackupAndReplacementNamesFollowFromTheStockNames) {
    for (std::size_t i = 0; i < kStockNames.size(); ++i) {
        EXPECT_EQ(kBackupNames[i], insertBeforeWav(kStockNames[i], ".original")) << "row " << i;
    }
    for (const auto& pair : kReplacementPairs) {
        EXPECT_EQ(pair.replacement, insertBeforeWav(pair.stock, ".mod"));
    }
}

TEST(Catalogue, ReplacementPairsTakeOverRowsZeroAndFifteenToTwentyInOrder) {
    const std::size_t rows[] = {0, 15, 16, 17, 18, 19, 20};
    ASSERT_EQ(std::size(rows), kReplacementPairs.size());
    for (std::size_t step = 0; step < kReplacementPairs.size(); ++step) {
        EXPECT_EQ(kReplacementPairs[step].stock, kStockNames[rows[step]]) << "step " << step + 1;
    }
}

TEST(Catalogue, StoredOrderIsKeptNotAlphabetical) {
    EXPECT_EQ(kStockNames[kProbeRow], "streammusic\\mus_area_desert.wav");
    EXPECT_EQ(kBackupNames[kProbeRow], "streammusic\\mus_area_desert.original.wav");
    EXPECT_EQ(kStockNames[21], "streammusic\\mus_area_acad.wav");
    EXPECT_EQ(kStockNames[22], "streammusic\\mus_theme_malak.wav");
    EXPECT_FALSE(std::is_sorted(kStockNames.begin(), kStockNames.end()));
    for (const auto& pair : kReplacementPairs) {
        EXPECT_NE(pair.stock, kStockNames[kProbeRow]) << "no replacement may touch the probe row";
    }
}

TEST(Catalogue, EveryNameIsAPlainRelativePathAndUnique) {
    std::set<std::string_view> seen;
    std::size_t longest[3] = {0, 0, 0};
    int inMusic = 0;
    auto check = [&](std::string_view name, std::size_t column) {
        EXPECT_TRUE(seen.insert(name).second) << "duplicate " << name;
        longest[column] = std::max(longest[column], name.size());
        const auto slash = name.find('\\');
        ASSERT_NE(slash, std::string_view::npos) << name;
        EXPECT_EQ(name.find('\\', slash + 1), std::string_view::npos) << name;
        const auto folder = name.substr(0, slash);
        EXPECT_TRUE(folder == "streammusic" || folder == "streamsounds") << name;
        EXPECT_TRUE(name.ends_with(".wav")) << name;
        for (char c : name.substr(slash + 1)) {
            EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.')
                << name;
        }
    };
    for (std::size_t i = 0; i < kStockNames.size(); ++i) {
        check(kStockNames[i], 0);
        check(kBackupNames[i], 1);
        inMusic += kStockNames[i].starts_with("streammusic\\") ? 1 : 0;
    }
    for (const auto& pair : kReplacementPairs) {
        check(pair.replacement, 2);
    }
    EXPECT_EQ(seen.size(), 23u + 23u + 7u);
    EXPECT_EQ(inMusic, 17);
    EXPECT_EQ(longest[0], 33u);
    EXPECT_EQ(longest[1], 42u);
    EXPECT_EQ(longest[2], 37u);
}

}  // namespace
}  // namespace orvando
