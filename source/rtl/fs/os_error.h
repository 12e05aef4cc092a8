// Mapping of POSIX errno values to the Windows system error codes the runtime reports.
#pragma once

namespace pv {

// Windows system error codes used by the file layer.
enum OsCode : int {
  kOsFileNotFound = 2,
  kOsPathNotFound = 3,
  kOsTooManyOpenFiles = 4,
  kOsAccessDenied = 5,
  kOsInvalidHandle = 6,
  kOsNotEnoughMemory = 8,
  kOsWriteProtect = 19,
  kOsSharingViolation = 32,
  kOsLockViolation = 33,
  kOsHandleEof = 38,
  kOsFileExists = 80,
  kOsInvalidParameter = 87,
  kOsDiskFull = 112,
  kOsNegativeSeek = 131,
  kOsDirNotEmpty = 145,
  kOsAlreadyExists = 183,
  kOsFilenameTooLong = 206,
};

// The Windows code for errno value `err` (31 "general failure" when there is no closer one).
int OsCodeFromErrno(int err);

}  // namespace pv
