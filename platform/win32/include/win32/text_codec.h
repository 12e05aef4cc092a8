// Text at the layer's edges: the application's single-byte ANSI text (code page 1252) to and
// from UTF-16 (dialog templates) and UTF-8 (Qt, resource scripts).
#pragma once

#include <string>
#include <string_view>

namespace pv::win32 {

std::u16string ansiToUtf16(std::string_view ansi);
// Characters outside code page 1252 become '?'.
std::string utf16ToAnsi(std::u16string_view text);
std::string ansiToUtf8(std::string_view ansi);
// Invalid UTF-8 bytes are taken as code page 1252 characters.
std::string utf8ToAnsi(std::string_view utf8);

}  // namespace pv::win32
