// Status: text form for logs and tests.
#include "status.h"

namespace pv {

std::string Status::toString() const {
  if (ok()) return "OK";
  std::string s = message_;
  if (!file_.empty() || os_code_ != 0) {
    s += " (";
    s += file_;
    if (os_code_ != 0) {
      if (!file_.empty()) s += ", ";
      s += "OS error " + std::to_string(os_code_);
    }
    s += ")";
  }
  if (subcode_ != kSubNone) s += " [" + std::to_string(subcode_) + "]";
  return s;
}

}  // namespace pv
