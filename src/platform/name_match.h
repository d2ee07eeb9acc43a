// Matching of file names without regard to ASCII case, for file systems that
// tell case apart. Only the 26 ASCII letters fold; every other byte, including
// bytes of non-ASCII characters, must be equal.
#pragma once

#include <algorithm>
#include <string_view>

namespace orvando {

constexpr char foldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldAscii(x) == foldAscii(y);
           });
}

}  // namespace orvando
