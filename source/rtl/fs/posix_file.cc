// PosixFile: pread/pwrite, OFD byte-range locks and emulated share modes.
#include "posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>

#include "mapped_view.h"
#include "os_error.h"
#include "path_resolve.h"

namespace pv {
namespace {

enum ShareByte : uint64_t { kHasRead = 0, kHasWrite = 1, kDeniesRead = 2, kDeniesWrite = 3 };

Status ErrnoStatus(const char* what, const std::string& file, int err) {
  int os = OsCodeFromErrno(err);
  if (err == ENOENT && !ParentFolderExists(file)) os = 3;
  StatusKind kind = err == ENOENT ? StatusKind::kNotFound : StatusKind::kIoError;
  if (err == ENOSPC || err == EDQUOT) kind = StatusKind::kIoError;
  return Status::Make(kind, what, file, os);
}

class PosixFile final : public FileHandle {
 public:
  PosixFile(int fd, std::string name, bool writable)
      : fd_(fd), name_(std::move(name)), writable_(writable) {}
  ~PosixFile() override { ::close(fd_); }

  Status readAt(uint64_t offset, void* buf, size_t n, size_t* got) override {
    if (view_ && view_->read(offset, buf, n)) {
      *got = n;
      return Status::Ok();
    }
    Status st = readFile(offset, buf, n, got);
    if (st.ok() && map_reads_) mapAgain(offset + *got);
    return st;
  }

  void mapForReads() override {
    map_reads_ = OnLocalFileSystem(fd_);
    if (map_reads_) map();
  }

  Status readFile(uint64_t offset, void* buf, size_t n, size_t* got) {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pread(fd_, static_cast<char*>(buf) + done, n - done, off_t(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        *got = done;
        return ErrnoStatus("read failed", name_, errno);
      }
      if (r == 0) break;
      done += size_t(r);
    }
    *got = done;
    return Status::Ok();
  }

  Status writeAt(uint64_t offset, const void* buf, size_t n) override {
    if (!writable_) return Status::Make(StatusKind::kReadOnly, "file is read-only", name_, 5);
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pwrite(fd_, static_cast<const char*>(buf) + done, n - done,
                           off_t(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        return ErrnoStatus("write failed", name_, errno);
      }
      if (r == 0) return Status::IoError("disk full", name_, kOsDiskFull);
      done += size_t(r);
    }
    return Status::Ok();
  }

  Status size(uint64_t* out) override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return ErrnoStatus("cannot read file size", name_, errno);
    *out = uint64_t(st.st_size);
    return Status::Ok();
  }

  Status truncate(uint64_t length) override {
    if (!writable_) return Status::Make(StatusKind::kReadOnly, "file is read-only", name_, 5);
    view_.reset();
    if (::ftruncate(fd_, off_t(length)) != 0) return ErrnoStatus("truncate failed", name_, errno);
    return Status::Ok();
  }

  Status commit() override {
    if (::fdatasync(fd_) != 0 && errno != EINVAL) {
      return ErrnoStatus("commit failed", name_, errno);
    }
    return Status::Ok();
  }

  Status lock(uint64_t offset, uint64_t length, LockType type, bool wait) override {
    return setLock(offset, length, type == LockType::kShared ? F_RDLCK : F_WRLCK, wait);
  }

  Status unlock(uint64_t offset, uint64_t length) override {
    return setLock(offset, length, F_UNLCK, false);
  }

  const std::string& name() const override { return name_; }
  int descriptor() const override { return fd_; }

  // Maps the whole file as it is now.
  void map() {
    uint64_t now = 0;
    view_.reset();
    if (size(&now).ok()) view_ = MappedView::Map(fd_, now);
  }

  // After a read the view could not serve, ending at `end`: maps the file again once such a read
  // ends an eighth of the view (at least 64 KiB) past it, which shows that the file has grown that
  // much (or, with a torn view, is that long again). A reader of a file another process appends
  // to thus maps it again now and then, not for every new record, and asks for no file size.
  void mapAgain(uint64_t end) {
    uint64_t mapped = view_ && !view_->torn() ? view_->size() : 0;
    if (end >= mapped + std::max<uint64_t>(mapped / 8, 64 << 10)) map();
  }

  // Whether another handle holds any lock on the byte at `offset`.
  bool heldElsewhere(uint64_t offset) const {
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = 1;
    if (::fcntl(fd_, F_OFD_GETLK, &fl) != 0) return false;
    return fl.l_type != F_UNLCK;
  }

  // Takes the share bytes for `access`/`share` and checks them against other handles.
  Status claimShareMode(Access access, Share share) {
    bool reads = access != Access::kWrite, writes = access != Access::kRead;
    bool deny_read = share == Share::kDenyRead || share == Share::kExclusive;
    bool deny_write = share == Share::kDenyWrite || share == Share::kExclusive;
    const bool mine[4] = {reads, writes, deny_read, deny_write};
    for (uint64_t b = 0; b < 4; ++b) {
      if (!mine[b]) continue;
      Status st = lock(kShareBase + b, 1, LockType::kShared, false);
      if (!st.ok()) return sharingViolation();
    }
    if ((reads && heldElsewhere(kShareBase + kDeniesRead)) ||
        (writes && heldElsewhere(kShareBase + kDeniesWrite)) ||
        (deny_read && heldElsewhere(kShareBase + kHasRead)) ||
        (deny_write && heldElsewhere(kShareBase + kHasWrite))) {
      return sharingViolation();
    }
    return Status::Ok();
  }

 private:
  Status sharingViolation() const {
    return Status::LockRefused("file is in use by another handle", name_, kOsSharingViolation);
  }

