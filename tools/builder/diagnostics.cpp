#include "diagnostics.h"

#include <algorithm>

namespace vormek::builder {

void Diagnostics::Add(std::string file, int line, std::string message) {
  items_.push_back({std::move(file), line, std::move(message)});
}

void Diagnostics::Warn(std::string file, int line, std::string message) {
  warnings_.push_back({std::move(file), line, std::move(message)});
}

void Diagnostics::Sort() {
  std::stable_sort(items_.begin(), items_.end(), [](const Diagnostic& a, const Diagnostic& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
}

namespace {

std::string Lines(const std::vector<Diagnostic>& items, const char* prefix) {
  std::string out;
  for (const Diagnostic& d : items) {
    out += d.file;
    if (d.line > 0) out += ":" + std::to_string(d.line);
    out += ": " + std::string(prefix) + d.message + "\n";
  }
  return out;
}

}  // namespace

std::string Diagnostics::Text() const { return Lines(items_, ""); }

std::string Diagnostics::WarningText() const { return Lines(warnings_, "warning: "); }

}  // namespace vormek::builder
