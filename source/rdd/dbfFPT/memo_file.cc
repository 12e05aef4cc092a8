// MemoFile: creating, opening, reading and writing memo files.
#include "dbfFPT/memo_file.h"

#include <cstring>

#include "dbfFPT/memo_header.h"
#include "fs/coding.h"
#include "fs/posix_file.h"

namespace pv::memo {
namespace {

// Longest memo this layer reads into memory; longer lengths are taken as damage.
constexpr uint32_t kMaxMemo = 256u * 1024 * 1024;

// The memo type a file is made or opened with: 1-3, or FPT for the memo-only driver.
Status CheckMemoType(bool blob, int memo_type, const std::string& file) {
  if (blob || (memo_type >= 1 && memo_type <= 3)) return Status::Ok();
  return std::move(Status::BadArgument("memo type must be 1, 2 or 3", file).sub(kSubMemoType));
}

uint32_t DefaultBlockSize(int memo_type) {
  return memo_type == dbf::kMemoDbt ? 512 : memo_type == dbf::kMemoSmt ? 32 : 64;
}

// A lock of byte 0, taken only in shared use (nobody else has the file otherwise) and released
// when it goes out of scope.
class ByteZeroLock {
 public:
  ByteZeroLock(FileHandle* f, bool shared) : file_(f), shared_(shared) {}
  ~ByteZeroLock() {
    if (held_) file_->unlock(0, 1);
  }
  Status take(LockType type) {
    if (!shared_) return Status::Ok();
    Status st = file_->lock(0, 1, type, true);
    held_ = st.ok();
    return st.ok() ? st : std::move(st.sub(kSubMemoLock));
  }

