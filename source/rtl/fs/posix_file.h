// PosixFile: FileHandle over a POSIX descriptor, with Windows share modes emulated by
// open-file-description locks, and the file operations around it (create, delete, rename,
// temporary files).
//
// Share modes: each handle announces its access and the access it denies to others by
// holding shared OFD locks on four reserved bytes at the very top of the 63-bit offset range,
// far above any data or record lock:
//
//   kShareBase + 0   held by every handle with read access
//   kShareBase + 1   held by every handle with write access
//   kShareBase + 2   held by every handle that denies read access to others
//   kShareBase + 3   held by every handle that denies write access to others
//
// After taking its own bytes, an open tests the opposite bytes (read access against "denies
// read", deny write against "has write access", ...) for locks of other handles. A conflict
// closes the handle and fails with OS code 32 (sharing violation). Two racing opens can both be
// refused, never both granted.
//
//   pv::FilePtr f;
//   pv::Status st = pv::OpenFile("data\\PRODUCT.DBF", pv::Access::kReadWrite,
//                                pv::Share::kDenyNone, &f);
#pragma once

#include <string>
#include <string_view>

#include "file_handle.h"

namespace pv {

enum class Access : uint8_t { kRead, kWrite, kReadWrite };
enum class Share : uint8_t { kDenyNone, kDenyWrite, kDenyRead, kExclusive };

inline constexpr uint64_t kShareBase = 0x7FFFFFFFFFFFFFF0ull;

// Opens an existing file. Missing file: kNotFound with OS code 2 (3 when its folder is missing);
// share conflict: kLockRefused with code 32; no permission: code 5.
Status OpenFile(std::string_view path, Access access, Share share, FilePtr* out);

// Creates a file for reading and writing, emptying one that exists (or, with `must_be_new`,
// failing with code 80 when it exists).
Status CreateFile(std::string_view path, Share share, FilePtr* out, bool must_be_new = false);

// Creates a new, empty, exclusively opened file named like "<folder>/<prefix>NNNNNN<ext>";
// `*path` receives its name.
Status CreateTempFile(std::string_view folder, std::string_view prefix, std::string_view ext,
                      std::string* path, FilePtr* out);

Status DeleteFile(std::string_view path);
Status RenameFile(std::string_view from, std::string_view to);
bool FileExists(std::string_view path);

// Whether the file lies on a local file system, where every handle reads one page cache (a read
// without a lock sees what another process wrote before it): ext2/3/4, XFS, Btrfs, tmpfs, ramfs,
// overlayfs, F2FS, ZFS. Network and user-space file systems are not local.
bool OnLocalFileSystem(int fd);
bool OnLocalFileSystem(const std::string& path);

}  // namespace pv
