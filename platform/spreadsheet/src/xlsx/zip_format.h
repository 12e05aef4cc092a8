// The ZIP container of an Open XML package as ZipWriter lays it down (PKWARE APPNOTE 6.3, no
// Zip64, no data descriptors). All numbers little-endian.
//
// Per entry, in order: local header, then the entry's raw-deflate bytes.
//
//   Local header (30 bytes + name)
//   off size
//    0   4   signature 0x04034B50 ("PK\3\4")
//    4   2   version needed to extract: 20 (2.0, deflate)
//    6   2   general purpose flags: 0 (sizes and CRC stand in this header)
//    8   2   compression method: 8 (deflate)
//   10   2   last modified time, MS-DOS: hour << 11 | minute << 5 | second / 2
//   12   2   last modified date, MS-DOS: (year - 1980) << 9 | month << 5 | day
//   14   4   CRC-32 of the uncompressed bytes      } written as zero, patched once the
//   18   4   compressed size                       } entry's bytes are out
//   22   4   uncompressed size                     }
//   26   2   name length n
//   28   2   extra field length: 0
//   30   n   name (ASCII, "/" between folders)
//
// After the last entry, the central directory: one record per entry, then the end record.
//
//   Central directory record (46 bytes + name)
//    0   4   signature 0x02014B50 ("PK\1\2")
//    4   2   version made by: 20
//    6   2   version needed: 20
//    8   2   flags: 0
//   10   2   method: 8
//   12   2   time   } as in the local header
//   14   2   date   }
//   16   4   CRC-32
//   20   4   compressed size
//   24   4   uncompressed size
//   28   2   name length n
//   30   2   extra field length: 0
//   32   2   comment length: 0
//   34   2   disk number start: 0
//   36   2   internal attributes: 0
//   38   4   external attributes: 0
//   42   4   offset of the entry's local header
//   46   n   name
//
//   End of central directory (22 bytes)
//    0   4   signature 0x06054B50 ("PK\5\6")
//    4   2   number of this disk: 0
//    6   2   disk holding the directory: 0
//    8   2   entries on this disk
//   10   2   entries in all
//   12   4   size of the central directory
//   16   4   offset of the central directory
//   20   2   comment length: 0
//
// Every size and offset must fit in 32 bits: a package reaching 4 GB is refused.
#pragma once

#include <cstdint>

namespace sheet::zip {

inline constexpr std::uint32_t kLocalSignature = 0x04034b50;
inline constexpr std::uint32_t kCentralSignature = 0x02014b50;
inline constexpr std::uint32_t kEndSignature = 0x06054b50;
inline constexpr std::uint16_t kVersion = 20;
inline constexpr std::uint16_t kDeflated = 8;
inline constexpr std::uint64_t kLocalCrcOffset = 14;  // CRC-32 and the two sizes follow it
inline constexpr std::uint64_t kLimit = 0xFFFFFFFFu;

}  // namespace sheet::zip
