#include "layout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

#include "field_format.h"
#include "field_format_fast.h"
#include "layout_program.h"
#include "short_copy.h"

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
const CompiledLayout* CachedLayout(std::string_view layout, const std::string*& key) {
  constexpr std::size_t kMaxCachedLayouts = 4096;
  static std::mutex mutex;
  static std::unordered_map<std::string, CompiledLayout, TextHash, std::equal_to<>> cache;
  const std::lock_guard<std::mutex> lock(mutex);
  auto found = cache.find(layout);
  if (found == cache.end()) {
    if (cache.size() >= kMaxCachedLayouts) return nullptr;
    found = cache.emplace(std::string(layout), CompileLayout(layout)).first;
  }
  key = &found->first;
  return &found->second;
}

// The writers pass the same layout texts line after line, nearly always from
// the same string literals: a small memo per thread, indexed by the text's
// address, finds the compiled layout without hashing the text or taking the
// lock. The text itself is compared, so a buffer that now holds another
// layout is looked up anew. Plain data, so the library can still be unloaded.
struct MemoEntry {
  const std::string* key = nullptr;
  const CompiledLayout* compiled = nullptr;
};
constexpr std::size_t kMemoSize = 64;
constinit thread_local std::array<MemoEntry, kMemoSize> memo{};

// Null for a layout beyond the cache's limit.
const CompiledLayout* CompiledFor(std::string_view layout) {
  const auto address = reinterpret_cast<std::uintptr_t>(layout.data());
  MemoEntry& entry = memo[((address >> 3) ^ layout.size()) % kMemoSize];
  if (entry.key && *entry.key == layout) return entry.compiled;
  const std::string* key = nullptr;
  const CompiledLayout* compiled = CachedLayout(layout, key);
  if (compiled) entry = {key, compiled};
  return compiled;
}

// Writes a layout's lines straight into the string's storage: room is made
// by growing the string in steps, and its size is cut back to what was
// written when the writing ends (also by an exception), so no byte of room
// remains.
class LineCursor {
 public:
  explicit LineCursor(std::string& out) : out_(out), used_(out.size()) {}
  LineCursor(const LineCursor&) = delete;
  LineCursor& operator=(const LineCursor&) = delete;
  ~LineCursor() { out_.resize(used_); }

  // Room for `count` characters, written from the result on.
  char* Room(std::size_t count) {
    if (out_.size() - used_ < count) out_.resize(used_ + std::max(count, kStep));
    return out_.data() + used_;
  }
  void Advance(const char* end) { used_ = static_cast<std::size_t>(end - out_.data()); }
  void Put(char c) {
    *Room(1) = c;
    ++used_;
  }
  void Put(std::string_view text) {
    CopyShort(Room(text.size()), text.data(), text.size());
    used_ += text.size();
  }

 private:
  static constexpr std::size_t kStep = 128;
  std::string& out_;
  std::size_t used_;
};

void PutFreeWord(LineCursor& line, const FieldValue& value) {
  if (value.kind() == FieldValue::Kind::Text) {
    line.Put(value.text());
  } else {
    line.Advance(WriteNumberWord(line.Room(kMaxNumberWordLength), value));
  }
}

// A (width 0): the text without its trailing blanks, a number as a free word.
void PutUnsizedText(LineCursor& line, const FieldValue& value) {
  if (value.kind() != FieldValue::Kind::Text) {
    PutFreeWord(line, value);
    return;
  }
  const std::string_view text = value.text();
  const std::size_t end = text.find_last_not_of(' ');
  line.Put(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

void PutField(LineCursor& line, const LayoutItem& item, const FieldValue& value) {
  if (item.kind == LayoutItemKind::Text && item.width == 0) {
    PutUnsizedText(line, value);
    return;
  }
  char* const at = line.Room(item.width);
  switch (item.kind) {
    case LayoutItemKind::Text:
      line.Advance(WriteTextField(at, value, item.width));
      break;
    case LayoutItemKind::Integer:
      line.Advance(WriteIntegerField(at, value, item.width, item.digits));
      break;
    case LayoutItemKind::Fixed:
      line.Advance(WriteFixedField(at, value, item.width, item.digits));
      break;
    case LayoutItemKind::Exponent:
      line.Advance(WriteExponentField(at, value, item.width, item.digits, false));
      break;
    case LayoutItemKind::ScaledExponent:
      line.Advance(WriteExponentField(at, value, item.width, item.digits, true));
      break;
    case LayoutItemKind::Literal:
    case LayoutItemKind::LineEnd:
      break;
  }
}

void WriteLines(LineCursor& line, const CompiledLayout& compiled,
                std::span<const FieldValue> values) {
  std::size_t next = 0;
  for (;;) {
    for (const LayoutItem& item : compiled.items) {
      switch (item.kind) {
        case LayoutItemKind::Literal:
          line.Put(compiled.LiteralOf(item));
          break;
        case LayoutItemKind::LineEnd:
          line.Put('\n');
          break;
        default:
          // Output ends at the first data field that has no value left.
          if (next == values.size()) {
            line.Put('\n');
            return;
          }
          PutField(line, item, values[next++]);
          break;
      }
    }
    // Values left over: the layout is used again from its start on a new line.
    if (!compiled.hasDataFields || next == values.size()) break;
    line.Put('\n');
  }
  line.Put('\n');
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

void AppendCompiled(std::string& out, const CompiledLayout& compiled, std::string_view layout,
                    std::span<const FieldValue> values) {
  if (compiled.malformed) {
    AppendMalformed(out, layout, values);
    return;
  }
  LineCursor line(out);
  WriteLines(line, compiled, values);
}

}  // namespace

void AppendLayout(std::string& out, std::string_view layout, std::span<const FieldValue> values) {
  const CompiledLayout* compiled = CompiledFor(layout);
  if (!compiled) {
    AppendCompiled(out, CompileLayout(layout), layout, values);
    return;
  }
  AppendCompiled(out, *compiled, layout, values);
}

void AppendFree(std::string& out, std::span<const FieldValue> values) {
  // Numbers are gathered on the stack and appended in one piece.
  std::array<char, 512> block;
  std::size_t used = 0;
  for (const FieldValue& value : values) {
    // Room for a blank, a number and the line end.
    if (block.size() - used < 2 + kMaxNumberWordLength) {
      out.append(block.data(), used);
      used = 0;
    }
    block[used++] = ' ';
    if (value.kind() == FieldValue::Kind::Text) {
      out.append(block.data(), used);
      out.append(value.text());
      used = 0;
    } else {
      used = static_cast<std::size_t>(WriteNumberWord(block.data() + used, value) - block.data());
    }
  }
  block[used++] = '\n';
  out.append(block.data(), used);
}

}  // namespace korvan
