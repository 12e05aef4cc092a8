// DbfTable: one open DBF file — its header and descriptors, its records by number, appending,
// the shared-use locks, pack and zap at file level.
//
// Records are numbered from 1. The table keeps no current record: the work-area driver above it
// owns the record buffer, the position and the hot/cold protocol and calls these operations.
//
// Use and lock states of one table:
//
//   exclusive ──── every lock request succeeds at once; nothing is locked in the file
//   shared ─┬─ unlocked ──lockRecord(n)──▶ records locked {n, ...} ──unlockRecord──▶ ...
//           ├─ any ──lockFile──▶ file locked (record locks then always succeed)
//           └─ any ──lockHeader (waits)──▶ header held ──unlockHeader──▶ as before
//
// In shared use records are read from the file at each read, except while the file lock is held
// (then no other process may write one, and walks read ahead as in exclusive use).
// In shared use the record count is re-read from the file size by refreshRecordCount (and before
// reading past the known end, and when appending), so records other processes append appear.
// The header is written when the count changed: at once after each shared append, at flush or
// close in exclusive use. In exclusive use appended records are collected in memory (up to 128 KB)
// and written together, at flush and close at the latest; a write failure there is reported by
// that call and the records that did not reach the file are no longer counted.
//
//   std::unique_ptr<pv::dbf::DbfTable> t;
//   pv::Status st = pv::dbf::DbfTable::Open("PRODUCT.DBF", {.shared = true}, &t);
//   std::vector<uint8_t> rec(t->recordLength());
//   st = t->readRecord(1, rec.data());
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/dbf_field.h"
#include "dbf/dbf_lock.h"
#include "fs/file_handle.h"

namespace pv::dbf {

struct OpenOptions {
  bool shared = false;
  bool read_only = false;
  int lock_scheme = 0;  // 0 means scheme 1
};

struct CreateOptions {
  int table_type = kTableDbf;
  int memo_type = kMemoNone;
  bool encrypted = false;
  int lock_scheme = 0;
};

// What pack does with one record; the filter may rewrite the record (memo references).
enum class PackAction { kDrop, kKeep, kKeepChanged };
using PackFilter = std::function<PackAction(uint32_t recno, uint8_t* rec)>;
using PackProgress = std::function<void(uint32_t records_done)>;

// The version byte for a table of this type, memo type, encryption and auto-increment fields.
uint8_t EncodeVersion(int table_type, int memo_type, bool encrypted, bool autoinc);

class DbfTable {
 public:
  ~DbfTable();
  DbfTable(const DbfTable&) = delete;
  DbfTable& operator=(const DbfTable&) = delete;

  // Opens a table file. A missing file, a share conflict (OS code 32) or a refused access is
  // kSubOpen 1001 with retry and default allowed; damaged headers and descriptors give
  // kCorrupt with subcode 1012.
  static Status Open(std::string_view path, const OpenOptions& options,
                     std::unique_ptr<DbfTable>* out);
  // The same over a handle already open (tests wrap handles in FaultFile).
  static Status OpenHandle(FilePtr file, const OpenOptions& options,
                           std::unique_ptr<DbfTable>* out);

  // Creates (or empties) a table file with `fields` and keeps it open exclusively. A bad field
  // list is kBadArgument; too many or too long fields kDataWidth; a failed create 1004.
  static Status Create(std::string_view path, const std::vector<FieldSpec>& fields,
                       const CreateOptions& options, std::unique_ptr<DbfTable>* out);
  static Status CreateHandle(FilePtr file, const std::vector<FieldSpec>& fields,
                             const CreateOptions& options, std::unique_ptr<DbfTable>* out);

  // Structure.
  const std::vector<Field>& fields() const { return fields_; }
  const Field* nullFlags() const { return null_flags_; }
  // 0-based position of the field named `name` (any case), or -1.
  int fieldIndex(std::string_view name) const;
  uint32_t headerLength() const { return header_length_; }
  uint32_t recordLength() const { return record_length_; }
  int tableType() const { return table_type_; }
  int memoType() const { return memo_type_; }
  uint8_t versionByte() const { return header_[kHdrVersion]; }
  uint8_t tableFlags() const { return header_[kHdrFlags]; }
  bool encrypted() const { return encrypted_; }
  bool hasAutoIncrement() const { return has_autoinc_; }
  bool shared() const { return shared_; }
  bool readOnly() const { return read_only_; }
  int lockScheme() const { return lock_scheme_; }
  const std::string& fileName() const { return file_->name(); }
  FileHandle* file() { return file_.get(); }
  // The bytes between the terminator and the first record (the backlink of other programs).
  std::string_view backlink() const;

  // Records.
  uint32_t recordCount() const { return record_count_; }
  // Re-reads the record count from the file size (whole records only).
  Status refreshRecordCount();
  // Reads record `recno` (1…count) into `buf` (recordLength bytes). A number outside the table
  // is kBadArgument; a short read 1010.
  Status readRecord(uint32_t recno, uint8_t* buf);
  // Lets a caller that reads every record once, in order, be served from the read-ahead window
  // in shared use too (an index build: key changes of other writers wait for the index lock the
  // build holds, so a record read a little early is still the one its key change will start
  // from). Turned off, the window is dropped.
  void setScanReadAhead(bool on);
  // Writes record `recno`. Read-only: 1025; a failed write 1011 (the record may be torn, the
  // others are intact).
  Status writeRecord(uint32_t recno, const uint8_t* buf);
  void blankRecord(uint8_t* buf) const;
  // Appends `buf` as record count + 1, giving its auto-increment fields their next values (in
  // `buf` too). Shared use: takes the append lock, re-reads the count, locks the new record
  // (which stays locked; refused: 1024 with default allowed), writes record and header at once
  // and releases the append lock. Exclusive use: the header is written at flush or close.
  Status append(uint8_t* buf, uint32_t* recno);
  // The next 64-bit row version for ^ fields (the counter in the field's descriptor, increased
  // and written back; under the header lock in shared use).
  Status nextRowVersion(const Field& f, uint64_t* out);

