// Compound File Binary (version 3) container holding one stream, "Workbook", as written for
// .xls files. All integers little-endian; sectors of 512 bytes; sector n starts at file
// offset (n + 1) · 512 (the 512-byte header is not a numbered sector).
//
// Header (file offset 0, 512 bytes):
//   OFFSET SIZE  VALUE
//   0x00   8     D0 CF 11 E0 A1 B1 1A E1          signature
//   0x08   16    0                                header CLSID
//   0x18   2     0x003E                           minor version
//   0x1A   2     0x0003                           major version (512-byte sectors)
//   0x1C   2     0xFFFE                           byte order mark
//   0x1E   2     9                                sector shift (2^9 = 512)
//   0x20   2     6                                mini sector shift (2^6 = 64)
//   0x22   6     0                                reserved
//   0x28   4     0                                directory sectors (0 in version 3)
//   0x2C   4     F                                number of FAT sectors
//   0x30   4     F + X                            first directory sector
//   0x34   4     0                                transaction signature
//   0x38   4     4096                             mini stream cutoff
//   0x3C   4     ENDOFCHAIN                       first mini FAT sector (no mini stream)
//   0x40   4     0                                mini FAT sectors
//   0x44   4     F or ENDOFCHAIN                  first DIFAT sector (X > 0 only)
//   0x48   4     X                                DIFAT sectors
//   0x4C   436   FAT sector numbers 0 … 108, then FREESECT
//
// Sector layout written here: FAT sectors 0 … F−1, DIFAT sectors F … F+X−1, one directory
// sector F+X, then the Workbook stream (padded with zeros to at least 4096 bytes so it never
// lives in the mini stream) in consecutive sectors.
//
// FAT entries (4 bytes each, 128 per sector): FATSECT 0xFFFFFFFD for FAT sectors, DIFSECT
// 0xFFFFFFFC for DIFAT sectors, ENDOFCHAIN 0xFFFFFFFE for the directory sector and the last
// stream sector, n+1 for every other stream sector n, FREESECT 0xFFFFFFFF past the end.
//
// DIFAT sector (only beyond 109 FAT sectors): 127 FAT sector numbers, then at offset 508 the
// next DIFAT sector or ENDOFCHAIN.
//
// Directory entry (128 bytes; four per sector):
//   0x00 64  name, UTF-16LE, zero-terminated      0x40 2  name length in bytes incl. terminator
//   0x42 1   type: 5 root, 2 stream, 0 unused     0x43 1  colour: 1 black
//   0x44 4   left sibling   0x48 4 right sibling  0x4C 4  child (NOSTREAM 0xFFFFFFFF = none)
//   0x50 16  CLSID          0x60 4 state bits     0x64 8  created   0x6C 8 modified
//   0x74 4   first sector (root: ENDOFCHAIN, no mini stream)
//   0x78 8   stream size (root: 0)
// Entry 0 is "Root Entry" with child 1; entry 1 is "Workbook"; entries 2 and 3 are unused
// (zero, with left/right/child NOSTREAM).
#pragma once

#include <cstdint>
#include <string>

namespace sheet {

constexpr std::uint32_t kCfbFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kCfbEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kCfbFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kCfbDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kCfbNoStream = 0xFFFFFFFF;
constexpr std::size_t kCfbSector = 512;
constexpr std::size_t kCfbMiniCutoff = 4096;

// The compound file that holds `workbook` as its "Workbook" stream.
std::string WrapInCompoundFile(std::string workbook);

}  // namespace sheet
