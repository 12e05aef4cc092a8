// CdxPageFile over a pv_fs file handle.
#include "rdd_cdx_file.h"

using namespace pv;
using namespace pv::cdx;

namespace {

CdxStatus Failed(int code, const Status& st) {
  if (st.kind() == StatusKind::kLockRefused) return CdxStatus::Error(kCdxLockRefused, st.message());
  return CdxStatus::Error(code, st.message() + " (os " + std::to_string(st.osCode()) + ")");
}

class CdxFsFile : public CdxPageFile {
 public:
  CdxFsFile(FilePtr file, bool local) : file_(std::move(file)), local_(local) {
    if (local_) file_->mapForReads();  // the change counter is read before every lock-free skip
  }

  CdxStatus read(uint64_t off, void* buf, size_t len) override {
    size_t got = 0;
    Status st = file_->readAt(off, buf, len, &got);
    if (!st.ok()) return Failed(kCdxReadFailed, st);
    if (got != len) return CdxStatus::Error(kCdxReadFailed, "short read of " + file_->name());
    return {};
  }
  CdxStatus write(uint64_t off, const void* buf, size_t len) override {
    Status st = file_->writeAt(off, buf, len);
    return st.ok() ? CdxStatus{} : Failed(kCdxWriteFailed, st);
  }
  uint64_t size() override {
    uint64_t n = 0;
    return file_->size(&n).ok() ? n : 0;
  }
  CdxStatus truncate(uint64_t size) override {
    Status st = file_->truncate(size);
    return st.ok() ? CdxStatus{} : Failed(kCdxWriteFailed, st);
  }
  CdxStatus lock(uint64_t off, uint64_t len, bool shared, bool wait) override {
    Status st = file_->lock(off, len, shared ? LockType::kShared : LockType::kExclusive, wait);
    return st.ok() ? CdxStatus{} : Failed(kCdxLockRefused, st);
  }
  CdxStatus unlock(uint64_t off, uint64_t len) override {
    Status st = file_->unlock(off, len);
    return st.ok() ? CdxStatus{} : Failed(kCdxUnlockError, st);
  }
  CdxStatus sync() override {
    Status st = file_->commit();
    return st.ok() ? CdxStatus{} : Failed(kCdxWriteFailed, st);
  }
  bool readsCurrentWithoutLock() override { return local_; }

 private:
  FilePtr file_;
  bool local_;
};

}  // namespace

CdxStatus pv_cdxOpenPageFile(const std::string& path, bool create, bool shared, bool readOnly,
                             std::unique_ptr<CdxPageFile>& out) {
  FilePtr file;
  Share share = shared ? Share::kDenyNone : Share::kExclusive;
  Status st = create ? CreateFile(path, share, &file)
                     : OpenFile(path, readOnly ? Access::kRead : Access::kReadWrite, share, &file);
  if (!st.ok()) return Failed(create ? kCdxWriteFailed : kCdxReadFailed, st);
  out = std::make_unique<CdxFsFile>(std::move(file), shared && cdxOnLocalFileSystem(path));
  return {};
}
