// orvando-campaign [--states N] [--seed S]: runs N random game folders (seeds
// S, S+1, ...) through the program on real files and on the in-memory model,
// and prints one closing line with the states run, files lost, files
// overwritten and model/real mismatches. Exits 1 when any of the three counts
// is not 0, 2 on a usage error. The seeds of failing states go to stderr.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "reliability/campaign.h"

namespace {

bool parseNumber(const char* text, unsigned long& out) {
    char* end = nullptr;
    out = std::strtoul(text, &end, 10);
    return end != text && *end == '\0' && text[0] != '-';
}

int usage() {
    std::fprintf(stderr, "usage: orvando-campaign [--states N] [--seed S]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long states = 300;
    unsigned long seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) {
            return usage();
        }
        unsigned long* target = arg == "--states" ? &states : arg == "--seed" ? &seed : nullptr;
        if (target == nullptr || !parseNumber(argv[++i], *target)) {
            return usage();
        }
    }

    orvando::testing::CampaignTally tally;
    const auto system = orvando::testing::systemServices();
    constexpr long kReported = 10;
    long reported = 0;
    try {
        for (unsigned long i = 0; i < states; ++i) {
            const auto stateSeed = static_cast<std::uint32_t>(seed + i);
            const auto result = orvando::testing::runState(stateSeed, system);
            const bool bad = result.damage.lost != 0 || result.damage.overwritten != 0 ||
                             !result.mismatch.empty();
            if (bad && reported++ < kReported) {
                std::fprintf(stderr, "seed %u: %d lost, %d overwritten%s%s\n", stateSeed,
                             result.damage.lost, result.damage.overwritten,
                             result.mismatch.empty() ? "" : "; mismatch in ",
                             result.mismatch.c_str());
            }
            tally.add(result);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "campaign stopped: %s\n", e.what());
        return 2;
    }
    std::printf("%s\n", orvando::testing::closingLine(tally).c_str());
    return tally.clean() ? 0 : 1;
}
