// Results of the index engine. Every public operation returns a CdxStatus: ok, or a numbered
// failure with its text. The numbers are the system's internal-error codes (9201 corrupt page,
// 1010/1011 page read/write, 2155 version read, 9101..9108 misuse of the index and its locks,
// 9109 tags changed by another handle, 9110 a read without the lock that needs the lock, 9999
// sort) and the open failure 1012 (a file too short or with invalid tags). The runtime turns
// them into error objects or internal errors at its boundary.
//
// Inside the engine a failure deep in a page walk is raised as a CdxFault exception and caught
// by the public entry point (cdxGuard), so no fault ever leaves the library as an exception.
#pragma once

#include <string>
#include <utility>

namespace pv::cdx {

enum CdxCode : int {
  kCdxOk = 0,
  kCdxReadFailed = 1010,
  kCdxWriteFailed = 1011,
  kCdxOpenCorrupt = 1012,   // generic 32 "corruption detected" when opening a file
  kCdxBadArgument = 1026,   // a tag definition that cannot be built (key type or length)
  kCdxLockRefused = 1038,   // generic 41 "lock failure"
  kCdxVersionRead = 2155,
  kCdxReadOnly = 9101,
  kCdxNotLocked = 9102,
  kCdxReadNotLocked = 9103,
  kCdxStillLocked = 9104,
  kCdxLockCount = 9105,
  kCdxUnlockCount = 9106,
  kCdxLockFailure = 9107,
  kCdxUnlockError = 9108,
  kCdxTagsChanged = 9109,   // another handle replaced or removed tags of a shared file
  kCdxNeedsLock = 9110,     // a read without the lock needs a page from the file
  kCdxCorrupt = 9201,
  kCdxSortFailed = 9999,
};

struct CdxStatus {
  int code = kCdxOk;
  std::string text;   // the message
  std::string detail; // diagnostic detail lines written before the message, may be empty

  bool ok() const { return code == kCdxOk; }
  static CdxStatus Ok() { return {}; }
  static CdxStatus Error(int c, std::string t, std::string d = {}) {
    return {c, std::move(t), std::move(d)};
  }
  // "9201 pv_cdxPageSeekKey: wrong parent key." — the form used in test output and tools.
  std::string toString() const;
};

struct CdxFault {
  CdxStatus status;
};

// Raises a failure inside the engine.
[[noreturn]] void cdxFail(int code, const std::string& text, const std::string& detail = {});
// Printf-style detail line builder for the diagnostic texts.
std::string cdxFormat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Runs fn, turning a raised CdxFault into the returned status.
template <class Fn>
CdxStatus cdxGuard(Fn&& fn) {
  try {
    fn();
    return CdxStatus::Ok();
  } catch (const CdxFault& f) {
    return f.status;
  }
}

}  // namespace pv::cdx
