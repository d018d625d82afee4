#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

// Whether two names are the same as Windows compares drive roots, file names of the set and the
// start of a path: without regard to the case of Latin letters.
inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}
