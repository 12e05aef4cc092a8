// MemoryFile: a FileHandle over bytes in memory, for fuzzing and tests that need no disk.
//
// Locks are granted at once (there is no other handle to conflict with); commit does nothing.
#pragma once

#include <vector>

#include "file_handle.h"

namespace pv {

class MemoryFile final : public FileHandle {
 public:
  explicit MemoryFile(std::vector<uint8_t> bytes, std::string name = "memory",
                      bool writable = true)
      : bytes_(std::move(bytes)), name_(std::move(name)), writable_(writable) {}

  Status readAt(uint64_t offset, void* buf, size_t n, size_t* got) override;
  Status writeAt(uint64_t offset, const void* buf, size_t n) override;
  Status size(uint64_t* out) override {
    *out = bytes_.size();
    return Status::Ok();
  }
  Status truncate(uint64_t length) override;
  Status commit() override { return Status::Ok(); }
  Status lock(uint64_t, uint64_t, LockType, bool) override { return Status::Ok(); }
  Status unlock(uint64_t, uint64_t) override { return Status::Ok(); }
  const std::string& name() const override { return name_; }
  int descriptor() const override { return -1; }

  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  // Writes beyond this size fail as a full disk would, so damaged offsets cannot exhaust memory.
  static constexpr uint64_t kLimit = 64ull << 20;

  std::vector<uint8_t> bytes_;
  std::string name_;
  bool writable_;
};

}  // namespace pv
