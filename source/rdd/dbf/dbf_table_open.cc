// DbfTable: opening (header and descriptor validation) and creating table files.
#include <cstring>

#include "dbf/dbf_table.h"
#include "fs/coding.h"
#include "fs/os_error.h"
#include "fs/posix_file.h"

namespace pv::dbf {
namespace {

struct VersionInfo {
  int table_type, memo_type;
  bool encrypted;
};

bool DecodeVersion(uint8_t version, uint8_t flags, VersionInfo* out) {
  int ext_memo = (flags & kFlagHasMemo) ? kMemoFpt : kMemoNone;
  switch (version) {
    case 0x03: *out = {kTableDbf, kMemoNone, false}; return true;
    case 0x83: *out = {kTableDbf, kMemoDbt, false}; return true;
    case 0xF5: *out = {kTableDbf, kMemoFpt, false}; return true;
    case 0xE5: *out = {kTableDbf, kMemoSmt, false}; return true;
    case 0x06: *out = {kTableDbf, kMemoNone, true}; return true;
    case 0x86: *out = {kTableDbf, kMemoDbt, true}; return true;
    case 0xF6: *out = {kTableDbf, kMemoFpt, true}; return true;
    case 0xE6: *out = {kTableDbf, kMemoSmt, true}; return true;
    case 0x30:
    case 0x31:
    case 0x32: *out = {kTableExtended, ext_memo, false}; return true;
    default: return false;
  }
}

Status OpenFailure(Status st) {
  return std::move(st.sub(kSubOpen, kCanRetry | kCanDefault));
}

}  // namespace

uint8_t EncodeVersion(int table_type, int memo_type, bool encrypted, bool autoinc) {
  if (table_type == kTableExtended) return autoinc ? 0x31 : 0x30;
  static const uint8_t kByMemo[] = {0x03, 0x83, 0xF5, 0xE5};
  uint8_t v = kByMemo[memo_type];
  return encrypted ? uint8_t((v & 0xF0) | 0x06) : v;
}

Status DbfTable::Open(std::string_view path, const OpenOptions& options,
                      std::unique_ptr<DbfTable>* out) {
  FilePtr file;
  Status st = OpenFile(path, options.read_only ? Access::kRead : Access::kReadWrite,
                       options.shared ? Share::kDenyNone : Share::kExclusive, &file);
  if (!st.ok()) return OpenFailure(std::move(st));
  return OpenHandle(std::move(file), options, out);
}

Status DbfTable::OpenHandle(FilePtr file, const OpenOptions& options,
                            std::unique_ptr<DbfTable>* out) {
  std::unique_ptr<DbfTable> t(new DbfTable());
  t->file_ = std::move(file);
  // In shared use every record read goes to the file (others may change it): mapped where that
  // reads the same bytes, without a system call a record.
  if (options.shared) t->file_->mapForReads();
  Status st = t->load(options);
  if (!st.ok()) return st;
  *out = std::move(t);
  return Status::Ok();
}

Status DbfTable::load(const OpenOptions& options) {
  shared_ = options.shared;
  read_only_ = options.read_only;
  lock_scheme_ = options.lock_scheme == 0 ? 1 : options.lock_scheme;
  const std::string& name = file_->name();
  header_.assign(kHeaderSize, 0);
  size_t got = 0;
  Status st = file_->readAt(0, header_.data(), kHeaderSize, &got);
  if (!st.ok()) return std::move(st.sub(kSubRead));
  if (got < kHeaderSize) {
    return Status::Corrupt("short table header", name).sub(kSubCorrupt, kCanRetry | kCanDefault);
  }
  VersionInfo vi;
  if (!DecodeVersion(header_[kHdrVersion], header_[kHdrFlags], &vi)) {
    char msg[48];
    std::snprintf(msg, sizeof msg, "bad table version byte 0x%02X", header_[kHdrVersion]);
    return Status::Corrupt(msg, name).sub(kSubCorrupt, kCanRetry | kCanDefault);
  }
  table_type_ = vi.table_type;
  memo_type_ = vi.memo_type;
  encrypted_ = vi.encrypted;
  header_length_ = DecodeLE16(header_.data() + kHdrHeaderLength);
  record_length_ = DecodeLE16(header_.data() + kHdrRecordLength);
  if (header_length_ < kHeaderSize + kDescriptorSize + 1 || record_length_ < 2) {
    return Status::Corrupt("bad header or record length", name).sub(kSubCorrupt, kCanDefault);
  }
  st = loadDescriptors();
  if (!st.ok()) return st;
  if (!TableLockPlace(lock_scheme_, tableFlags() & kFlagStructuralIndex, &place_)) {
    return Status::BadArgument("unknown lock scheme " + std::to_string(lock_scheme_), name);
  }
  return refreshRecordCount();
}

Status DbfTable::loadDescriptors() {
  const std::string& name = file_->name();
  header_.resize(header_length_);
  size_t got = 0;
  Status st = file_->readAt(kHeaderSize, header_.data() + kHeaderSize,
                            header_length_ - kHeaderSize, &got);
  if (!st.ok()) return std::move(st.sub(kSubRead));
  if (got < header_length_ - kHeaderSize) {
    return Status::Corrupt("short field descriptor list", name).sub(kSubCorrupt, kCanRetry);
  }
  bool extended = table_type_ == kTableExtended;
  uint32_t pos = kHeaderSize;
  for (; pos + kDescriptorSize <= header_length_ && header_[pos] != kTerminator;
       pos += kDescriptorSize) {
    Field f;
    Status fst = DecodeDescriptor(header_.data() + pos, extended, name, &f);
    if (!fst.ok()) return fst;
    fields_.push_back(std::move(f));
  }
  if (pos >= header_length_ || header_[pos] != kTerminator || fields_.empty()) {
    return Status::Corrupt("field descriptor list without end", name).sub(kSubCorrupt, kCanDefault);
  }
  int bits = LayOutFields(&fields_);
  for (const Field& f : fields_) has_autoinc_ |= f.autoIncrements();
  uint32_t used = fields_.back().offset + fields_.back().length;
  if (used > record_length_) {
    return Status::Corrupt("fields longer than the record", name).sub(kSubCorrupt, kCanDefault);
  }
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].type != FieldType::kNullFlags) continue;
    if (i + 1 != fields_.size() || fields_[i].length * 8 < bits) {
      return Status::Corrupt("bad _NullFlags field", name).sub(kSubCorrupt, kCanDefault);
    }
    null_flags_ = &fields_[i];
  }
  if (bits > 0 && !null_flags_) {
    return Status::Corrupt("nullable fields without _NullFlags", name).sub(kSubCorrupt, kCanDefault);
  }
  return Status::Ok();
}

