// A line layout compiled into a flat list of items: repeat groups are
// unrolled and neighbouring blanks and literal texts are merged, so that
// writing a line is a single pass over the items.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

enum class LayoutItemKind : std::uint8_t {
  Literal,         // literal text (quoted text, 'c'*n and nX merged)
  LineEnd,         // a slash
  Text,            // A (width 0) or Aw
  Integer,         // Iw or Iw.m
  Fixed,           // Fw.d
  Exponent,        // Ew.d
  ScaledExponent,  // PEw.d
};

struct LayoutItem {
  LayoutItemKind kind;
  std::uint16_t width = 0;
  std::uint16_t digits = 0;  // d of F, E, PE; m of Iw.m
  std::uint32_t offset = 0;  // literal text in CompiledLayout::literals
  std::uint32_t length = 0;
};

struct CompiledLayout {
  std::vector<LayoutItem> items;
  std::string literals;
  bool hasDataFields = false;
  // The text does not follow the notation; `error` says where it went wrong.
  bool malformed = false;
  std::string error;

  std::string_view LiteralOf(const LayoutItem& item) const {
    return std::string_view(literals).substr(item.offset, item.length);
  }
};

// Limits that keep a mistyped layout from asking for absurd output.
inline constexpr int kMaxFieldWidth = 1000;
inline constexpr int kMaxRepeat = 1000;
inline constexpr int kMaxGroupDepth = 32;
inline constexpr std::size_t kMaxCompiledItems = 1 << 16;
inline constexpr std::size_t kMaxLiteralBytes = 1 << 20;

CompiledLayout CompileLayout(std::string_view layout);

}  // namespace korvan
