// Cutting texts to a number of bytes without splitting a UTF-8 character.
#pragma once

#include <cstddef>
#include <string_view>

namespace korvan {

// The first `limit` bytes of `text`, or fewer when byte `limit` falls inside
// a well-formed UTF-8 sequence: that character is left out whole. Bytes that
// are not UTF-8 (an older single-byte code page) are cut where they fall.
inline std::string_view CutAtCharacter(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  auto continuation = [&](std::size_t i) {
    return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
  };
  if (!continuation(limit)) return text.substr(0, limit);
  std::size_t lead = limit;
  while (lead > 0 && limit - lead < 3 && continuation(lead)) --lead;
  const unsigned char first = static_cast<unsigned char>(text[lead]);
  const std::size_t length = first >= 0xF0 && first <= 0xF4   ? 4
                             : first >= 0xE0 && first <= 0xEF ? 3
                             : first >= 0xC2 && first <= 0xDF ? 2
                                                              : 0;
  if (length == 0 || lead + length <= limit || lead + length > text.size()) {
    return text.substr(0, limit);
  }
  for (std::size_t i = lead + 1; i < lead + length; ++i) {
    if (!continuation(i)) return text.substr(0, limit);
  }
  return text.substr(0, lead);
}

}  // namespace korvan
