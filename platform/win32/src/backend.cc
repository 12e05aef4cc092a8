// The backend in use: the Qt backend unless a test installed another.
#include "win32/backend.h"

namespace pv::win32 {

EventSink& layerSink();

namespace {
std::unique_ptr<Backend>& current() {
  static std::unique_ptr<Backend> b;
  return b;
}
}  // namespace

Backend& backend() {
  if (!current()) installBackend(makeQtBackend());
  return *current();
}

void installBackend(std::unique_ptr<Backend> b) {
  current() = std::move(b);
  if (current()) current()->attach(layerSink());
}

}  // namespace pv::win32
