// Lock places of the five lock schemes, and index-file locks.
#include "dbf/dbf_lock.h"

#include <unistd.h>

namespace pv::dbf {

bool TableLockPlace(int scheme, bool has_structural_index, LockPlace* out) {
  switch (scheme) {
    case 0:
    case 1:
    case 2: *out = {1000000000ull, 1000000000ull, 1}; return true;
    case 3:
      *out = has_structural_index ? LockPlace{0x7FFFFFFEull, 0x07FFFFFFull, -1}
                                  : LockPlace{0x40000000ull, 0x3FFFFFFDull, 2};
      return true;
    case 4: *out = {4000000000ull, 294967295ull, 1}; return true;
    case 5: *out = {0x7FFFFFFF00000001ull, 0x7FFFFFFEull, 1}; return true;
    default: return false;
  }
}

LockRange RecordLockRange(const LockPlace& p, uint32_t recno, uint32_t header_length,
                          uint32_t record_length) {
  switch (p.direction) {
    case -1: return {p.base - recno, 1};
    case 2: return {p.base + header_length + uint64_t(recno - 1) * record_length, 1};
    default: return {p.base + recno, 1};
  }
}

LockRange FileLockRange(const LockPlace& p) {
  return p.direction == -1 ? LockRange{p.base - p.pool, p.pool} : LockRange{p.base + 1, p.pool};
}

LockRange HeaderLockRange(const LockPlace& p) { return {p.base, 1}; }

bool IndexLockPlace(int scheme, uint64_t* offset, uint64_t* pool) {
  switch (scheme) {
    case 0:
    case 1: *offset = 1000000000ull, *pool = 0; return true;
    case 2:
    case 4: *offset = 0xFFFEFFFFull, *pool = 65536; return true;
    case 3: *offset = 0x7FFFFFFEull, *pool = 0; return true;
    case 5: *offset = 0x7FFFFFFF00000001ull, *pool = 0; return true;
    default: return false;
  }
}

Status IndexLock::init(int scheme) {
  if (!IndexLockPlace(scheme, &offset_, &pool_)) {
    return Status::BadArgument("lock scheme " + std::to_string(scheme) + " has no index lock");
  }
  seed_ ^= uint32_t(::getpid());
  return Status::Ok();
}

Status IndexLock::lock(FileHandle* file, LockType type, bool wait) {
  LockRange r{offset_, 1};
  if (pool_ && type == LockType::kExclusive) r.length = pool_ + 1;
  if (pool_ && type == LockType::kShared) {
    seed_ = seed_ * 1664525u + 1013904223u;
    r.offset += 1 + (seed_ >> 8) % pool_;
  }
  Status st = file->lock(r.offset, r.length, type, wait);
  if (st.ok()) held_ = r;
  return st;
}

Status IndexLock::unlock(FileHandle* file) {
  if (held_.length == 0) return Status::Ok();
  Status st = file->unlock(held_.offset, held_.length);
  held_ = {};
  return st;
}

}  // namespace pv::dbf
