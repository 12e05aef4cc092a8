// DbfTable: records by number, appending, header writes, pack and zap.
#include "dbf/dbf_table.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "dbf/dbf_cipher.h"
#include "dbf/dbf_codec.h"
#include "fs/coding.h"

namespace pv::dbf {
namespace {

constexpr size_t kCacheBytes = 128 * 1024;
constexpr size_t kJumpBytes = 4 * 1024;

Status WriteFailure(Status st) { return std::move(st.sub(kSubWrite)); }

}  // namespace

DbfTable::~DbfTable() {
  if (file_) close();
}

int DbfTable::fieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    const std::string& n = fields_[i].name;
    if (n.size() == name.size() &&
        std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
          return std::toupper(uint8_t(a)) == std::toupper(uint8_t(b));
        })) {
      return int(i);
    }
  }
  return -1;
}

void DbfTable::blankRecord(uint8_t* buf) const { BlankRecord(fields_, buf, record_length_); }

void DbfTable::setKey(const uint8_t* key) {
  std::memset(key_, 0, sizeof key_);
  has_key_ = key != nullptr;
  if (key) std::memcpy(key_, key, sizeof key_);
}

const uint8_t* DbfTable::storedForm(const uint8_t* buf) {
  if (!encrypted_ || !has_key_) return buf;
  cipher_.assign(buf, buf + record_length_);
  EncipherRecord(key_, cipher_.data(), record_length_);
  return cipher_.data();
}

void DbfTable::plainForm(uint8_t* buf) const {
  if (encrypted_ && has_key_) DecipherRecord(key_, buf, record_length_);
}

Status DbfTable::refreshRecordCount() {
  Status st = flushPending();
  if (!st.ok()) return st;
  uint64_t size = 0;
  st = file_->size(&size);
  if (!st.ok()) return std::move(st.sub(kSubRead));
  uint64_t n = size > header_length_ ? (size - header_length_) / record_length_ : 0;
  record_count_ = uint32_t(std::min<uint64_t>(n, 0xFFFFFFFFu));
  return Status::Ok();
}

Status DbfTable::readRecord(uint32_t recno, uint8_t* buf) {
  if (recno > record_count_ && shared_) {
    Status st = refreshRecordCount();
    if (!st.ok()) return st;
  }
  if (recno == 0 || recno > record_count_) {
    return Status::BadArgument("record " + std::to_string(recno) + " is outside the table",
                               fileName());
  }
  uint64_t offset = header_length_ + uint64_t(recno - 1) * record_length_;
  // The read-ahead window may serve a record only while no other process can change one: in
  // exclusive use, and in shared use while this handle holds the file lock (taking it empties
  // the window, so nothing read before it is served; every other writer needs a record lock or
  // the append lock and a lock of the new record, all refused meanwhile; our own writes go
  // through the window), and in a scan that asked for it (setScanReadAhead). Otherwise each
  // read goes to the file, so a record another process committed before the read began is
  // always seen.
  if (shared_ && !file_locked_ && !scan_read_ahead_) {
    Status st = file_->readExact(offset, buf, record_length_, "short record read");
    if (!st.ok()) return std::move(st.sub(kSubRead));
    plainForm(buf);
    return st;
  }
  if (inPending(recno)) {
    std::memcpy(buf, pending_.data() + uint64_t(recno - pending_first_) * record_length_,
                record_length_);
    plainForm(buf);
    return Status::Ok();
  }
  if (offset < cache_offset_ || offset + record_length_ > cache_offset_ + cache_.size()) {
    Status st = fillCache(recno);
    if (!st.ok()) return st;
  }
  last_read_ = recno;
  std::memcpy(buf, cache_.data() + (offset - cache_offset_), record_length_);
  plainForm(buf);
  return Status::Ok();
}

void DbfTable::setScanReadAhead(bool on) {
  scan_read_ahead_ = on;
  if (!on && shared_ && !file_locked_) cache_.clear();
}

