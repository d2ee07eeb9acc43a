#include "platform/name_match.h"

#include <string>
#include <vector>

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

std::string severalMatchesReason(const std::vector<std::string>& matches) {
    std::string list;
    for (const std::string& m : matches) {
        list += (list.empty() ? "" : ", ") + m;
    }
    return "more than one file matches this name when case is ignored (" + list + ")";
}

}  // namespace orvando
