// Where the byte-range locks of shared tables lie: the five lock schemes.
//
// Locks lie far beyond the end of the data file, so they never hide data from readers. Each
// scheme has a base offset, a pool size and a direction:
//
//   SCHEME                       BASE                  POOL         DIR  RECORD LOCK AT
//   1, 2                         1,000,000,000         1,000,000,000  +1  base + recno
//   3, with a structural index   0x7FFFFFFE            0x07FFFFFF    −1  base − recno
//   3, other tables              0x40000000            0x3FFFFFFD     2  base + header length +
//                                                                        (recno − 1) × rec length
//   4                            4,000,000,000         294,967,295   +1  base + recno
//   5                            0x7FFFFFFF00000001    0x7FFFFFFE    +1  base + recno
//
// Record locks are one byte. The file lock covers `pool` bytes from base + 1 (direction −1: from
// base − pool). The header lock, which is also the append lock, is the byte at base.
//
// Index files take their read and write locks at a place of their own:
//
//   SCHEME  OFFSET                POOL
//   1       1,000,000,000         none
//   2, 4    0xFFFEFFFF            65536
//   3       0x7FFFFFFE            none
//   5       0x7FFFFFFF00000001    none
//
// Without a pool a lock is one byte at the offset. With a pool an exclusive lock covers the
// offset and the whole pool (pool + 1 bytes); a shared lock takes one byte at offset + a random
// position 1…pool, remembered so the unlock frees the same byte.
#pragma once

#include <cstdint>

#include "fs/file_handle.h"

namespace pv::dbf {

struct LockPlace {
  uint64_t base = 0;
  uint64_t pool = 0;
  int direction = 1;  // +1, −1, or 2 (record locks at the record's own byte offset)
};

struct LockRange {
  uint64_t offset = 0;
  uint64_t length = 0;
};

// The place of scheme 1–5 (0 counts as 1); false for any other scheme.
bool TableLockPlace(int scheme, bool has_structural_index, LockPlace* out);

LockRange RecordLockRange(const LockPlace& p, uint32_t recno, uint32_t header_length,
                          uint32_t record_length);
LockRange FileLockRange(const LockPlace& p);
LockRange HeaderLockRange(const LockPlace& p);

// The index lock place of a scheme; false when the scheme has none.
bool IndexLockPlace(int scheme, uint64_t* offset, uint64_t* pool);

// IndexLock: the read (shared) and write (exclusive) locks of an index file.
class IndexLock {
 public:
  // Fails (kBadArgument) for a scheme without an index lock place.
  Status init(int scheme);
  // Takes the lock; `wait` repeats the request until granted.
  Status lock(FileHandle* file, LockType type, bool wait);
  // Releases the lock taken last.
  Status unlock(FileHandle* file);

 private:
  uint64_t offset_ = 0, pool_ = 0;
  LockRange held_;
  uint32_t seed_ = 0x2545F491u;
};

}  // namespace pv::dbf
