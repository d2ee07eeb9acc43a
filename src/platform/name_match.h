// Matching of file names without regard to ASCII case, for file systems that
// tell case apart. Only the 26 ASCII letters fold; every other byte, including
// bytes of non-ASCII characters, must be equal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvando {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The name with its ASCII capitals made small; equal for exactly those names
// that equalsIgnoringAsciiCase holds equal.
std::string foldAsciiCase(std::string_view name);

// Collects, in the order seen, the entries of one folder that equal `name`
// without regard to ASCII case (the exact spelling included, if present).
class CaseVariants {
  public:
    explicit CaseVariants(std::string_view name) : name_(name) {}
    // Returns true when `entry` matched (and was recorded).
    bool offer(std::string_view entry);
    const std::vector<std::string>& matches() const { return matches_; }

  private:
    std::string_view name_;
    std::vector<std::string> matches_;
};

}  // namespace orvando
