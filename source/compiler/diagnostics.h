// Compile diagnostics: every error of a compilation, with file, line and column.
#pragma once

#include <string>
#include <vector>

namespace pv {

// A place in a source file; line and column count from 1.
struct SourcePos {
  int file = 0;  // index into Diagnostics::files()
  int line = 0;
  int col = 0;
};

struct Diagnostic {
  std::string file;
  int line = 0;
  int col = 0;
  std::string message;
  std::string text() const;  // "file(line:col): error: message"
};

// Collects the errors of one compilation. Every error is kept (up to a cap, so that a hostile
// input cannot make the list grow without bound); compilation goes on after an error so that a
// file's errors are all reported at once.
class Diagnostics {
 public:
  static constexpr size_t kMaxErrors = 200;

  int addFile(const std::string& name);
  const std::string& fileName(int index) const { return files_[index]; }
  const std::vector<std::string>& files() const { return files_; }  // main file, then includes

  void error(const SourcePos& pos, const std::string& message);
  bool hasErrors() const { return count_ > 0; }
  size_t count() const { return count_; }
  const std::vector<Diagnostic>& list() const { return list_; }
  std::string text() const;  // all messages, one per line

 private:
  std::vector<std::string> files_;
  std::vector<Diagnostic> list_;
  size_t count_ = 0;
};

}  // namespace pv
