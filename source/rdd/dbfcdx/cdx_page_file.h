// The file under an index: read and write bytes at an offset, size, truncate, byte-range
// locks, commit. Two backends: an in-memory file (tests, fuzzing) and a POSIX file (pread,
// pwrite, open-file-description locks so that locks belong to the handle); and a page cache
// over either for files in exclusive use.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cdx_status.h"

namespace pv::cdx {

class CdxPageFile {
 public:
  virtual ~CdxPageFile() = default;
  // Reads exactly len bytes at off. A short read is a failure (kCdxReadFailed).
  virtual CdxStatus read(uint64_t off, void* buf, size_t len) = 0;
  // Writes len bytes at off, growing the file as needed.
  virtual CdxStatus write(uint64_t off, const void* buf, size_t len) = 0;
  virtual uint64_t size() = 0;
  virtual CdxStatus truncate(uint64_t size) = 0;
  // Locks len bytes at off, shared or exclusive. With wait the call blocks until granted;
  // without it a conflicting lock gives kCdxLockRefused.
  virtual CdxStatus lock(uint64_t off, uint64_t len, bool shared, bool wait) = 0;
  virtual CdxStatus unlock(uint64_t off, uint64_t len) = 0;
  // Flushes the operating system's buffers to disk.
  virtual CdxStatus sync() = 0;
  // Whether a read without any lock sees every write another handle finished before it
  // began: true on a local file system; false where only locks bring a client's cache up to
  // date (network file systems) or the kind is unknown.
  virtual bool readsCurrentWithoutLock() { return false; }
};

// Whether the file (or folder) at path is on a local file system, where every handle reads
// the same page cache (see CdxPageFile::readsCurrentWithoutLock).
bool cdxOnLocalFileSystem(const std::string& path);

// A file held in memory. Locks always succeed. Optionally fails the n-th write (counting
// from 1) to test failure paths.
class CdxMemFile : public CdxPageFile {
 public:
  CdxMemFile() = default;
  explicit CdxMemFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  CdxStatus read(uint64_t off, void* buf, size_t len) override;
  CdxStatus write(uint64_t off, const void* buf, size_t len) override;
  uint64_t size() override { return bytes_.size(); }
  CdxStatus truncate(uint64_t size) override;
  CdxStatus lock(uint64_t, uint64_t, bool, bool) override { return {}; }
  CdxStatus unlock(uint64_t, uint64_t) override { return {}; }
  CdxStatus sync() override { return {}; }
  bool readsCurrentWithoutLock() override { return true; }

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  void failWriteNumber(int n) { failAt_ = n; }
  int writes() const { return writes_; }

 private:
  std::vector<uint8_t> bytes_;
  int writes_ = 0;
  int failAt_ = 0;
};

// A POSIX file descriptor, owned (closed on destruction).
class CdxPosixFile : public CdxPageFile {
 public:
  explicit CdxPosixFile(int fd) : fd_(fd) {}
  ~CdxPosixFile() override;
  CdxPosixFile(const CdxPosixFile&) = delete;
  CdxPosixFile& operator=(const CdxPosixFile&) = delete;

  // Opens (and with create, creates) a file read-write or read-only.
  static CdxStatus open(const std::string& path, bool create, bool readOnly,
                        std::unique_ptr<CdxPosixFile>& out);
  // An anonymous temporary file in $TMPDIR (or /tmp), deleted when closed.
  static CdxStatus temporary(std::unique_ptr<CdxPosixFile>& out);

  CdxStatus read(uint64_t off, void* buf, size_t len) override;
  CdxStatus write(uint64_t off, const void* buf, size_t len) override;
  uint64_t size() override;
  CdxStatus truncate(uint64_t size) override;
  CdxStatus lock(uint64_t off, uint64_t len, bool shared, bool wait) override;
  CdxStatus unlock(uint64_t off, uint64_t len) override;
  CdxStatus sync() override;
  bool readsCurrentWithoutLock() override;

 private:
  int fd_;
};

// Keeps the 512-byte pages read from another file (up to 32 MB; when full, any one page
// makes room) so that reading them again costs no system call. Only for a file no other
// handle changes: writes go through to the file (a whole page written stays cached, a partial
// write drops the pages it touches); truncating drops all.
class CdxCachedFile : public CdxPageFile {
 public:
  explicit CdxCachedFile(std::unique_ptr<CdxPageFile> file) : file_(std::move(file)) {}
  CdxStatus read(uint64_t off, void* buf, size_t len) override;
  CdxStatus write(uint64_t off, const void* buf, size_t len) override;
  uint64_t size() override { return file_->size(); }
  CdxStatus truncate(uint64_t size) override;
  CdxStatus lock(uint64_t off, uint64_t len, bool shared, bool wait) override {
    return file_->lock(off, len, shared, wait);
  }
  CdxStatus unlock(uint64_t off, uint64_t len) override { return file_->unlock(off, len); }
  CdxStatus sync() override { return file_->sync(); }
  bool readsCurrentWithoutLock() override { return false; }  // it serves what it kept

 private:
  std::unique_ptr<CdxPageFile> file_;
  std::unordered_map<uint64_t, std::array<uint8_t, 512>> pages_;  // by page offset
};

}  // namespace pv::cdx
