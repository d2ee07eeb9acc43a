#include "platform/name_match.h"

#include <string>

namespace orvando {

namespace {
constexpr char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string foldAsciiCase(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = foldAscii(c);
    }
    return folded;
}

}  // namespace orvando
