// Status: the one result type of the file layer and of the table and memo storage layers.
//
// A Status is either ok or names what went wrong (its kind), carries the Windows-style
// operating-system code of the failure (2 not found, 32 sharing violation, ...), the driver
// subcode the runtime boundary turns into an error object (1012 corruption, 1011 write error,
// ...), the verdicts the error handler may give (retry, default), the file name and a message.
//
//   pv::Status st = table.open("PRODUCT.DBF", options);
//   if (!st.ok()) std::fprintf(stderr, "%s\n", st.toString().c_str());
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace pv {

enum class StatusKind : uint8_t {
  kOk,
  kNotFound,           // file or path missing
  kIoError,            // a read or write failed or came up short
  kCorrupt,            // bytes on disk break the format
  kLockRefused,        // a byte-range lock or a share mode is held by another handle
  kBadArgument,        // a caller passed something the operation cannot take
  kReadOnly,           // a write on something opened for reading
  kNotSupported,       // the format or type is not handled
  kDataType,           // a value of the wrong type for a field
  kDataWidth,          // a value that does not fit a field
  kLockRequired,       // a change in shared use without the record or file lock
  kExclusiveRequired,  // an operation that needs exclusive use
};

// Driver subcodes: the runtime maps each 1:1 to its error object (general code, description).
enum DriverSubcode : int {
  kSubNone = 0,
  kSubOpen = 1001,               // general 21 "Open error"
  kSubMemoOpen = 1002,           // general 21, memo file
  kSubCreate = 1004,             // general 20 "Create error"
  kSubMemoCreate = 1005,         // general 20, memo file
  kSubRead = 1010,               // general 23 "Read error"
  kSubWrite = 1011,              // general 24 "Write error"
  kSubCorrupt = 1012,            // general 32 "Corruption detected"
  kSubDataType = 1020,           // general 33 "Data type error"
  kSubDataWidth = 1021,          // general 34 "Data width error"
  kSubLockRequired = 1022,       // general 38 "Lock required"
  kSubExclusiveRequired = 1023,  // general 37 "Exclusive required"
  kSubAppendLock = 1024,         // general 40 "Append lock failed"
  kSubReadOnly = 1025,           // general 39 "Write not allowed"
  kSubMemoLock = 1038,           // general 41 "Lock Failure"
  kSubMemoType = 1056,           // general 20 on create, 21 on open
};

// Verdicts the program's error handler may answer with.
enum StatusFlags : uint8_t { kCanRetry = 1, kCanDefault = 2 };

class Status {
 public:
  Status() = default;  // ok
  static Status Ok() { return Status(); }
  static Status Make(StatusKind kind, std::string message, std::string file = {}, int os_code = 0) {
    Status s;
    s.kind_ = kind;
    s.message_ = std::move(message);
    s.file_ = std::move(file);
    s.os_code_ = os_code;
    return s;
  }
  static Status NotFound(std::string msg, std::string file, int os = 2) {
    return Make(StatusKind::kNotFound, std::move(msg), std::move(file), os);
  }
  static Status IoError(std::string msg, std::string file, int os = 0) {
    return Make(StatusKind::kIoError, std::move(msg), std::move(file), os);
  }
  static Status Corrupt(std::string msg, std::string file) {
    return Make(StatusKind::kCorrupt, std::move(msg), std::move(file)).sub(kSubCorrupt);
  }
  static Status LockRefused(std::string msg, std::string file, int os = 33) {
    return Make(StatusKind::kLockRefused, std::move(msg), std::move(file), os);
  }
  static Status BadArgument(std::string msg, std::string file = {}) {
    return Make(StatusKind::kBadArgument, std::move(msg), std::move(file), 87);
  }

  // Sets the driver subcode and the allowed verdicts; returns the status for chaining.
  Status& sub(int subcode, uint8_t flags = 0) & {
    subcode_ = subcode;
    flags_ = flags;
    return *this;
  }
  Status&& sub(int subcode, uint8_t flags = 0) && { return std::move(sub(subcode, flags)); }

  bool ok() const { return kind_ == StatusKind::kOk; }
  StatusKind kind() const { return kind_; }
  int osCode() const { return os_code_; }
  int subcode() const { return subcode_; }
  bool canRetry() const { return flags_ & kCanRetry; }
  bool canDefault() const { return flags_ & kCanDefault; }
  const std::string& file() const { return file_; }
  const std::string& message() const { return message_; }

  // "message (file, OS error n)" for logs and test failures.
  std::string toString() const;

 private:
  StatusKind kind_ = StatusKind::kOk;
  uint8_t flags_ = 0;
  int subcode_ = kSubNone;
  int os_code_ = 0;
  std::string file_;
  std::string message_;
};

}  // namespace pv
