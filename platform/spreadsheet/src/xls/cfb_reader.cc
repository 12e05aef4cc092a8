// Compound-file stream reader with bounds and loop checks on every chain.
#include "cfb_reader.h"

#include <algorithm>
#include <vector>

#include "cfb_format.h"
#include "le_coding.h"

namespace sheet {
namespace {

constexpr std::uint32_t kMaxSectorNumber = 0xFFFFFFFA;

class Compound {
 public:
  explicit Compound(const std::string& file) : file_(file) {}

  std::string Open() {
    if (file_.size() < 512 || file_.compare(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0)
      return "not a compound document (no signature)";
    std::uint16_t shift = DecodeU16(file_, 0x1E);
    if (shift != 9 && shift != 12) return "unsupported sector size";
    sector_ = std::size_t(1) << shift;
    // The header fills the first sector-sized block; sector 0 follows it.
    sectors_ = file_.size() <= sector_ ? 0 : (file_.size() - 1) / sector_;
    std::string e = ReadFat();
    if (!e.empty()) return e;
    e = ReadChain(DecodeU32(file_, 0x30), fat_, sector_, &directory_, false);
    if (!e.empty()) return "directory: " + e;
    miniCutoff_ = DecodeU32(file_, 0x38);
    return "";
  }

  std::string Stream(std::u16string_view name, std::string* out) {
    for (std::size_t at = 0; at + 128 <= directory_.size(); at += 128) {
      std::uint16_t nameBytes = DecodeU16(directory_, at + 0x40);
      std::uint8_t type = std::uint8_t(directory_[at + 0x42]);
      if (type != 2 || nameBytes < 2 || nameBytes > 64) continue;
      std::u16string entry;
      for (std::size_t i = 0; i + 2 < nameBytes; i += 2) entry.push_back(char16_t(DecodeU16(directory_, at + i)));
      if (!SameName(entry, name)) continue;
      std::uint32_t start = DecodeU32(directory_, at + 0x74);
      std::uint32_t size = DecodeU32(directory_, at + 0x78);
      if (DecodeU32(directory_, at + 0x7C) != 0) return "stream too large";
      std::string e = size < miniCutoff_ ? MiniStream(start, size, out) : ReadChain(start, fat_, sector_, out, false);
      if (!e.empty()) return e;
      if (out->size() < size) return "stream shorter than its directory entry";
      out->resize(size);
      return "";
    }
    return "no stream named Workbook";
  }

 private:
  static bool SameName(const std::u16string& a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      char16_t x = a[i] >= 'a' && a[i] <= 'z' ? char16_t(a[i] - 32) : a[i];
      char16_t y = b[i] >= 'a' && b[i] <= 'z' ? char16_t(b[i] - 32) : b[i];
      if (x != y) return false;
    }
    return true;
  }

  bool SectorInFile(std::uint32_t s) const { return s <= kMaxSectorNumber && std::size_t(s) < sectors_; }
  std::size_t Offset(std::uint32_t s) const { return (std::size_t(s) + 1) * sector_; }

  std::string ReadFat() {
    std::vector<std::uint32_t> fatSectors;
    std::uint32_t count = DecodeU32(file_, 0x2C);
    if (count > sectors_) return "more FAT sectors than the file has";
    for (std::uint32_t i = 0; i < 109 && fatSectors.size() < count; ++i) fatSectors.push_back(DecodeU32(file_, 0x4C + 4 * i));
    std::uint32_t difat = DecodeU32(file_, 0x44);
    for (std::uint32_t steps = 0; fatSectors.size() < count; ++steps) {
      if (!SectorInFile(difat) || steps > sectors_) return "broken DIFAT chain";
      std::size_t base = Offset(difat);
      std::size_t perSector = sector_ / 4 - 1;
      for (std::size_t k = 0; k < perSector && fatSectors.size() < count; ++k) fatSectors.push_back(DecodeU32(file_, base + 4 * k));
      difat = DecodeU32(file_, base + 4 * perSector);
    }
    for (std::uint32_t s : fatSectors) {
      if (!SectorInFile(s)) return "FAT sector outside the file";
      std::size_t base = Offset(s);
      for (std::size_t k = 0; k < sector_ / 4; ++k) fat_.push_back(DecodeU32(file_, base + 4 * k));
    }
    return "";
  }

  // Follows a chain through `table` (sector or mini-sector numbers of size `unit`).
  std::string ReadChain(std::uint32_t start, const std::vector<std::uint32_t>& table, std::size_t unit,
                        std::string* out, bool mini) {
    out->clear();
    std::size_t limit = table.size();
    for (std::uint32_t s = start, steps = 0; s != kCfbEndOfChain; ++steps) {
      if (s >= table.size() || steps > limit) return "broken sector chain";
      if (mini) {
        if ((std::size_t(s) + 1) * unit > miniStream_.size()) return "mini sector outside the mini stream";
        out->append(miniStream_, std::size_t(s) * unit, unit);
      } else {
        if (!SectorInFile(s)) return "sector outside the file";
        std::size_t from = Offset(s);
        out->append(file_, from, std::min(unit, file_.size() - from));
      }
      s = table[s];
    }
    return "";
  }

  std::string MiniStream(std::uint32_t start, std::uint32_t size, std::string* out) {
    if (size == 0) {
      out->clear();
      return "";
    }
    std::string miniFatBytes;
    std::uint32_t rootStart = DecodeU32(directory_, 0x74);
    std::string e = ReadChain(rootStart, fat_, sector_, &miniStream_, false);
    if (!e.empty()) return "mini stream: " + e;
    e = ReadChain(DecodeU32(file_, 0x3C), fat_, sector_, &miniFatBytes, false);
    if (!e.empty()) return "mini FAT: " + e;
    std::vector<std::uint32_t> miniFat;
    for (std::size_t i = 0; i + 4 <= miniFatBytes.size(); i += 4) miniFat.push_back(DecodeU32(miniFatBytes, i));
    return ReadChain(start, miniFat, 64, out, true);
  }

  const std::string& file_;
  std::size_t sector_ = 512, sectors_ = 0;
  std::uint32_t miniCutoff_ = 4096;
  std::vector<std::uint32_t> fat_;
  std::string directory_, miniStream_;
};

}  // namespace

std::string ReadCompoundStream(const std::string& file, std::u16string_view name, std::string* out) {
  Compound c(file);
  std::string e = c.Open();
  if (!e.empty()) return e;
  return c.Stream(name, out);
}

}  // namespace sheet
