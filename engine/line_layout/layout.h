// The line-layout notation of the report and plot files: a layout such as
//   2X, I5, I11, E16.4
// turns values into fixed-column text. Fields: nX, "text", 'c'*n (also
// written 'c'×n), A, Aw, Iw, Iw.m, Fw.d, Ew.d, PEw.d, n(...) groups and
// slashes (also directly before or after a quoted text). A number too wide
// for its F or I field is written in exponent form in the same width
// (field_format.h); rounding is to nearest. When values remain at the end of
// the layout it is used again from its start on a new line. Output stops at
// the first data field that has no value left.
//
// nX always writes its blanks, also at the end of a line.
//
// Reals are rounded from their exact 32-bit value, halves away from zero
// (F6.1 of 0.25 gives 0.3) on every platform, and a value that rounds to zero
// carries no minus sign. Integers in real fields are written exactly, reals in
// integer fields are rounded to the nearest integer, and NaN, infinities and
// texts in numeric fields give asterisks (details in field_format.h). A
// layout that does not follow the notation is a writer's fault: its line holds
// the layout text followed by the values in free format.
//
// Each distinct layout text is compiled once per process and kept (a cache
// under a lock, with a small memo per thread in front of it); the lines are
// written straight into the output string, the common fields by a fast path
// that gives the same bytes as the general one (field_format_fast.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korvan {

class FieldValue {
 public:
  enum class Kind { Integer, Real, Text };

  FieldValue(int v) : kind_(Kind::Integer), integer_(v) {}
  FieldValue(float v) : kind_(Kind::Real), real_(v) {}
  // The engine's reals are 32-bit: a double is narrowed before formatting.
  FieldValue(double v) : kind_(Kind::Real), real_(static_cast<float>(v)) {}
  FieldValue(std::string_view v) : kind_(Kind::Text), text_(v) {}
  FieldValue(const char* v) : kind_(Kind::Text), text_(v) {}
  FieldValue(const std::string& v) : kind_(Kind::Text), text_(v) {}

  Kind kind() const { return kind_; }
  std::int32_t integer() const { return integer_; }
  float real() const { return real_; }
  std::string_view text() const { return text_; }

 private:
  Kind kind_;
  std::int32_t integer_ = 0;
  float real_ = 0;
  std::string_view text_;
};

// Appends the lines that `layout` makes of `values` to `out`, each line
// ended by '\n'. An empty layout with no values gives one empty line.
void AppendLayout(std::string& out, std::string_view layout, std::span<const FieldValue> values);

inline std::string FormatLayout(std::string_view layout, std::span<const FieldValue> values = {}) {
  std::string out;
  AppendLayout(out, layout, values);
  return out;
}

// A free-format line: one blank before each value, integers in the fewest
// digits, reals in a general form that any word reader reads back.
void AppendFree(std::string& out, std::span<const FieldValue> values);

}  // namespace korvan
