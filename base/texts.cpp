#include "base/texts.h"

// A gap with no value left stays as it is: a wrong template shows, rather than hides.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string text;
  auto value = values.begin();
  for (std::size_t at = 0; at < pattern.size();) {
    const std::size_t gap = pattern.find("%s", at);
    if (gap == std::string_view::npos || value == values.end()) {
      text += pattern.substr(at);
      break;
    }
    text += pattern.substr(at, gap - at);
    text += *value++;
    at = gap + 2;
  }
  return text;
}
