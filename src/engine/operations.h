// The order of the two bulk operations, as pairs of (old name, final name).
//
// Enable parks every stock track under its backup name (rows 0 to 22), then
// moves the seven replacement tracks into the stock names just vacated.
// Restore first moves the replacement tracks back out, then returns every
// backup track to its stock name. Each group keeps ascending catalogue order in
// both operations; only the groups swap and each rename runs the other way.
//
// An interrupted enable can leave stock tracks that never moved beside their
// replacements; the restore leaves such a pair as it is, so that it finishes
// what the enable started instead of stopping at a taken name.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "catalogue/catalogue.h"

namespace orvando {

struct RenamePair {
    std::string_view oldname;
    std::string_view finalname;
    // Set for the restore's replacement pairs only: the backup name of the
    // catalogue row whose stock name is `oldname`. While no file has that name,
    // a track under the stock name is the stock track itself (it never left,
    // or is already back), and one under `finalname` is the modification's own:
    // the pair is already in its restored place.
    std::string_view backupname = {};
};

// The backup name of the catalogue row with this stock name.
constexpr std::string_view backupOf(std::string_view stock) {
    for (std::size_t i = 0; i < kStockNames.size(); ++i) {
        if (kStockNames[i] == stock) {
            return kBackupNames[i];
        }
    }
    throw "not a stock name";  // in a constant expression: fails the build
}

inline constexpr std::size_t kOperationLength = kCatalogueRows + kReplacementPairs.size();
using OperationPlan = std::array<RenamePair, kOperationLength>;

inline constexpr OperationPlan kEnablePlan = [] {
    OperationPlan plan{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < kStockNames.size(); ++i) {
        plan[n++] = {kStockNames[i], kBackupNames[i], {}};
    }
    for (const auto& pair : kReplacementPairs) {
        plan[n++] = {pair.replacement, pair.stock, {}};
    }
    return plan;
}();

inline constexpr OperationPlan kRestorePlan = [] {
    OperationPlan plan{};
    std::size_t n = 0;
    for (const auto& pair : kReplacementPairs) {
        plan[n++] = {pair.stock, pair.replacement, backupOf(pair.stock)};
    }
    for (std::size_t i = 0; i < kBackupNames.size(); ++i) {
        plan[n++] = {kBackupNames[i], kStockNames[i], {}};
    }
    return plan;
}();

}  // namespace orvando
