// UTF-8, the program's texts and paths, to and from UTF-16, what the W
// functions of Windows take. Text that is not valid UTF-8 becomes empty, so a
// damaged name can never reach the file system as some other name.
#pragma once

#include <string>
#include <string_view>

namespace orvando {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

}  // namespace orvando
