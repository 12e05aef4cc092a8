// PackWithMemo: table pack with memo copying.
#include "dbfFPT/memo_pack.h"

#include <cstring>

#include "dbf/dbf_codec.h"
#include "fs/posix_file.h"

namespace pv::memo {
namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Copies the memo `f` of record `rec` from `from` into `to` and rewrites the reference in `rec`.
Status CopyMemo(const dbf::Field& f, uint8_t* rec, MemoFile& from, MemoFile& to) {
  uint32_t block = 0, length = 0, new_block = 0;
  uint16_t type = 0;
  if (from.memoType() == dbf::kMemoSmt) {
    dbf::GetSmtReference(f, rec, &type, &length, &block);
  } else {
    Status st = dbf::GetMemoBlock(f, rec, &block);
    if (!st.ok()) return st;
  }
  if (block == 0) return Status::Ok();
  MemoValue value;
  Status st = from.read(block, length, &value);
  if (st.ok()) st = to.write(0, 0, value, &new_block);
  if (!st.ok()) return st;
  if (from.memoType() == dbf::kMemoSmt) {
    dbf::PutSmtReference(f, rec, type, length, new_block);
    return Status::Ok();
  }
  return dbf::PutMemoBlock(f, rec, new_block);
}

// Copies the memos of every record that is not deleted into `to`; `refs` receives, record by
// record, the rewritten memo fields' bytes in field order. The table is not changed.
Status CopyAllMemos(dbf::DbfTable& table, MemoFile& from, MemoFile& to, std::string* refs) {
  std::vector<uint8_t> rec(table.recordLength());
  for (uint32_t n = 1; n <= table.recordCount(); ++n) {
    Status st = table.readRecord(n, rec.data());
    if (!st.ok()) return st;
    if (rec[0] == dbf::kDeletedFlag) continue;
    for (const dbf::Field& f : table.fields()) {
      if (!IsMemoField(f)) continue;
      st = CopyMemo(f, rec.data(), from, to);
      if (!st.ok()) return st;
      refs->append(reinterpret_cast<const char*>(rec.data()) + f.offset, f.length);
    }
  }
  return Status::Ok();
}

}  // namespace

bool IsMemoField(const dbf::Field& f) {
  return dbf::IsMemoType(f.type) || (f.type == dbf::FieldType::kAny && f.length >= 6);
}

Status PackWithMemo(dbf::DbfTable& table, MemoFile& memo, const dbf::PackProgress& progress,
                    uint32_t step) {
  if (table.shared() || table.readOnly()) return table.pack({}, progress, step);  // gives the error
  std::string temp_path;
  FilePtr temp_file;
  Status st = CreateTempFile(FolderOf(memo.fileName()), "pvm", ".tmp", &temp_path, &temp_file);
  if (!st.ok()) return std::move(st.sub(kSubWrite));
  std::unique_ptr<MemoFile> temp;
  st = MemoFile::CreateHandle(std::move(temp_file),
                              {.memo_type = memo.memoType(), .version = memo.version(),
                               .block_size = memo.blockSize()},
                              &temp);
  // First every memo goes to the temporary file, without touching the table, so that a full
  // disk or a damaged memo stops the pack before any record moves.
  std::string refs;
  if (st.ok()) st = CopyAllMemos(table, memo, *temp, &refs);
  if (st.ok()) {
    size_t pos = 0;
    auto filter = [&](uint32_t, uint8_t* rec) {
      if (rec[0] == dbf::kDeletedFlag) return dbf::PackAction::kDrop;
      for (const dbf::Field& f : table.fields()) {
        if (!IsMemoField(f)) continue;
        std::memcpy(rec + f.offset, refs.data() + pos, f.length);
        pos += f.length;
      }
      return dbf::PackAction::kKeepChanged;
    };
    st = table.pack(filter, progress, step);
    if (st.ok()) st = memo.replaceContents(temp->file());
  }
  temp.reset();
  DeleteFile(temp_path);
  return st;
}

}  // namespace pv::memo
