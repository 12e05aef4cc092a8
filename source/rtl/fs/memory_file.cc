// MemoryFile: reads and writes on a byte vector.
#include "memory_file.h"

#include <cstring>

#include "os_error.h"

namespace pv {

Status MemoryFile::readAt(uint64_t offset, void* buf, size_t n, size_t* got) {
  *got = offset >= bytes_.size() ? 0 : size_t(std::min<uint64_t>(n, bytes_.size() - offset));
  if (*got) std::memcpy(buf, bytes_.data() + offset, *got);
  return Status::Ok();
}

Status MemoryFile::writeAt(uint64_t offset, const void* buf, size_t n) {
  if (!writable_) return Status::Make(StatusKind::kReadOnly, "file is read-only", name_, 5);
  if (offset > kLimit || n > kLimit - offset) return Status::IoError("disk full", name_, kOsDiskFull);
  if (offset + n > bytes_.size()) bytes_.resize(offset + n);
  if (n) std::memcpy(bytes_.data() + offset, buf, n);
  return Status::Ok();
}

Status MemoryFile::truncate(uint64_t length) {
  if (!writable_) return Status::Make(StatusKind::kReadOnly, "file is read-only", name_, 5);
  if (length > kLimit) return Status::IoError("disk full", name_, kOsDiskFull);
  bytes_.resize(length);
  return Status::Ok();
}

}  // namespace pv
