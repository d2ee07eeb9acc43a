// The order of the two bulk operations, as pairs of (old name, final name).
//
// Enable parks every stock track under its backup name (rows 0 to 22), then
// moves the seven replacement tracks into the stock names just vacated.
// Restore first moves the replacement tracks back out, then returns every
// backup track to its stock name. Each group keeps ascending catalogue order in
// both operations; only the groups swap and each rename runs the other way.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "catalogue/catalogue.h"

namespace orvando {

struct RenamePair {
    std::string_view oldname;
    std::string_view finalname;
};

inline constexpr std::size_t kOperationLength = kCatalogueRows + kReplacementPairs.size();
using OperationPlan = std::array<RenamePair, kOperationLength>;

inline constexpr OperationPlan kEnablePlan = [] {
    OperationPlan plan{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < kStockNames.size(); ++i) {
        plan[n++] = {kStockNames[i], kBackupNames[i]};
    }
    for (const auto& pair : kReplacementPairs) {
        plan[n++] = {pair.replacement, pair.stock};
    }
    return plan;
}();

inline constexpr OperationPlan kRestorePlan = [] {
    OperationPlan plan{};
    std::size_t n = 0;
    for (const auto& pair : kReplacementPairs) {
        plan[n++] = {pair.stock, pair.replacement};
    }
    for (std::size_t i = 0; i < kBackupNames.size(); ++i) {
        plan[n++] = {kBackupNames[i], kStockNames[i]};
    }
    return plan;
}();

}  // namespace orvando
