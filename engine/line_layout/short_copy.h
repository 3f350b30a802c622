// Copies of the few characters that make most pieces of a line (blanks, a
// short literal text): two overlapping copies of a fixed size, which the
// compiler turns into plain moves, instead of a call.
#pragma once

#include <cstddef>
#include <cstring>

namespace korvan {

inline void CopyShort(char* to, const char* from, std::size_t n) {
  if (n > 16) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n >= 2) {
    std::memcpy(to, from, 2);
    std::memcpy(to + n - 2, from + n - 2, 2);
  } else if (n == 1) {
    *to = *from;
  }
}

}  // namespace korvan
