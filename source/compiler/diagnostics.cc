// Compile diagnostics.
#include "compiler/diagnostics.h"

namespace pv {

std::string Diagnostic::text() const {
  return file + "(" + std::to_string(line) + ":" + std::to_string(col) + "): error: " + message;
}

int Diagnostics::addFile(const std::string& name) {
  files_.push_back(name);
  return static_cast<int>(files_.size()) - 1;
}

void Diagnostics::error(const SourcePos& pos, const std::string& message) {
  ++count_;
  if (list_.size() >= kMaxErrors) return;
  Diagnostic d;
  d.file = pos.file >= 0 && pos.file < static_cast<int>(files_.size()) ? files_[pos.file] : "";
  d.line = pos.line;
  d.col = pos.col;
  d.message = list_.size() + 1 == kMaxErrors ? "too many errors; the rest are not listed" : message;
  list_.push_back(std::move(d));
}

std::string Diagnostics::text() const {
  std::string out;
  for (const Diagnostic& d : list_) out += d.text() + "\n";
  return out;
}

}  // namespace pv
