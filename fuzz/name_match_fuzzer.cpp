// Fuzzes the matching of file names without regard to ASCII case with names of
// any bytes (not UTF-8, very long, in many case variants), given as a list
// separated by NUL bytes. Every pair is checked against an oracle written apart
// from the code: two names match exactly when each byte is equal or both are
// the same ASCII letter (0x20 apart is not enough), and two names fold to the
// same key exactly when they match.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/name_match.h"

namespace {

// Each byte of A to Z as the letter's small form, every other byte as it is.
std::string lower(std::string s) {
    for (char& c : s) {
        c = c >= 'A' && c <= 'Z' ? char(c + 0x20) : c;
    }
    return s;
}

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "name matching: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::vector<std::string> names(1);
    for (std::size_t i = 0; i < size && names.size() <= 64; ++i) {
        data[i] == 0 ? void(names.emplace_back()) : names.back().push_back(char(data[i]));
    }
    for (const std::string& a : names) {
        const std::string key = orvando::foldAsciiCase(a);
        check(key.size() == a.size() && orvando::foldAsciiCase(key) == key, "a key folds again");
        for (const std::string& b : names) {
            const bool match = orvando::equalsIgnoringAsciiCase(a, b);
            check(match == (lower(a) == lower(b)),
                  "equalsIgnoringAsciiCase differs from the oracle");
            check(match == (key == orvando::foldAsciiCase(b)), "keys differ from matching");
        }
    }
    return 0;
}
