#pragma once

// Names compared as the file system compares them: by Windows itself where the tests run on it,
// elsewhere by folding the case of Latin letters and of the Cyrillic ones Russian and Kazakh
// write, as Windows does.
#include <string_view>

#ifdef _WIN32
#include "base/text_win.h"
inline bool SameFileNamesHere(std::string_view a, std::string_view b) {
  return SameFileNames(a, b);
}
#else
namespace same_file_names {

// The next character of UTF-8 text, upper case; at moves past it. Latin and Cyrillic letters
// take one or two bytes.
inline char32_t UpperAt(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  char32_t c = byte(at);
  if (c >= 0xC0 && at + 1 < text.size()) {
    c = ((c & 0x1F) << 6) | (byte(at + 1) & 0x3F);
    ++at;
  }
  ++at;
  if ((c >= U'a' && c <= U'z') || (c >= U'а' && c <= U'я')) return c - 0x20;
  if (c >= U'ѐ' && c <= U'џ') return c - 0x50;
  // The letters of the Cyrillic supplement come in pairs, the capital first (Ғ Қ Ң Ү Ұ Һ Ә Ө).
  if (((c >= 0x490 && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF)) && c % 2) return c - 1;
  return c;
}

}  // namespace same_file_names

inline bool SameFileNamesHere(std::string_view a, std::string_view b) {
  std::size_t atA = 0, atB = 0;
  while (atA < a.size() && atB < b.size())
    if (same_file_names::UpperAt(a, atA) != same_file_names::UpperAt(b, atB)) return false;
  return atA == a.size() && atB == b.size();
}
#endif
