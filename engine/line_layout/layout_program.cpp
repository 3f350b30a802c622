#include "layout_program.h"

namespace korvan {

namespace {

// The multiplication sign of 'c'×n, as UTF-8.
constexpr std::string_view kTimesSign = "\xC3\x97";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

class LayoutParser {
 public:
  explicit LayoutParser(std::string_view text) : text_(text) {}

  CompiledLayout Compile() {
    CompiledLayout result;
    std::vector<LayoutItem> items;
    if (!ParseList(false, items) || !MergeLiterals(items, result)) {
      result.items.clear();
      result.literals.clear();
      result.malformed = true;
      result.error = error_;
      return result;
    }
    for (const LayoutItem& item : result.items) {
      if (item.kind != LayoutItemKind::Literal && item.kind != LayoutItemKind::LineEnd) {
        result.hasDataFields = true;
      }
    }
    return result;
  }

 private:
  // Items up to the end of the text, or up to the ')' that closes a group.
  bool ParseList(bool inGroup, std::vector<LayoutItem>& items) {
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return inGroup ? Fail("a group is not closed") : true;
      const char c = text_[pos_];
      if (c == ')') {
        if (!inGroup) return Fail("')' without '('");
        ++pos_;
        return true;
      }
      if (c == ',') {
        ++pos_;
      } else if (c == '/') {
        ++pos_;
        if (!Append(items, {LayoutItemKind::LineEnd}, 1)) return false;
      } else if (!ParseItem(items)) {
        return false;
      }
    }
  }

  bool ParseItem(std::vector<LayoutItem>& items) {
    const char first = text_[pos_];
    if (first == '"' || first == '\'') return ParseQuoted(items);
    int repeat = 1;
    const bool counted = IsDigit(first);
    if (counted && !ReadNumber(repeat, kMaxRepeat)) return false;
    SkipBlanks();
    if (AtEnd()) return Fail("a count is not followed by a field");
    switch (Upper(text_[pos_])) {
      case 'X':
        ++pos_;
        return Append(items, AddLiteral(std::string(static_cast<std::size_t>(repeat), ' ')), 1);
      case '(': {
        ++pos_;
        if (++depth_ > kMaxGroupDepth) return Fail("groups are nested too deep");
        std::vector<LayoutItem> group;
        if (!ParseList(true, group)) return false;
        --depth_;
        for (int i = 0; i < repeat; ++i) {
          if (!AppendAll(items, group)) return false;
        }
        return true;
      }
      case '/':
        if (!counted) break;
        ++pos_;
        return Append(items, {LayoutItemKind::LineEnd}, repeat);
      case 'A':
      case 'I':
      case 'F':
      case 'E':
      case 'P':
        return ParseDataField(repeat, items);
      default:
        break;
    }
    return Fail("unknown field");
  }

  // "text", 'text', and 'c'*n or 'c'×n; a doubled quote stands for itself.
  bool ParseQuoted(std::vector<LayoutItem>& items) {
    const char quote = text_[pos_++];
    std::string literal;
    for (;;) {
      if (AtEnd()) return Fail("a quoted text is not closed");
      const char c = text_[pos_++];
      if (c == quote) {
        if (!AtEnd() && text_[pos_] == quote) {
          literal += quote;
          ++pos_;
          continue;
        }
        break;
      }
      literal += c;
    }
    SkipBlanks();
    int times = 1;
    if (!AtEnd() && text_[pos_] == '*') {
      ++pos_;
      if (!ReadNumber(times, kMaxFieldWidth)) return false;
    } else if (text_.substr(pos_).starts_with(kTimesSign)) {
      pos_ += kTimesSign.size();
      if (!ReadNumber(times, kMaxFieldWidth)) return false;
    }
    if (literal.size() * static_cast<std::size_t>(times) > kMaxLiteralBytes) {
      return Fail("the layout is too long");
    }
    std::string repeated;
    repeated.reserve(literal.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) repeated += literal;
    return Append(items, AddLiteral(std::move(repeated)), 1);
  }

