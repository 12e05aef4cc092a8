// The backend in use: the Qt backend unless a test installed another.
#include "win32/backend.h"

namespace pv::win32 {

namespace {
std::unique_ptr<Backend>& current() {
  static std::unique_ptr<Backend> b;
  return b;
}
}  // namespace

Backend& backend() {
  if (!current()) current() = makeQtBackend();
  return *current();
}

void installBackend(std::unique_ptr<Backend> b) { current() = std::move(b); }

}  // namespace pv::win32
