// DbfTable: record, file and header locks in shared use.
#include <algorithm>

#include "dbf/dbf_table.h"

namespace pv::dbf {

Status DbfTable::lockRange(const LockRange& r, bool wait) {
  return file_->lock(r.offset, r.length, LockType::kExclusive, wait);
}

bool DbfTable::recordLocked(uint32_t recno) const {
  return std::binary_search(locked_.begin(), locked_.end(), recno);
}

Status DbfTable::lockRecord(uint32_t recno) {
  if (recordLocked(recno)) return Status::Ok();
  if (shared_ && !file_locked_) {
    Status st = lockRange(RecordLockRange(place_, recno, header_length_, record_length_), false);
    if (!st.ok()) return st;
  }
  locked_.insert(std::upper_bound(locked_.begin(), locked_.end(), recno), recno);
  cache_.clear();  // the next read must see the file's copy
  return Status::Ok();
}

Status DbfTable::unlockRecord(uint32_t recno) {
  auto it = std::lower_bound(locked_.begin(), locked_.end(), recno);
  if (it == locked_.end() || *it != recno) return Status::Ok();
  locked_.erase(it);
  if (!shared_ || file_locked_) return Status::Ok();
  LockRange r = RecordLockRange(place_, recno, header_length_, record_length_);
  return file_->unlock(r.offset, r.length);
}

Status DbfTable::unlockAllRecords() {
  Status result = Status::Ok();
  while (!locked_.empty()) {
    Status st = unlockRecord(locked_.back());
    if (!st.ok()) result = st;
  }
  return result;
}

Status DbfTable::lockFile() {
  if (file_locked_) return Status::Ok();
  Status st = unlockAllRecords();
  if (!st.ok()) return st;
  if (shared_) {
    st = lockRange(FileLockRange(place_), false);
    if (!st.ok()) return st;
  }
  file_locked_ = true;
  cache_.clear();
  return Status::Ok();
}

Status DbfTable::unlockFile() {
  if (!file_locked_) return Status::Ok();
  file_locked_ = false;
  locked_.clear();  // record locks taken while the file was locked hold no bytes
  cache_.clear();   // others may write again: the window is stale from now on
  if (!shared_) return Status::Ok();
  LockRange r = FileLockRange(place_);
  return file_->unlock(r.offset, r.length);
}

Status DbfTable::lockHeader() {
  if (header_locked_) return Status::Ok();
  if (shared_) {
    Status st = lockRange(HeaderLockRange(place_), true);
    if (!st.ok()) return st;
  }
  header_locked_ = true;
  return Status::Ok();
}

Status DbfTable::unlockHeader() {
  if (!header_locked_) return Status::Ok();
  header_locked_ = false;
  if (!shared_) return Status::Ok();
  LockRange r = HeaderLockRange(place_);
  return file_->unlock(r.offset, r.length);
}

}  // namespace pv::dbf