std::string_view DbfTable::backlink() const {
  uint32_t end = kHeaderSize + uint32_t(fields_.size()) * kDescriptorSize + 1;
  if (end >= header_length_) return {};
  return {reinterpret_cast<const char*>(header_.data()) + end, header_length_ - end};
}

Status DbfTable::Create(std::string_view path, const std::vector<FieldSpec>& fields,
                        const CreateOptions& options, std::unique_ptr<DbfTable>* out) {
  FilePtr file;
  Status st = CreateFile(path, Share::kExclusive, &file);
  if (!st.ok()) return std::move(st.sub(kSubCreate, kCanRetry | kCanDefault));
  return CreateHandle(std::move(file), fields, options, out);
}

Status DbfTable::CreateHandle(FilePtr file, const std::vector<FieldSpec>& specs,
                              const CreateOptions& options, std::unique_ptr<DbfTable>* out) {
  const std::string& name = file->name();
  bool extended = options.table_type == kTableExtended;
  if ((options.table_type != kTableDbf && !extended) || options.memo_type < kMemoNone ||
      options.memo_type > kMemoSmt || specs.empty()) {
    return Status::BadArgument("bad table type, memo type or field list", name);
  }
  std::vector<Field> fields;
  bool autoinc = false;
  for (const FieldSpec& spec : specs) {
    Field f;
    Status st = FieldFromSpec(spec, extended, &f);
    if (!st.ok()) return st;
    autoinc |= f.autoIncrements();
    fields.push_back(std::move(f));
  }
  int bits = LayOutFields(&fields);
  if (bits > 0) {
    Field nf;
    nf.name = "_NullFlags";
    nf.letter = '0';
    nf.type = FieldType::kNullFlags;
    nf.length = uint16_t((bits + 7) / 8);
    nf.flags = kFieldSystem | kFieldBinary;
    fields.push_back(nf);
    LayOutFields(&fields);
  }
  uint64_t record_length = fields.back().offset + fields.back().length;
  uint64_t header_length = kHeaderSize + kDescriptorSize * fields.size() + (extended ? 1 : 2);
  if (record_length > 0xFFFF || header_length > 0xFFFF) {
    return Status::Make(StatusKind::kDataWidth, "too many fields", name).sub(kSubDataWidth);
  }
  std::vector<uint8_t> image(header_length + 1, 0);
  image[kHdrVersion] = EncodeVersion(options.table_type, options.memo_type, options.encrypted, autoinc);
  if (extended && options.memo_type == kMemoFpt) image[kHdrFlags] = kFlagHasMemo;
  EncodeLE16(image.data() + kHdrHeaderLength, uint16_t(header_length));
  EncodeLE16(image.data() + kHdrRecordLength, uint16_t(record_length));
  for (size_t i = 0; i < fields.size(); ++i) {
    const Field& f = fields[i];
    bool counts = f.autoIncrements() || f.type == FieldType::kRowVersion;
    EncodeDescriptor(f, extended, counts ? 1 : 0, image.data() + kHeaderSize + i * kDescriptorSize);
  }
  image[header_length - (extended ? 1 : 2)] = kTerminator;
  image[header_length] = kEofByte;
  std::unique_ptr<DbfTable> t(new DbfTable());
  t->file_ = std::move(file);
  t->header_.assign(image.begin(), image.begin() + long(header_length));
  t->stampHeader();
  std::memcpy(image.data(), t->header_.data(), kHeaderSize);
  Status st = t->file_->writeAt(0, image.data(), image.size());
  if (st.ok()) st = t->file_->truncate(image.size());
  if (!st.ok()) return std::move(st.sub(kSubCreate, kCanRetry | kCanDefault));
  std::unique_ptr<DbfTable> opened;
  st = OpenHandle(std::move(t->file_), {.lock_scheme = options.lock_scheme}, &opened);
  if (!st.ok()) return st;
  *out = std::move(opened);
  return Status::Ok();
}

}  // namespace pv::dbf
