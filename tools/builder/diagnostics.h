#pragma once
// Problems found in the sources, each naming the file, the line and the rule
// broken. The builder collects them all before it gives up.
#include <string>
#include <vector>

namespace vormek::builder {

struct Diagnostic {
  std::string file;     // relative to the source root, e.g. "trains/se.txt"
  int line = 0;         // 1-based; 0 when the problem is with the whole file
  std::string message;  // UTF-8
};

class Diagnostics {
 public:
  void Add(std::string file, int line, std::string message);
  // A doubtful but buildable source (a station without a full-pinyin
  // spelling, a doubtful short code): reported, the build goes on.
  void Warn(std::string file, int line, std::string message);
  // By file, then line; problems of one line keep their order.
  void Sort();
  bool Empty() const { return items_.empty(); }
  const std::vector<Diagnostic>& All() const { return items_; }
  // "file:line: message" lines, one per problem.
  std::string Text() const;
  const std::vector<Diagnostic>& Warnings() const { return warnings_; }
  // The warnings as "file:line: warning: message" lines.
  std::string WarningText() const;

 private:
  std::vector<Diagnostic> items_;
  std::vector<Diagnostic> warnings_;
};

}  // namespace vormek::builder
