#include "diagnostics.h"

#include <algorithm>

namespace vormek::builder {

void Diagnostics::Add(std::string file, int line, std::string message) {
  items_.push_back({std::move(file), line, std::move(message)});
}

void Diagnostics::Sort() {
  std::stable_sort(items_.begin(), items_.end(), [](const Diagnostic& a, const Diagnostic& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
}

std::string Diagnostics::Text() const {
  std::string out;
  for (const Diagnostic& d : items_) {
    out += d.file;
    if (d.line > 0) out += ":" + std::to_string(d.line);
    out += ": " + d.message + "\n";
  }
  return out;
}

}  // namespace vormek::builder