  bool ParseDataField(int repeat, std::vector<LayoutItem>& items) {
    const char letter = Upper(text_[pos_++]);
    LayoutItem item{LayoutItemKind::Text};
    int width = 0;
    int digits = 0;
    switch (letter) {
      case 'A':
        SkipBlanks();
        if (!AtEnd() && IsDigit(text_[pos_])) {
          if (!ReadWidth(width)) return false;
        }
        break;
      case 'I':
        item.kind = LayoutItemKind::Integer;
        if (!ReadWidth(width)) return false;
        SkipBlanks();
        if (!AtEnd() && text_[pos_] == '.') {
          ++pos_;
          if (!ReadNumber(digits, width)) return false;
        }
        break;
      case 'P':
        SkipBlanks();
        if (AtEnd() || Upper(text_[pos_]) != 'E') return Fail("P is not followed by E");
        ++pos_;
        item.kind = LayoutItemKind::ScaledExponent;
        if (!ReadWidthAndDecimals(width, digits)) return false;
        break;
      default:
        item.kind = letter == 'F' ? LayoutItemKind::Fixed : LayoutItemKind::Exponent;
        if (!ReadWidthAndDecimals(width, digits)) return false;
        break;
    }
    item.width = static_cast<std::uint16_t>(width);
    item.digits = static_cast<std::uint16_t>(digits);
    return Append(items, item, repeat);
  }

  bool ReadWidth(int& width) {
    if (!ReadNumber(width, kMaxFieldWidth)) return false;
    return width > 0 ? true : Fail("a field width of 0");
  }

  bool ReadWidthAndDecimals(int& width, int& decimals) {
    if (!ReadWidth(width)) return false;
    SkipBlanks();
    if (AtEnd() || text_[pos_] != '.') return Fail("a real field without its decimals");
    ++pos_;
    return ReadNumber(decimals, kMaxFieldWidth);
  }

  bool ReadNumber(int& value, int max) {
    SkipBlanks();
    if (AtEnd() || !IsDigit(text_[pos_])) return Fail("a number is missing");
    value = 0;
    while (!AtEnd() && IsDigit(text_[pos_])) {
      value = value * 10 + (text_[pos_++] - '0');
      if (value > max) return Fail("a number is too large");
    }
    return true;
  }

  LayoutItem AddLiteral(std::string text) {
    LayoutItem item{LayoutItemKind::Literal};
    item.offset = static_cast<std::uint32_t>(pool_.size());
    item.length = static_cast<std::uint32_t>(text.size());
    pool_ += text;
    return item;
  }

  bool Append(std::vector<LayoutItem>& items, const LayoutItem& item, int count) {
    if (items.size() + static_cast<std::size_t>(count) > kMaxCompiledItems) {
      return Fail("the layout is too long");
    }
    items.insert(items.end(), static_cast<std::size_t>(count), item);
    return true;
  }

  bool AppendAll(std::vector<LayoutItem>& items, const std::vector<LayoutItem>& group) {
    if (items.size() + group.size() > kMaxCompiledItems) return Fail("the layout is too long");
    items.insert(items.end(), group.begin(), group.end());
    return true;
  }

  // Copies the items into `result`, joining neighbouring literal texts.
  bool MergeLiterals(const std::vector<LayoutItem>& items, CompiledLayout& result) {
    for (const LayoutItem& item : items) {
      if (item.kind != LayoutItemKind::Literal) {
        result.items.push_back(item);
        continue;
      }
      if (item.length == 0) continue;
      if (result.literals.size() + item.length > kMaxLiteralBytes) {
        return Fail("the layout is too long");
      }
      const bool extend =
          !result.items.empty() && result.items.back().kind == LayoutItemKind::Literal;
      if (extend) {
        result.items.back().length += item.length;
      } else {
        LayoutItem merged{LayoutItemKind::Literal};
        merged.offset = static_cast<std::uint32_t>(result.literals.size());
        merged.length = item.length;
        result.items.push_back(merged);
      }
      result.literals.append(pool_, item.offset, item.length);
    }
    return true;
  }

  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  }
  bool AtEnd() const { return pos_ >= text_.size(); }

  bool Fail(std::string_view why) {
    if (error_.empty()) error_ = std::string(why) + " at column " + std::to_string(pos_ + 1);
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  std::string pool_;
  std::string error_;
};

}  // namespace

CompiledLayout CompileLayout(std::string_view layout) {
  return LayoutParser(layout).Compile();
}

}  // namespace korvan
