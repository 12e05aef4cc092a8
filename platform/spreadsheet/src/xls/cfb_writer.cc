// Writes the compound-file container around the Workbook stream (layout in cfb_format.h).
#include <vector>

#include "cfb_format.h"
#include "le_coding.h"

namespace sheet {
namespace {

constexpr std::uint32_t kEntriesPerFatSector = 128;
constexpr std::uint32_t kHeaderDifat = 109;
constexpr std::uint32_t kDifatPerSector = 127;

struct Layout {
  std::uint32_t fat = 0, difat = 0, dataSectors = 0;
};

// The smallest FAT that covers itself, its DIFAT sectors and the data sectors.
Layout PlanSectors(std::uint32_t dataSectors) {
  Layout l;
  l.dataSectors = dataSectors;
  for (l.fat = 1;; ++l.fat) {
    l.difat = l.fat <= kHeaderDifat ? 0 : (l.fat - kHeaderDifat + kDifatPerSector - 1) / kDifatPerSector;
    if (std::uint64_t(dataSectors) + l.fat + l.difat <= std::uint64_t(kEntriesPerFatSector) * l.fat) return l;
  }
}

void PutDirectoryEntry(std::string& out, const std::u16string& name, std::uint8_t type,
                       std::uint32_t child, std::uint32_t start, std::uint32_t size) {
  std::size_t at = out.size();
  for (char16_t c : name) PutU16(out, c);
  out.resize(at + 64, '\0');
  PutU16(out, name.empty() ? 0 : std::uint16_t((name.size() + 1) * 2));
  PutU8(out, type);
  PutU8(out, name.empty() ? 0 : 1);  // black
  PutU32(out, kCfbNoStream);
  PutU32(out, kCfbNoStream);
  PutU32(out, child);
  out.resize(out.size() + 16 + 4 + 8 + 8, '\0');  // CLSID, state, times
  PutU32(out, start);
  PutU32(out, size);
  PutU32(out, 0);
}

}  // namespace

std::string WrapInCompoundFile(std::string workbook) {
  if (workbook.size() < kCfbMiniCutoff) workbook.resize(kCfbMiniCutoff, '\0');
  auto streamSectors = std::uint32_t((workbook.size() + kCfbSector - 1) / kCfbSector);
  Layout l = PlanSectors(streamSectors + 1);  // + the directory sector
  std::uint32_t dirSector = l.fat + l.difat;
  std::uint32_t firstStream = dirSector + 1;
  std::uint32_t total = firstStream + streamSectors;

  std::string out;
  out.reserve((total + 1) * kCfbSector);
  // Header.
  out.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  out.append(16, '\0');
  PutU16(out, 0x003E);
  PutU16(out, 0x0003);
  PutU16(out, 0xFFFE);
  PutU16(out, 9);
  PutU16(out, 6);
  out.append(6, '\0');
  PutU32(out, 0);
  PutU32(out, l.fat);
  PutU32(out, dirSector);
  PutU32(out, 0);
  PutU32(out, kCfbMiniCutoff);
  PutU32(out, kCfbEndOfChain);
  PutU32(out, 0);
  PutU32(out, l.difat ? l.fat : kCfbEndOfChain);
  PutU32(out, l.difat);
  for (std::uint32_t i = 0; i < kHeaderDifat; ++i) PutU32(out, i < l.fat ? i : kCfbFreeSect);

  // FAT.
  std::vector<std::uint32_t> fat(std::size_t(l.fat) * kEntriesPerFatSector, kCfbFreeSect);
  for (std::uint32_t i = 0; i < l.fat; ++i) fat[i] = kCfbFatSect;
  for (std::uint32_t i = 0; i < l.difat; ++i) fat[l.fat + i] = kCfbDifSect;
  fat[dirSector] = kCfbEndOfChain;
  for (std::uint32_t s = firstStream; s < total; ++s) fat[s] = s + 1 == total ? kCfbEndOfChain : s + 1;
  for (std::uint32_t v : fat) PutU32(out, v);

  // DIFAT sectors: FAT sector numbers beyond the header's 109.
  for (std::uint32_t d = 0; d < l.difat; ++d) {
    for (std::uint32_t k = 0; k < kDifatPerSector; ++k) {
      std::uint32_t fatIndex = kHeaderDifat + d * kDifatPerSector + k;
      PutU32(out, fatIndex < l.fat ? fatIndex : kCfbFreeSect);
    }
    PutU32(out, d + 1 < l.difat ? l.fat + d + 1 : kCfbEndOfChain);
  }

  // Directory.
  PutDirectoryEntry(out, u"Root Entry", 5, 1, kCfbEndOfChain, 0);
  PutDirectoryEntry(out, u"Workbook", 2, kCfbNoStream, firstStream, std::uint32_t(workbook.size()));
  PutDirectoryEntry(out, u"", 0, kCfbNoStream, 0, 0);
  PutDirectoryEntry(out, u"", 0, kCfbNoStream, 0, 0);

  // Stream, padded to whole sectors.
  out += workbook;
  out.resize((std::size_t(total) + 1) * kCfbSector, '\0');
  return out;
}

}  // namespace sheet
