// Failure values of the index engine and the helpers that raise them.
#include "cdx_status.h"

#include <cstdarg>
#include <cstdio>

namespace pv::cdx {

std::string CdxStatus::toString() const {
  if (ok()) return "ok";
  return std::to_string(code) + " " + text;
}

void cdxFail(int code, const std::string& text, const std::string& detail) {
  throw CdxFault{CdxStatus::Error(code, text, detail)};
}

std::string cdxFormat(const char* fmt, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  return buf;
}

}  // namespace pv::cdx
