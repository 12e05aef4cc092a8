// errno to Windows system error codes.
#include "os_error.h"

#include <cerrno>

namespace pv {

int OsCodeFromErrno(int err) {
  switch (err) {
    case 0: return 0;
    case ENOENT: return kOsFileNotFound;
    case ENOTDIR: return kOsPathNotFound;
    case EMFILE:
    case ENFILE: return kOsTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR: return kOsAccessDenied;
    case EBADF: return kOsInvalidHandle;
    case ENOMEM: return kOsNotEnoughMemory;
    case EROFS: return kOsWriteProtect;
    case EAGAIN:
    case EDEADLK: return kOsLockViolation;
    case EEXIST: return kOsFileExists;
    case EINVAL: return kOsInvalidParameter;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kOsDiskFull;
    case ENOTEMPTY: return kOsDirNotEmpty;
    case ENAMETOOLONG: return kOsFilenameTooLong;
    default: return 31;
  }
}

}  // namespace pv