Status DbfTable::fillCache(uint32_t recno) {
  bool forward = recno == last_read_ + 1, backward = recno + 1 == last_read_;
  size_t bytes = forward || backward ? kCacheBytes : kJumpBytes;
  uint32_t span = uint32_t(std::max<size_t>(bytes / record_length_, 1));
  uint32_t on_disk = pending_.empty() ? record_count_ : pending_first_ - 1;
  uint32_t first = backward && recno > span ? recno - span + 1 : (backward ? 1 : recno);
  uint32_t last = std::min(on_disk, first + span - 1);
  cache_offset_ = header_length_ + uint64_t(first - 1) * record_length_;
  cache_.resize(size_t(last - first + 1) * record_length_);
  Status st = file_->readExact(cache_offset_, cache_.data(), cache_.size(), "short record read");
  if (!st.ok()) cache_.clear();
  return st.ok() ? st : std::move(st.sub(kSubRead));
}

void DbfTable::cacheStore(uint64_t offset, const uint8_t* data, size_t n) {
  uint64_t lo = std::max(offset, cache_offset_);
  uint64_t hi = std::min(offset + n, cache_offset_ + cache_.size());
  if (lo < hi) std::memcpy(cache_.data() + (lo - cache_offset_), data + (lo - offset), hi - lo);
}

Status DbfTable::writeRecord(uint32_t recno, const uint8_t* buf) {
  if (read_only_) {
    return Status::Make(StatusKind::kReadOnly, "table is read-only", fileName(), 5).sub(kSubReadOnly);
  }
  if (recno == 0 || recno > record_count_) {
    return Status::BadArgument("record " + std::to_string(recno) + " is outside the table",
                               fileName());
  }
  buf = storedForm(buf);
  if (inPending(recno)) {
    std::memcpy(pending_.data() + uint64_t(recno - pending_first_) * record_length_, buf,
                record_length_);
    return Status::Ok();
  }
  uint64_t offset = header_length_ + uint64_t(recno - 1) * record_length_;
  Status st = file_->writeAt(offset, buf, record_length_);
  if (!st.ok()) {
    cache_.clear();
    return WriteFailure(std::move(st));
  }
  cacheStore(offset, buf, record_length_);
  return Status::Ok();
}

Status DbfTable::writeRecordAndEof(uint32_t recno, const uint8_t* buf) {
  buf = storedForm(buf);
  scratch_.assign(buf, buf + record_length_);
  scratch_.push_back(kEofByte);
  uint64_t offset = header_length_ + uint64_t(recno - 1) * record_length_;
  Status st = file_->writeAt(offset, scratch_.data(), scratch_.size());
  cache_.clear();
  return st.ok() ? st : WriteFailure(std::move(st));
}

Status DbfTable::flushPending() {
  if (pending_.empty()) return Status::Ok();
  pending_.push_back(kEofByte);
  uint64_t offset = header_length_ + uint64_t(pending_first_ - 1) * record_length_;
  Status st = file_->writeAt(offset, pending_.data(), pending_.size());
  pending_.clear();
  cache_.clear();
  if (st.ok()) return st;
  record_count_ = pending_first_ - 1;  // those records never reached the file
  return WriteFailure(std::move(st));
}

Status DbfTable::reloadDescriptor(size_t i) {
  uint64_t offset = kHeaderSize + i * kDescriptorSize;
  Status st = file_->readExact(offset, header_.data() + offset, kDescriptorSize,
                               "short field descriptor read");
  return st.ok() ? st : std::move(st.sub(kSubRead));
}

Status DbfTable::writeDescriptor(size_t i, uint32_t next_value) {
  uint64_t offset = kHeaderSize + i * kDescriptorSize;
  EncodeLE32(header_.data() + offset + kDescAutoIncNext, next_value);
  if (!shared_) {  // written with the header
    descriptors_due_ = header_due_ = true;
    return Status::Ok();
  }
  Status st = file_->writeAt(offset, header_.data() + offset, kDescriptorSize);
  return st.ok() ? st : WriteFailure(std::move(st));
}

Status DbfTable::assignAutoIncrement(uint8_t* buf) {
  if (!has_autoinc_) return Status::Ok();
  for (size_t i = 0; i < fields_.size(); ++i) {
    const Field& f = fields_[i];
    if (!f.autoIncrements()) continue;
    if (shared_) {
      Status st = reloadDescriptor(i);  // another process may have counted on
      if (!st.ok()) return st;
    }
    uint32_t value = DecodeLE32(header_.data() + kHeaderSize + i * kDescriptorSize + kDescAutoIncNext);
    if (f.type == FieldType::kAutoInc) {
      PutInteger(f, buf, int32_t(value));
    } else {
      PutNumber(f, buf, double(int32_t(value)));  // N, F, I (scaled by its decimals), B
    }
    Status st = writeDescriptor(i, value + (f.step ? f.step : 1));  // step 0 would repeat ids
    if (!st.ok()) return st;
  }
  return Status::Ok();
}

