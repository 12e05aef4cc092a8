// MemoFile: an open FPT, DBT or SMT memo file — reading and writing memo values by block number,
// the free list, shared-use locking, emptying and packing.
//
// No state is cached between writes: every write re-reads the header and the free list under an
// exclusive lock of byte 0 (shared use), so several processes can write one memo file. Reads
// take no lock; the table's record lock serialises writers of one record.
//
//   std::unique_ptr<pv::memo::MemoFile> m;
//   pv::Status st = pv::memo::MemoFile::Create("PRODUCT.FPT", {}, &m);
//   uint32_t block = 0;
//   st = m->write(0, 0, {pv::memo::kTypeText, "Hello"}, &block);
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "dbf/dbf_format.h"
#include "dbfFPT/memo_format.h"
#include "dbfFPT/memo_free_list.h"
#include "fs/file_handle.h"

namespace pv::memo {

struct MemoCreateOptions {
  int memo_type = dbf::kMemoFpt;
  int version = 3;            // FPT only; SMT is always 2 and DBT 1
  uint32_t block_size = 0;    // 0: 512 DBT, 32 SMT, 64 FPT
  bool blob = false;          // a BLOB file: FPT version 3, block size also at 540
};

struct MemoOpenOptions {
  int memo_type = dbf::kMemoFpt;
  bool shared = false;
  bool read_only = false;
  bool blob = false;
};

struct MemoValue {
  uint32_t type = kTypeText;  // BlockType; SMT keeps it in the record
  std::string data;
};

class MemoFile {
 public:
  // Creates (or empties) a memo file. A memo type outside 1–3 is kBadArgument with subcode
  // 1056; a failed create 1005 with retry allowed.
  static Status Create(std::string_view path, const MemoCreateOptions& options,
                       std::unique_ptr<MemoFile>* out);
  static Status CreateHandle(FilePtr file, const MemoCreateOptions& options,
                             std::unique_ptr<MemoFile>* out);
  // Opens a memo file: 1002 with retry and default when it cannot be opened; a block size of 0
  // is kCorrupt 1012.
  static Status Open(std::string_view path, const MemoOpenOptions& options,
                     std::unique_ptr<MemoFile>* out);
  static Status OpenHandle(FilePtr file, const MemoOpenOptions& options,
                           std::unique_ptr<MemoFile>* out);

  int memoType() const { return memo_type_; }
  int version() const { return version_; }
  uint32_t blockSize() const { return block_size_; }
  uint32_t headerSize() const { return header_size_; }
  uint32_t firstBlock() const { return (header_size_ + block_size_ - 1) / block_size_; }
  FileHandle* file() { return file_.get(); }
  const std::string& fileName() const { return file_->name(); }

  // Reads the memo at `block` (0: empty). `smt_length` is the length an SMT record keeps. Blocks
  // inside the header are kCorrupt 1012; data beyond the end of the file is a read error 1010.
  Status read(uint32_t block, uint32_t smt_length, MemoValue* out);
  // The length of the memo at `block` without reading it (DBT: scanned).
  Status length(uint32_t block, uint32_t smt_length, uint32_t* out);

  // Writes `value`, freeing the blocks of the old value at `old_block` (SMT: of `old_length`),
  // and gives the new block number (0 for an empty value). DBT and versions 1 and 4 take only
  // text and binary values (others: 1020). A failed write is 1011; a refused lock 1038.
  Status write(uint32_t old_block, uint32_t old_length, const MemoValue& value,
               uint32_t* new_block);
  // Frees the blocks of the value at `block` (SMT: of `smt_length`) once no stored record refers
  // to it any more. Tables write a new value with `write(0, 0, …)` and free the old one only
  // after the record with the new reference is in the file: a process stopped in between leaves
  // unused blocks, never a committed record whose blocks were given to another value.
  Status release(uint32_t block, uint32_t smt_length);

  // Empties the file: a fresh header of the same type, version and block size.
  Status zap();

  // Copies every byte of `from` over this file and cuts it to the same size.
  Status replaceContents(FileHandle* from);

 private:
  MemoFile() = default;
  // A handle on `file` with its memo type checked (the memo-only driver always uses FPT).
  static Status NewHandle(FilePtr file, bool blob, int memo_type, std::unique_ptr<MemoFile>* out);
  Status readHeader();
  Status writeFreshHeader();
  Status writeLocked(uint32_t old_block, uint32_t old_length, const MemoValue& value,
                     uint32_t* new_block);
  uint32_t blocksFor(uint32_t length) const;
  // Adds the run of the value at `block` to `list`; a damaged reference frees nothing.
  void releaseRun(FreeList& list, uint32_t block, uint32_t smt_length);
  Status oldRunLength(uint32_t block, uint32_t smt_length, uint32_t* blocks);
  Status writeData(uint32_t block, const MemoValue& value);
  uint32_t decode32(const uint8_t* p) const;
  void encode32(uint8_t* p, uint32_t v) const;
  bool fpt() const { return memo_type_ == dbf::kMemoFpt; }

  FilePtr file_;
  int memo_type_ = dbf::kMemoFpt;
  int version_ = 3;
  uint32_t block_size_ = 64;
  uint32_t header_size_ = kSmallHeader;
  bool shared_ = false, read_only_ = false, blob_ = false;
  friend class MemoHeader;  // reads and writes the header and free list of this file
};

}  // namespace pv::memo
