// FaultFile: a FileHandle wrapper for tests that fails a chosen write or lock.
//
// Writes and locks are counted from 1. When the count reaches `fail_write_at`, that write fails
// as a full disk does (OS code 112); with `torn_write` the first half of its bytes reach the
// file first, as after a crash in the middle of a write. With `sticky` every later write fails
// too. Locks fail the same way at `fail_lock_at` (OS code 33). Everything else goes through.
//
//   auto faulty = std::make_unique<pv::FaultFile>(std::move(real), pv::FaultPlan{.fail_write_at = 3});
#pragma once

#include "file_handle.h"

namespace pv {

struct FaultPlan {
  int fail_write_at = 0;  // 0: never
  int fail_lock_at = 0;   // 0: never
  bool torn_write = false;
  bool sticky = false;
};

class FaultFile final : public FileHandle {
 public:
  FaultFile(FilePtr inner, FaultPlan plan) : inner_(std::move(inner)), plan_(plan) {}

  Status readAt(uint64_t offset, void* buf, size_t n, size_t* got) override {
    return inner_->readAt(offset, buf, n, got);
  }
  Status writeAt(uint64_t offset, const void* buf, size_t n) override;
  Status size(uint64_t* out) override { return inner_->size(out); }
  Status truncate(uint64_t length) override;
  Status commit() override { return inner_->commit(); }
  Status lock(uint64_t offset, uint64_t length, LockType type, bool wait) override;
  Status unlock(uint64_t offset, uint64_t length) override {
    return inner_->unlock(offset, length);
  }
  const std::string& name() const override { return inner_->name(); }
  int descriptor() const override { return inner_->descriptor(); }

  int writes() const { return writes_; }
  int locks() const { return locks_; }

 private:
  bool due(int count, int at) const { return at > 0 && (count == at || (plan_.sticky && count > at)); }

  FilePtr inner_;
  FaultPlan plan_;
  int writes_ = 0;
  int locks_ = 0;
};

}  // namespace pv