Status DbfTable::nextRowVersion(const Field& f, uint64_t* out) {
  size_t i = size_t(&f - fields_.data());
  if (i >= fields_.size() || f.type != FieldType::kRowVersion) {
    return Status::BadArgument("not a row-version field", fileName());
  }
  bool take = shared_ && !file_locked_ && !header_locked_;
  if (take) {
    Status st = lockHeader();
    if (!st.ok()) return st;
  }
  Status st = shared_ ? reloadDescriptor(i) : Status::Ok();
  uint8_t* d = header_.data() + kHeaderSize + i * kDescriptorSize;
  if (st.ok()) {
    *out = DecodeLE64(d + kDescRowVersion) + 1;
    EncodeLE64(d + kDescRowVersion, *out);
    st = file_->writeAt(kHeaderSize + i * kDescriptorSize, d, kDescriptorSize);
    if (!st.ok()) st = WriteFailure(std::move(st));
  }
  if (take) unlockHeader();
  return st;
}

Status DbfTable::append(uint8_t* buf, uint32_t* recno) {
  if (read_only_) {
    return Status::Make(StatusKind::kReadOnly, "table is read-only", fileName(), 5).sub(kSubReadOnly);
  }
  bool took_header = false;
  if (shared_ && !header_locked_) {
    Status st = lockHeader();
    if (!st.ok()) return std::move(st.sub(kSubAppendLock, kCanDefault));
    took_header = true;
  }
  auto release = [&](Status st) {
    if (took_header) unlockHeader();
    return st;
  };
  if (shared_) {
    Status st = refreshRecordCount();
    if (!st.ok()) return release(std::move(st));
  }
  uint32_t n = record_count_ + 1;
  if (shared_ && !file_locked_ && !recordLocked(n)) {
    Status st = lockRecord(n);
    if (!st.ok()) return release(std::move(st.sub(kSubAppendLock, kCanDefault)));
  }
  Status st = assignAutoIncrement(buf);
  if (!st.ok()) return release(std::move(st));
  if (!shared_) {
    if (pending_.empty()) pending_first_ = n;
    const uint8_t* stored = storedForm(buf);
    pending_.insert(pending_.end(), stored, stored + record_length_);
    record_count_ = *recno = n;
    header_due_ = true;
    return pending_.size() >= kCacheBytes ? flushPending() : Status::Ok();
  }
  st = writeRecordAndEof(n, buf);
  if (!st.ok()) return release(std::move(st));
  record_count_ = *recno = n;
  header_due_ = true;
  return release(writeHeader());
}

void DbfTable::setUpdateDate(int year, int month, int day) {
  update_year_ = year, update_month_ = month, update_day_ = day;
}

void DbfTable::stampHeader() {
  int y = update_year_, m = update_month_, d = update_day_;
  if (y == 0) {
    time_t now = ::time(nullptr);
    struct tm tm;
    ::localtime_r(&now, &tm);
    y = tm.tm_year + 1900, m = tm.tm_mon + 1, d = tm.tm_mday;
  }
  header_[kHdrYear] = uint8_t((y - 1900) & 0xFF);
  header_[kHdrMonth] = uint8_t(m);
  header_[kHdrDay] = uint8_t(d);
  EncodeLE32(header_.data() + kHdrRecordCount, record_count_);
}

Status DbfTable::writeHeader() {
  if (read_only_) {
    return Status::Make(StatusKind::kReadOnly, "table is read-only", fileName(), 5).sub(kSubReadOnly);
  }
  Status st = shared_ ? refreshRecordCount() : flushPending();
  if (!st.ok()) return st;
  stampHeader();
  // The descriptors follow the header, so one write takes both when auto-increment values moved.
  st = file_->writeAt(0, header_.data(), descriptors_due_ ? header_.size() : kHeaderSize);
  if (!st.ok()) return WriteFailure(std::move(st));
  header_due_ = descriptors_due_ = false;
  return Status::Ok();
}