  // Writes the header when due and, with `hard_commit`, forces the file to disk.
  Status flush(bool hard_commit);
  // Writes the header now (date, record count).
  Status writeHeader();
  // Changes header byte 28 (the structural-index and memo bits) and writes the header.
  Status setTableFlags(uint8_t flags);
  // The date of the last update stored in the header (year 1900 + byte 1).
  void lastUpdate(int* year, int* month, int* day) const {
    *year = 1900 + header_[kHdrYear], *month = header_[kHdrMonth], *day = header_[kHdrDay];
  }
  // The date written as the last update; today unless set (for files compared byte by byte).
  void setUpdateDate(int year, int month, int day);

  // Pack: exclusive, writable use only (1023, 1025). Keeps the records the filter keeps (by
  // default those not deleted) in order, cuts the file, and calls `progress` every `step`
  // records (0 counts as 1) and once at the end when records were counted since.
  Status pack(const PackFilter& filter = {}, const PackProgress& progress = {}, uint32_t step = 0);
  // Zap: exclusive, writable use only; no records, auto-increment values reset to 0.
  Status zap();

  // Locks (see the state diagram above). A lock held elsewhere is kLockRefused.
  Status lockRecord(uint32_t recno);
  Status unlockRecord(uint32_t recno);
  Status unlockAllRecords();
  Status lockFile();
  Status unlockFile();
  Status lockHeader();  // waits until granted
  Status unlockHeader();
  bool recordLocked(uint32_t recno) const;
  bool fileLocked() const { return file_locked_; }
  bool headerLocked() const { return header_locked_; }
  const std::vector<uint32_t>& lockedRecords() const { return locked_; }

  // Encrypted tables: with a key set, records are deciphered on reading and enciphered on writing
  // (dbf_cipher.h); without one they pass as stored. nullptr forgets the key (zeroed first).
  void setKey(const uint8_t* key);
  bool hasKey() const { return has_key_; }
  // Rewrites every record enciphered under `key`, or deciphered under the table's key when
  // `key` is nullptr, then the header with the matching version byte. Exclusive, writable use
  // of a DBF-format table (1023, 1025); encrypting an encrypted table, or deciphering a plain
  // one or one without its key, is kBadArgument.
  Status recipher(const uint8_t* key);

  // Releases every lock, writes the header when due and closes the file.
  Status close();

 private:
  DbfTable() = default;
  Status load(const OpenOptions& options);
  Status loadDescriptors();
  void stampHeader();  // the update date and record count into header_
  Status writeDescriptor(size_t field_index, uint32_t next_value);
  Status reloadDescriptor(size_t field_index);
  Status assignAutoIncrement(uint8_t* buf);
  Status writeRecordAndEof(uint32_t recno, const uint8_t* buf);
  Status flushPending();
  // The bytes to store for record image `buf` (enciphered when a key is set).
  const uint8_t* storedForm(const uint8_t* buf);
  void plainForm(uint8_t* buf) const;
  bool inPending(uint32_t recno) const {
    return !pending_.empty() && recno >= pending_first_ &&
           recno - pending_first_ < pending_.size() / record_length_;
  }
  Status cutAfterRecords();
  Status checkExclusiveWritable() const;
  Status lockRange(const LockRange& r, bool wait);
  void cacheStore(uint64_t offset, const uint8_t* data, size_t n);
  // Fills the read-ahead window with the records around recno (the file holds them).
  Status fillCache(uint32_t recno);

  FilePtr file_;
  std::vector<uint8_t> header_;  // header_length bytes as read or written
  std::vector<Field> fields_;
  const Field* null_flags_ = nullptr;
  uint32_t header_length_ = 0, record_length_ = 0, record_count_ = 0;
  int table_type_ = kTableDbf, memo_type_ = kMemoNone, lock_scheme_ = 1;
  bool encrypted_ = false, shared_ = false, read_only_ = false, has_autoinc_ = false;
  bool header_due_ = false, descriptors_due_ = false, file_locked_ = false, header_locked_ = false;
  bool scan_read_ahead_ = false;
  int update_year_ = 0, update_month_ = 0, update_day_ = 0;
  LockPlace place_;
  std::vector<uint32_t> locked_;  // sorted record numbers
  // Read-ahead window for exclusive use, and for shared use under this handle's file lock or
  // in a scan (setScanReadAhead): file bytes [cache_offset_, + cache_.size()). A walk record by record (forward or back) fills
  // 128 KB at a time; a jump reads 4 KB.
  std::vector<uint8_t> cache_;
  uint64_t cache_offset_ = 0;
  uint32_t last_read_ = 0;  // the record read last, for telling walks from jumps
  // Records appended in exclusive use and not yet written: pending_first_, pending_first_ + 1, ...
  std::vector<uint8_t> pending_;
  uint32_t pending_first_ = 0;
  std::vector<uint8_t> scratch_;  // one record and the end-of-file byte
  std::vector<uint8_t> cipher_;   // one enciphered record
  uint8_t key_[8] = {};
  bool has_key_ = false;
};

}  // namespace pv::dbf
