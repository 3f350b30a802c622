#include "layout.h"

#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

#include "field_format.h"
#include "layout_program.h"

namespace korvan {

namespace {

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const noexcept {
    return std::hash<std::string_view>{}(text);
  }
};

// Every distinct layout is compiled once. The writers use a few dozen fixed
// layouts; the limit only guards against layouts built at run time, which
// beyond it are compiled on every use. Entries are never removed, so a
// pointer to one stays valid. The cache is a plain static (a thread_local
// with a destructor would keep the library from being unloaded) under a lock.
const CompiledLayout& CompiledFor(std::string_view layout, CompiledLayout& uncached) {
  constexpr std::size_t kMaxCachedLayouts = 4096;
  static std::mutex mutex;
  static std::unordered_map<std::string, CompiledLayout, TextHash, std::equal_to<>> cache;
  const std::lock_guard<std::mutex> lock(mutex);
  if (auto found = cache.find(layout); found != cache.end()) return found->second;
  if (cache.size() >= kMaxCachedLayouts) {
    uncached = CompileLayout(layout);
    return uncached;
  }
  return cache.emplace(std::string(layout), CompileLayout(layout)).first->second;
}

void AppendField(std::string& out, const LayoutItem& item, const FieldValue& value) {
  switch (item.kind) {
    case LayoutItemKind::Text:
      AppendTextField(out, value, item.width);
      break;
    case LayoutItemKind::Integer:
      AppendIntegerField(out, value, item.width, item.digits);
      break;
    case LayoutItemKind::Fixed:
      AppendFixedField(out, value, item.width, item.digits);
      break;
    case LayoutItemKind::Exponent:
      AppendExponentField(out, value, item.width, item.digits, false);
      break;
    case LayoutItemKind::ScaledExponent:
      AppendExponentField(out, value, item.width, item.digits, true);
      break;
    case LayoutItemKind::Literal:
    case LayoutItemKind::LineEnd:
      break;
  }
}

// A layout that does not follow the notation is a fault of the writer that
// used it: the line shows the layout itself and then the values, so that the
// fault is seen and no value is lost.
void AppendMalformed(std::string& out, std::string_view layout,
                     std::span<const FieldValue> values) {
  out.append(layout);
  for (const FieldValue& value : values) {
    out += ' ';
    AppendFreeWord(out, value);
  }
  out += '\n';
}

}  // namespace

void AppendLayout(std::string& out, std::string_view layout, std::span<const FieldValue> values) {
  CompiledLayout uncached;
  const CompiledLayout& compiled = CompiledFor(layout, uncached);
  if (compiled.malformed) {
    AppendMalformed(out, layout, values);
    return;
  }
  std::size_t next = 0;
  for (;;) {
    for (const LayoutItem& item : compiled.items) {
      switch (item.kind) {
        case LayoutItemKind::Literal:
          out.append(compiled.LiteralOf(item));
          break;
        case LayoutItemKind::LineEnd:
          out += '\n';
          break;
        default:
          // Output ends at the first data field that has no value left.
          if (next == values.size()) {
            out += '\n';
            return;
          }
          AppendField(out, item, values[next++]);
          break;
      }
    }
    // Values left over: the layout is used again from its start on a new line.
    if (!compiled.hasDataFields || next == values.size()) break;
    out += '\n';
  }
  out += '\n';
}

void AppendFree(std::string& out, std::span<const FieldValue> values) {
  for (const FieldValue& value : values) {
    out += ' ';
    AppendFreeWord(out, value);
  }
  out += '\n';
}

}  // namespace korvan