 private:
  FileHandle* file_;
  bool shared_;
  bool held_ = false;
};

}  // namespace

uint32_t MemoFile::decode32(const uint8_t* p) const { return fpt() ? DecodeBE32(p) : DecodeLE32(p); }

void MemoFile::encode32(uint8_t* p, uint32_t v) const {
  if (fpt()) {
    EncodeBE32(p, v);
  } else {
    EncodeLE32(p, v);
  }
}

Status MemoFile::Create(std::string_view path, const MemoCreateOptions& options,
                        std::unique_ptr<MemoFile>* out) {
  Status st = CheckMemoType(options.blob, options.memo_type, std::string(path));
  if (!st.ok()) return st;
  FilePtr file;
  st = CreateFile(path, Share::kExclusive, &file);
  if (!st.ok()) return std::move(st.sub(kSubMemoCreate, kCanRetry));
  return CreateHandle(std::move(file), options, out);
}

Status MemoFile::NewHandle(FilePtr file, bool blob, int memo_type, std::unique_ptr<MemoFile>* out) {
  Status st = CheckMemoType(blob, memo_type, file->name());
  if (!st.ok()) return st;
  out->reset(new MemoFile());
  (*out)->memo_type_ = blob ? dbf::kMemoFpt : memo_type;
  (*out)->file_ = std::move(file);
  (*out)->blob_ = blob;
  return Status::Ok();
}

Status MemoFile::CreateHandle(FilePtr file, const MemoCreateOptions& options,
                              std::unique_ptr<MemoFile>* out) {
  std::unique_ptr<MemoFile> m;
  Status checked = NewHandle(std::move(file), options.blob, options.memo_type, &m);
  if (!checked.ok()) return checked;
  m->version_ = options.blob ? 3 : m->memo_type_ == dbf::kMemoSmt ? 2
              : m->memo_type_ == dbf::kMemoDbt ? 1 : options.version;
  if (m->version_ < 1 || m->version_ > 4) return Status::BadArgument("memo version must be 1-4");
  m->block_size_ = options.block_size ? options.block_size : DefaultBlockSize(m->memo_type_);
  if (m->memo_type_ == dbf::kMemoDbt) m->block_size_ = 512;
  if (m->block_size_ > 0xFFFF) return Status::BadArgument("memo block size must be 1-65535");
  m->header_size_ = m->version_ >= 3 && m->fpt() ? kFlexHeader : kSmallHeader;
  Status st = m->writeFreshHeader();
  if (!st.ok()) return std::move(st.sub(kSubMemoCreate, kCanRetry));
  *out = std::move(m);
  return Status::Ok();
}

Status MemoFile::writeFreshHeader() {
  uint32_t next_free = firstBlock();
  std::vector<uint8_t> h(uint64_t(next_free) * block_size_, 0);
  encode32(h.data() + kHdrNextFree, next_free);
  if (fpt()) {
    EncodeBE16(h.data() + kHdrFptBlockSize, uint16_t(block_size_));
  } else {
    EncodeLE32(h.data() + kHdrBlockSize, block_size_);
  }
  if (version_ == 4 && fpt()) {
    std::memcpy(h.data() + kHdrSignature, kClipSignature, 12);
  } else {
    const char* sig = version_ == 2 ? kSixSignature : kOwnSignature;
    std::memcpy(h.data() + kHdrSignature, sig, std::strlen(sig));
  }
  if (fpt() && version_ >= 3) {
    std::memcpy(h.data() + kHdrFlexSignature, kFlexSignature, sizeof kFlexSignature);
    if (blob_) EncodeBE16(h.data() + kHdrFlexBlockSize, uint16_t(block_size_));
  }
  Status st = file_->writeAt(0, h.data(), h.size());
  if (st.ok()) st = file_->truncate(h.size());
  return st;
}

Status MemoFile::Open(std::string_view path, const MemoOpenOptions& options,
                      std::unique_ptr<MemoFile>* out) {
  Status st = CheckMemoType(options.blob, options.memo_type, std::string(path));
  if (!st.ok()) return st;
  FilePtr file;
  st = OpenFile(path, options.read_only ? Access::kRead : Access::kReadWrite,
                       options.shared ? Share::kDenyNone : Share::kExclusive, &file);
  if (!st.ok()) return std::move(st.sub(kSubMemoOpen, kCanRetry | kCanDefault));
  return OpenHandle(std::move(file), options, out);
}

Status MemoFile::OpenHandle(FilePtr file, const MemoOpenOptions& options,
                            std::unique_ptr<MemoFile>* out) {
  std::unique_ptr<MemoFile> m;
  Status st = NewHandle(std::move(file), options.blob, options.memo_type, &m);
  if (!st.ok()) return st;
  m->shared_ = options.shared;
  m->read_only_ = options.read_only;
  if (m->shared_) m->file_->mapForReads();  // values are read without a lock, straight from the file
  st = m->readHeader();
  if (!st.ok()) return st;
  *out = std::move(m);
  return Status::Ok();
}

Status MemoFile::readHeader() {
  if (memo_type_ == dbf::kMemoDbt) {
    version_ = 1, block_size_ = 512, header_size_ = kSmallHeader;
    return Status::Ok();
  }
  ByteZeroLock lock(file_.get(), shared_);
  if (Status st = lock.take(LockType::kShared); !st.ok()) return st;
  uint8_t h[kFlexHeader] = {};
  size_t got = 0;
  Status st = file_->readAt(0, h, sizeof h, &got);
  if (!st.ok()) return std::move(st.sub(kSubRead));
  if (got < kSmallHeader) return Status::Corrupt("short memo header", fileName());
  if (memo_type_ == dbf::kMemoSmt) {
    version_ = 2;
    block_size_ = DecodeLE32(h + kHdrBlockSize);
  } else {
    version_ = std::memcmp(h + kHdrSignature, kSixSignature, 7) == 0     ? 2
               : std::memcmp(h + kHdrSignature, kClipSignature, 12) == 0 ? 4
               : std::memcmp(h + kHdrFlexSignature, "FlexFile3", 9) == 0 ? 3
                                                                          : 1;
    block_size_ = DecodeBE16(h + kHdrFptBlockSize);
    if (version_ >= 3 && (block_size_ == 0 || blob_)) block_size_ = DecodeBE16(h + kHdrFlexBlockSize);
  }
  header_size_ = version_ >= 3 && fpt() ? kFlexHeader : kSmallHeader;
  if (block_size_ == 0 || block_size_ > 0xFFFF) {
    return Status::Corrupt("bad memo block size", fileName());
  }
  if (header_size_ == kFlexHeader && got < kFlexHeader) {
    return Status::Corrupt("short memo header", fileName());
  }
  return Status::Ok();
}

Status MemoFile::length(uint32_t block, uint32_t smt_length, uint32_t* out) {
  if (block == 0) {
    *out = 0;
    return Status::Ok();
  }
  if (memo_type_ == dbf::kMemoSmt) {
    *out = smt_length;
    return Status::Ok();
  }
  if (memo_type_ == dbf::kMemoDbt) {
    MemoValue v;
    Status st = read(block, 0, &v);
    *out = uint32_t(v.data.size());
    return st;
  }
  if (block < firstBlock()) return Status::Corrupt("memo block inside the header", fileName());
  uint8_t head[kBlockHeader];
  Status st = file_->readExact(uint64_t(block) * block_size_, head, sizeof head,
                               "memo block beyond the end of the file");
  if (!st.ok()) return std::move(st.sub(kSubRead));
  *out = DecodeBE32(head + 4);
  return Status::Ok();
}

Status MemoFile::read(uint32_t block, uint32_t smt_length, MemoValue* out) {
  out->type = kTypeText;
  out->data.clear();
  if (block == 0) return Status::Ok();
  if (block < firstBlock()) return Status::Corrupt("memo block inside the header", fileName());
  uint64_t pos = uint64_t(block) * block_size_, size = 0;
  Status st = file_->size(&size);
  if (!st.ok()) return std::move(st.sub(kSubRead));
  uint64_t length = smt_length;
  if (memo_type_ == dbf::kMemoFpt) {
    uint8_t head[kBlockHeader];
    st = file_->readExact(pos, head, sizeof head, "memo block beyond the end of the file");
    if (!st.ok()) return std::move(st.sub(kSubRead));
    out->type = DecodeBE32(head);
    length = DecodeBE32(head + 4);
    pos += kBlockHeader;
  } else if (memo_type_ == dbf::kMemoDbt) {
    length = size > pos ? size - pos : 0;  // scanned below
  }
  if (length > kMaxMemo || pos + length > size) {
    return Status::IoError("memo data beyond the end of the file", fileName()).sub(kSubRead);
  }
  out->data.resize(size_t(length));
  st = file_->readExact(pos, out->data.data(), out->data.size(), "short memo read");
  if (!st.ok()) return std::move(st.sub(kSubRead));
  if (memo_type_ == dbf::kMemoDbt) {
    size_t end = out->data.find('\x1A');
    if (end != std::string::npos) out->data.resize(end);
  }
  return Status::Ok();
}

uint32_t MemoFile::blocksFor(uint32_t length) const {
  switch (memo_type_) {
    case dbf::kMemoDbt: return length / block_size_ + 1;
    case dbf::kMemoSmt: return uint32_t((uint64_t(length) + block_size_ - 1) / block_size_);
    default: return uint32_t((uint64_t(length) + kBlockHeader + block_size_ - 1) / block_size_);
  }
}

Status MemoFile::oldRunLength(uint32_t block, uint32_t smt_length, uint32_t* blocks) {
  uint32_t length = 0;
  Status st = this->length(block, smt_length, &length);
  if (st.ok()) *blocks = blocksFor(length);
  return st;
}

Status MemoFile::writeData(uint32_t block, const MemoValue& value) {
  uint32_t count = blocksFor(uint32_t(value.data.size()));
  std::string image;
  if (fpt()) {
    image.resize(kBlockHeader);
    EncodeBE32(reinterpret_cast<uint8_t*>(image.data()), value.type);
    EncodeBE32(reinterpret_cast<uint8_t*>(image.data()) + 4, uint32_t(value.data.size()));
  }
  image += value.data;
  if (memo_type_ == dbf::kMemoDbt) {
    image += '\x1A';
    if (image.size() < uint64_t(count) * block_size_) image += '\x1A';
  }
  uint64_t room = uint64_t(count) * block_size_;
  if (fpt() && version_ == 3 && image.size() % block_size_) {
    image.resize(size_t(room), '\0');
    image.back() = '\xAF';
  }
  Status st = file_->writeAt(uint64_t(block) * block_size_, image.data(), image.size());
  return st.ok() ? st : std::move(st.sub(kSubWrite));
}

Status MemoFile::write(uint32_t old_block, uint32_t old_length, const MemoValue& value,
                       uint32_t* new_block) {
  if (read_only_) {
    return Status::Make(StatusKind::kReadOnly, "memo file is read-only", fileName(), 5)
        .sub(kSubReadOnly);
  }
  bool plain = value.type == kTypeText || value.type == kTypeBinary;
  if (!plain && (memo_type_ == dbf::kMemoDbt || version_ == 1 || version_ == 4)) {
    return Status::Make(StatusKind::kDataType, "memo file takes only text", fileName())
        .sub(kSubDataType, kCanDefault);
  }
  if (value.data.size() > kMaxMemo) return Status::BadArgument("memo too long", fileName());
  ByteZeroLock lock(file_.get(), shared_);
  if (Status st = lock.take(LockType::kExclusive); !st.ok()) return st;
  return writeLocked(old_block, old_length, value, new_block);
}

Status MemoFile::writeLocked(uint32_t old_block, uint32_t old_length, const MemoValue& value,
                             uint32_t* new_block) {
  MemoHeader header;
  Status st = MemoHeader::Load(*this, &header);
  if (!st.ok()) return st;
  FreeList& list = header.freeList();
  // The new value goes to blocks of its own before the old run is freed, so a reader of the old
  // reference never sees a half-written value.
  *new_block = 0;
  bool empty = value.data.empty() && (value.type == kTypeText || value.type == kTypeBinary);
  if (!empty) {
    uint32_t count = blocksFor(uint32_t(value.data.size()));
    if (uint64_t(list.nextFree()) + count > 0xFFFFFFFFull / block_size_) {
      return Status::IoError("memo file is full", fileName()).sub(kSubWrite);
    }
    *new_block = list.allocate(count);
    st = writeData(*new_block, value);
    if (!st.ok()) return st;
  }
  releaseRun(list, old_block, old_length);
  return header.store(*this);
}

void MemoFile::releaseRun(FreeList& list, uint32_t block, uint32_t smt_length) {
  uint32_t blocks = 0;
  if (block >= firstBlock() && memo_type_ != dbf::kMemoDbt &&
      oldRunLength(block, smt_length, &blocks).ok() &&
      blocks <= list.nextFree() - std::min(block, list.nextFree())) {
    list.release(block, blocks);
  }
}

Status MemoFile::release(uint32_t block, uint32_t smt_length) {
  if (read_only_ || block < firstBlock() || memo_type_ == dbf::kMemoDbt) return Status::Ok();
  ByteZeroLock lock(file_.get(), shared_);
  if (Status st = lock.take(LockType::kExclusive); !st.ok()) return st;
  MemoHeader header;
  Status st = MemoHeader::Load(*this, &header);
  if (!st.ok()) return st;
  releaseRun(header.freeList(), block, smt_length);
  return header.store(*this);
}

Status MemoFile::zap() {
  Status st = writeFreshHeader();
  return st.ok() ? st : std::move(st.sub(kSubWrite));
}

Status MemoFile::replaceContents(FileHandle* from) {
  uint64_t size = 0;
  Status st = from->size(&size);
  std::vector<uint8_t> buf(1 << 16);
  for (uint64_t pos = 0; st.ok() && pos < size; pos += buf.size()) {
    size_t n = size_t(std::min<uint64_t>(buf.size(), size - pos));
    st = from->readExact(pos, buf.data(), n, "short read while copying");
    if (st.ok()) st = file_->writeAt(pos, buf.data(), n);
  }
  if (st.ok()) st = file_->truncate(size);
  return st.ok() ? st : std::move(st.sub(kSubWrite));
}

}  // namespace pv::memo