Status DbfTable::setTableFlags(uint8_t flags) {
  header_[kHdrFlags] = flags;
  TableLockPlace(lock_scheme_, flags & kFlagStructuralIndex, &place_);
  return writeHeader();
}

Status DbfTable::flush(bool hard_commit) {
  if (header_due_) {
    Status st = writeHeader();
    if (!st.ok()) return st;
  }
  if (!hard_commit || read_only_) return Status::Ok();
  Status st = file_->commit();
  return st.ok() ? st : WriteFailure(std::move(st));
}

Status DbfTable::checkExclusiveWritable() const {
  if (read_only_) {
    return Status::Make(StatusKind::kReadOnly, "table is read-only", fileName(), 5).sub(kSubReadOnly);
  }
  if (shared_) {
    return Status::Make(StatusKind::kExclusiveRequired, "exclusive use required", fileName())
        .sub(kSubExclusiveRequired);
  }
  return Status::Ok();
}

Status DbfTable::cutAfterRecords() {
  uint64_t end = header_length_ + uint64_t(record_count_) * record_length_;
  Status st = file_->truncate(end);
  uint8_t eof = kEofByte;
  if (st.ok()) st = file_->writeAt(end, &eof, 1);
  cache_.clear();
  return st.ok() ? st : WriteFailure(std::move(st));
}

Status DbfTable::pack(const PackFilter& filter, const PackProgress& progress, uint32_t step) {
  Status st = checkExclusiveWritable();
  if (!st.ok()) return st;
  if (step == 0) step = 1;
  st = flushPending();
  if (!st.ok()) return st;
  std::vector<uint8_t> rec(record_length_);
  uint32_t kept = 0, since_progress = 0;
  for (uint32_t n = 1; n <= record_count_; ++n) {
    st = readRecord(n, rec.data());
    if (!st.ok()) return st;
    PackAction action = filter ? filter(n, rec.data())
                               : (rec[0] == kDeletedFlag ? PackAction::kDrop : PackAction::kKeep);
    if (action != PackAction::kDrop) {
      ++kept;
      if (kept != n || action == PackAction::kKeepChanged) {
        st = writeRecord(kept, rec.data());
        if (!st.ok()) return st;
      }
    }
    if (progress && ++since_progress == step) {
      progress(n);
      since_progress = 0;
    }
  }
  if (progress && since_progress) progress(record_count_);
  if (kept != record_count_) {
    record_count_ = kept;
    st = cutAfterRecords();
    if (st.ok()) st = writeHeader();
  }
  return st;
}

Status DbfTable::recipher(const uint8_t* key) {
  Status st = checkExclusiveWritable();
  if (!st.ok()) return st;
  bool to = key != nullptr;
  if (table_type_ != kTableDbf || encrypted_ == to || (!to && !has_key_)) {
    return Status::BadArgument(to ? "table cannot be encrypted" : "table cannot be decrypted",
                               fileName());
  }
  st = flushPending();
  if (to) setKey(key);
  std::vector<uint8_t> rec(record_length_);
  for (uint32_t r = 1; r <= record_count_ && st.ok(); ++r) {
    encrypted_ = !to;  // read in the old form, write in the new one
    st = readRecord(r, rec.data());
    encrypted_ = to;
    if (st.ok()) st = writeRecord(r, rec.data());
  }
  encrypted_ = to;
  header_[kHdrVersion] = EncodeVersion(table_type_, memo_type_, to, has_autoinc_);
  return st.ok() ? writeHeader() : st;
}

Status DbfTable::zap() {
  Status st = checkExclusiveWritable();
  if (!st.ok()) return st;
  pending_.clear();
  for (size_t i = 0; i < fields_.size() && st.ok(); ++i) {
    if (fields_[i].autoIncrements()) st = writeDescriptor(i, 0);
  }
  record_count_ = 0;
  if (st.ok()) st = cutAfterRecords();
  if (st.ok()) st = writeHeader();
  return st;
}

Status DbfTable::close() {
  if (!file_) return Status::Ok();
  Status st = Status::Ok();
  if (file_locked_) unlockFile();
  unlockAllRecords();
  if (header_locked_) unlockHeader();
  if (header_due_ && !read_only_) st = writeHeader();
  setKey(nullptr);
  file_.reset();
  return st;
}

}  // namespace pv::dbf
