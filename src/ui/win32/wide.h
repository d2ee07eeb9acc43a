// UTF-8 (the program's texts) to UTF-16 (the W functions of Windows).
#pragma once

#include <string>
#include <string_view>

namespace orvando::win32 {

std::wstring widen(std::string_view utf8);

}  // namespace orvando::win32
