// Placeholder: the layout writer is being built.
#include "layout.h"

namespace korvan {

void AppendLayout(std::string& out, std::string_view, std::span<const FieldValue>) {
  out += '\n';
}

void AppendFree(std::string& out, std::span<const FieldValue>) {
  out += '\n';
}

}  // namespace korvan
