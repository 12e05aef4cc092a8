// The POSIX index file: pread/pwrite and open-file-description byte-range locks.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cdx_page_file.h"
#include "fs/posix_file.h"

namespace pv::cdx {

namespace {
CdxStatus errnoStatus(int code, const char* what) {
  return CdxStatus::Error(code, std::string(what) + ": " + std::strerror(errno));
}
}  // namespace

CdxPosixFile::~CdxPosixFile() {
  if (fd_ >= 0) ::close(fd_);
}

CdxStatus CdxPosixFile::open(const std::string& path, bool create, bool readOnly,
                             std::unique_ptr<CdxPosixFile>& out) {
  int flags = readOnly ? O_RDONLY : O_RDWR;
  if (create && !readOnly) flags |= O_CREAT;
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return errnoStatus(kCdxOpenCorrupt, "cannot open index file");
  out = std::make_unique<CdxPosixFile>(fd);
  return {};
}

CdxStatus CdxPosixFile::temporary(std::unique_ptr<CdxPosixFile>& out) {
  const char* dir = std::getenv("TMPDIR");
  std::string tmpl = std::string(dir && *dir ? dir : "/tmp") + "/pvcdxsortXXXXXX";
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return errnoStatus(kCdxSortFailed, "cannot create temporary file");
  ::unlink(tmpl.c_str());
  out = std::make_unique<CdxPosixFile>(fd);
  return {};
}

CdxStatus CdxPosixFile::read(uint64_t off, void* buf, size_t len) {
  auto* p = static_cast<uint8_t*>(buf);
  while (len > 0) {
    ssize_t n = ::pread(fd_, p, len, off_t(off));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return CdxStatus::Error(kCdxReadFailed, "short read from index file");
    p += n;
    off += uint64_t(n);
    len -= size_t(n);
  }
  return {};
}

CdxStatus CdxPosixFile::write(uint64_t off, const void* buf, size_t len) {
  auto* p = static_cast<const uint8_t*>(buf);
  while (len > 0) {
    ssize_t n = ::pwrite(fd_, p, len, off_t(off));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return errnoStatus(kCdxWriteFailed, "write to index file failed");
    p += n;
    off += uint64_t(n);
    len -= size_t(n);
  }
  return {};
}

uint64_t CdxPosixFile::size() {
  struct stat st;
  if (::fstat(fd_, &st) != 0) return 0;
  return uint64_t(st.st_size);
}

CdxStatus CdxPosixFile::truncate(uint64_t size) {
  if (::ftruncate(fd_, off_t(size)) != 0) return errnoStatus(kCdxWriteFailed, "truncate failed");
  return {};
}

CdxStatus CdxPosixFile::lock(uint64_t off, uint64_t len, bool shared, bool wait) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  fl.l_type = shared ? F_RDLCK : F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = off_t(off);
  fl.l_len = off_t(len);
  for (;;) {
    if (::fcntl(fd_, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0) return {};
    if (errno != EINTR) return errnoStatus(kCdxLockRefused, "index lock refused");
  }
}

CdxStatus CdxPosixFile::unlock(uint64_t off, uint64_t len) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  fl.l_type = F_UNLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = off_t(off);
  fl.l_len = off_t(len);
  if (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) return errnoStatus(kCdxUnlockError, "unlock failed");
  return {};
}

bool cdxOnLocalFileSystem(const std::string& path) { return OnLocalFileSystem(path); }

bool CdxPosixFile::readsCurrentWithoutLock() { return OnLocalFileSystem(fd_); }

CdxStatus CdxPosixFile::sync() {
  if (::fsync(fd_) != 0) return errnoStatus(kCdxWriteFailed, "fsync failed");
  return {};
}

}  // namespace pv::cdx
