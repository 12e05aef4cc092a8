// FaultFile: injected write and lock failures.
#include "fault_file.h"

#include "os_error.h"

namespace pv {

Status FaultFile::writeAt(uint64_t offset, const void* buf, size_t n) {
  if (!due(++writes_, plan_.fail_write_at)) return inner_->writeAt(offset, buf, n);
  if (plan_.torn_write && n > 1) inner_->writeAt(offset, buf, n / 2);
  return Status::IoError("injected write failure", name(), kOsDiskFull);
}

Status FaultFile::truncate(uint64_t length) {
  // A truncation changes the file like a write does and fails with the writes.
  if (due(++writes_, plan_.fail_write_at)) {
    return Status::IoError("injected write failure", name(), kOsDiskFull);
  }
  return inner_->truncate(length);
}

Status FaultFile::lock(uint64_t offset, uint64_t length, LockType type, bool wait) {
  if (due(++locks_, plan_.fail_lock_at)) {
    return Status::LockRefused("injected lock failure", name(), kOsLockViolation);
  }
  return inner_->lock(offset, length, type, wait);
}

}  // namespace pv
