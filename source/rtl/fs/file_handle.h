// FileHandle: the interface of an open file, as the table, memo and index layers use it.
//
// Offsets and lengths are bytes from the start of the file. Byte-range locks belong to the
// handle (as on Windows): two handles on one file, in one process or in two, conflict; closing
// a handle releases its locks. Locks may lie far beyond the end of the file.
//
// PosixFile (posix_file.h) is the real implementation; FaultFile (fault_file.h) wraps another
// handle and fails a chosen write or lock for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "status.h"

namespace pv {

enum class LockType : uint8_t { kShared, kExclusive };

class FileHandle {
 public:
  virtual ~FileHandle() = default;

  // Reads up to `n` bytes at `offset` into `buf`; `*got` receives the count read, which is
  // short only at the end of the file. Fails with kIoError when the system call fails.
  virtual Status readAt(uint64_t offset, void* buf, size_t n, size_t* got) = 0;

  // Writes all `n` bytes at `offset`, growing the file as needed. A short write (full disk) is
  // kIoError with OS code 112; a handle opened for reading only gives kReadOnly with code 5.
  virtual Status writeAt(uint64_t offset, const void* buf, size_t n) = 0;

  // The current size of the file in bytes.
  virtual Status size(uint64_t* out) = 0;

  // Cuts or extends the file to `length` bytes.
  virtual Status truncate(uint64_t length) = 0;

  // Forces written data to the disk (fdatasync).
  virtual Status commit() = 0;

  // Locks `length` bytes at `offset`. Without `wait` a lock held by another handle is
  // kLockRefused (OS code 33); with `wait` the call blocks until the lock is granted.
  virtual Status lock(uint64_t offset, uint64_t length, LockType type, bool wait) = 0;

  // Releases a lock taken with the same offset and length (releasing nothing is not an error).
  virtual Status unlock(uint64_t offset, uint64_t length) = 0;

  // The path the handle was opened with, after resolution; used in error messages.
  virtual const std::string& name() const = 0;

  // The operating-system descriptor, or -1 (for the language's low-level file functions).
  virtual int descriptor() const = 0;

  // Asks that reads be served from a mapping of the file where that gives the same bytes as a
  // read of the file (a local file system), saving a system call per read. Handles that cannot
  // map ignore it.
  virtual void mapForReads() {}

  // Reads exactly `n` bytes at `offset`; a short read is kIoError with `short_message`.
  Status readExact(uint64_t offset, void* buf, size_t n, const char* short_message);
};

using FilePtr = std::unique_ptr<FileHandle>;

}  // namespace pv
