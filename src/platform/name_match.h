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

// Why a rename refuses a source name that matches several entries only when
// case is ignored, naming them as given; completes "Cannot rename A to B: ".
std::string severalMatchesReason(const std::vector<std::string>& matches);

}  // namespace orvando