  Status setLock(uint64_t offset, uint64_t length, short type, bool wait) {
    if (length == 0 || offset > uint64_t(INT64_MAX) || length - 1 > uint64_t(INT64_MAX) - offset) {
      return Status::BadArgument("lock range out of bounds", name_);
    }
    struct flock fl = {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = off_t(length);
    for (;;) {
      if (::fcntl(fd_, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0) return Status::Ok();
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EACCES) {
        return Status::LockRefused("region is locked by another handle", name_, kOsLockViolation);
      }
      if (errno == EBADF) {
        return Status::LockRefused("handle cannot take this lock", name_, kOsAccessDenied);
      }
      return ErrnoStatus("lock failed", name_, errno);
    }
  }

  int fd_;
  std::string name_;
  bool writable_;
  bool map_reads_ = false;
  std::unique_ptr<MappedView> view_;
};

bool LocalKind(const struct statfs& fs) {
  static constexpr unsigned long kLocal[] = {0xEF53,     0x58465342, 0x9123683E, 0x01021994,
                                             0x858458F6, 0x794C7630, 0xF2F52010, 0x2FC12FC1};
  for (unsigned long kind : kLocal)
    if ((unsigned long)fs.f_type == kind) return true;
  return false;
}

// Opens `resolved` with `flags` plus O_RDWR when possible so that shared and exclusive locks
// can both be placed; falls back to the access actually asked for.
int OpenDescriptor(const std::string& resolved, Access access, int extra_flags) {
  int fd = ::open(resolved.c_str(), O_RDWR | O_CLOEXEC | extra_flags, 0666);
  if (fd >= 0 || access == Access::kReadWrite || (errno != EACCES && errno != EROFS)) return fd;
  int mode = access == Access::kRead ? O_RDONLY : O_WRONLY;
  return ::open(resolved.c_str(), mode | O_CLOEXEC | extra_flags, 0666);
}

Status Finish(int fd, const std::string& resolved, Access access, Share share, FilePtr* out) {
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return Status::Make(StatusKind::kIoError, "is a folder", resolved, kOsAccessDenied);
  }
  auto file = std::make_unique<PosixFile>(fd, resolved, access != Access::kRead);
  Status s = file->claimShareMode(access, share);
  if (!s.ok()) return s;
  *out = std::move(file);
  return Status::Ok();
}

}  // namespace

Status FileHandle::readExact(uint64_t offset, void* buf, size_t n, const char* short_message) {
  size_t got = 0;
  Status st = readAt(offset, buf, n, &got);
  if (!st.ok()) return st;
  if (got != n) return Status::IoError(short_message, name(), kOsHandleEof);
  return Status::Ok();
}

Status OpenFile(std::string_view path, Access access, Share share, FilePtr* out) {
  std::string resolved = ResolvePath(path);
  int fd = OpenDescriptor(resolved, access, 0);
  if (fd < 0) return ErrnoStatus("cannot open file", resolved, errno);
  return Finish(fd, resolved, access, share, out);
}

Status CreateFile(std::string_view path, Share share, FilePtr* out, bool must_be_new) {
  std::string resolved = ResolvePath(path);
  int fd = ::open(resolved.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | (must_be_new ? O_EXCL : 0),
                  0666);
  if (fd < 0) return ErrnoStatus("cannot create file", resolved, errno);
  // Claim the share mode before emptying, so a file open elsewhere is not cut under its user.
  FilePtr file;
  Status st = Finish(fd, resolved, Access::kReadWrite, share, &file);
  if (!st.ok()) return st;
  st = file->truncate(0);
  if (!st.ok()) return st;
  *out = std::move(file);
  return Status::Ok();
}

Status CreateTempFile(std::string_view folder, std::string_view prefix, std::string_view ext,
                      std::string* path, FilePtr* out) {
  std::string dir = ResolvePath(folder.empty() ? "." : folder);
  if (!dir.empty() && dir.back() != '/') dir += '/';
  unsigned seed = unsigned(::getpid()) * 2654435761u ^ unsigned(::time(nullptr));
  for (int attempt = 0; attempt < 1000; ++attempt) {
    seed = seed * 1103515245u + 12345u;
    char num[16];
    std::snprintf(num, sizeof num, "%06u", (seed >> 8) % 1000000u);
    std::string name = dir + std::string(prefix) + num + std::string(ext);
    Status st = CreateFile(name, Share::kExclusive, out, true);
    if (st.ok()) {
      *path = name;
      return st;
    }
    if (st.osCode() != kOsFileExists) return st;
  }
  return Status::IoError("no free temporary file name", dir, kOsFileExists);
}

Status DeleteFile(std::string_view path) {
  std::string resolved = ResolvePath(path);
  if (::unlink(resolved.c_str()) != 0) return ErrnoStatus("cannot delete file", resolved, errno);
  return Status::Ok();
}

Status RenameFile(std::string_view from, std::string_view to) {
  std::string src = ResolvePath(from), dst = ResolvePath(to);
  if (FileExists(dst)) return Status::IoError("target exists", dst, kOsFileExists);
  if (::rename(src.c_str(), dst.c_str()) != 0) {
    return ErrnoStatus("cannot rename file", src, errno);
  }
  return Status::Ok();
}

bool FileExists(std::string_view path) {
  struct stat st;
  return ::stat(ResolvePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool OnLocalFileSystem(int fd) {
  struct statfs fs;
  return ::fstatfs(fd, &fs) == 0 && LocalKind(fs);
}

bool OnLocalFileSystem(const std::string& path) {
  struct statfs fs;
  return ::statfs(path.c_str(), &fs) == 0 && LocalKind(fs);
}

}  // namespace pv
