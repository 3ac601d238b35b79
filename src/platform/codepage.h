#pragma once

#include <string>
#include <string_view>

namespace tagvane {

// Windows-1252, the code page of every tag text. Bytes become Unicode as
// Windows converts them: the five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number,
// so every byte string survives a round trip. A character that Windows-1252
// lacks becomes "?", and so does each byte of malformed input.
std::string cp1252ToUtf8(std::string_view bytes);
std::string utf8ToCp1252(std::string_view utf8);
std::u16string cp1252ToUtf16(std::string_view bytes);
std::string utf16ToCp1252(std::u16string_view utf16);

// The Unicode character of one Windows-1252 byte.
char32_t cp1252ToUnicode(unsigned char byte);
// The byte of one Unicode character, or '?' when the code page lacks it.
char unicodeToCp1252(char32_t c);

} // namespace tagvane
