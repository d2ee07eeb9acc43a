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

bool oracle(const std::string& a, const std::string& b) {
    const auto letter = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    for (std::size_t i = 0; i < a.size() && a.size() == b.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y && !(letter(x) && letter(y) && (x | 0x20) == (y | 0x20))) {
            return false;
        }
    }
    return a.size() == b.size();
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
            check(match == oracle(a, b), "equalsIgnoringAsciiCase differs from the oracle");
            check(match == (key == orvando::foldAsciiCase(b)), "keys differ from matching");
        }
    }
    return 0;
}
