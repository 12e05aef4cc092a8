// Record framing, strings, RK numbers and the shared-string table with its CONTINUE records.
#include "biff_records.h"

#include <cmath>
#include <cstring>

#include "le_coding.h"

namespace sheet {

void PutRecord(std::string& out, std::uint16_t id, std::string_view data) {
  PutU16(out, id);
  PutU16(out, std::uint16_t(data.size()));
  out.append(data);
}

bool FitsCompressed(std::u16string_view s) {
  for (char16_t c : s)
    if (c > 0xFF) return false;
  return true;
}

static void PutChars(std::string& out, std::u16string_view s, bool compressed) {
  for (char16_t c : s) {
    if (compressed) PutU8(out, std::uint8_t(c));
    else PutU16(out, c);
  }
}

void PutBiffString(std::string& out, std::u16string_view s, int lengthBytes) {
  if (lengthBytes == 1) PutU8(out, std::uint8_t(s.size()));
  else PutU16(out, std::uint16_t(s.size()));
  bool compressed = FitsCompressed(s);
  PutU8(out, compressed ? 0 : 1);
  PutChars(out, s, compressed);
}

std::string BofRecord(std::uint16_t type) {
  std::string d;
  PutU16(d, 0x0600);
  PutU16(d, type);
  PutU16(d, 0x0DBB);
  PutU16(d, 0x07CC);
  PutU32(d, 0x00000001);
  PutU32(d, 0x00000006);
  std::string out;
  PutRecord(out, kBof, d);
  return out;
}

bool EncodeRk(double v, std::uint32_t* rk) {
  if (std::isfinite(v) && v == std::floor(v) && v >= -536870912.0 && v < 536870912.0) {
    *rk = (std::uint32_t(std::int32_t(v)) << 2) | 2;
    return true;
  }
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  if ((bits & 0x3FFFFFFFFull) == 0) {
    *rk = std::uint32_t(bits >> 32) & ~3u;
    return true;
  }
  double scaled = v * 100;
  if (std::isfinite(scaled) && scaled == std::floor(scaled) && scaled >= -536870912.0 &&
      scaled < 536870912.0 && double(std::int32_t(scaled)) / 100 == v) {
    *rk = (std::uint32_t(std::int32_t(scaled)) << 2) | 3;
    return true;
  }
  return false;
}

namespace {

// Fills SST and CONTINUE records, never splitting a string header from its first character
// and restarting a split string's characters with a flags byte.
class SstBuilder {
 public:
  explicit SstBuilder(std::string* out) : out_(out) {}

  void Add(std::u16string_view s) {
    bool compressed = FitsCompressed(s);
    std::size_t charSize = compressed ? 1 : 2;
    // Header (length + flags) and the first character must share a record.
    if (Room() < 3 + charSize) Flush();
    PutU16(data_, std::uint16_t(s.size()));
    PutU8(data_, compressed ? 0 : 1);
    std::size_t i = 0;
    while (i < s.size()) {
      std::size_t fit = Room() / charSize;
      if (fit == 0) {
        Flush();
        PutU8(data_, compressed ? 0 : 1);  // continued characters carry their own flags
        continue;
      }
      std::size_t n = std::min(fit, s.size() - i);
      PutChars(data_, s.substr(i, n), compressed);
      i += n;
    }
  }

  void Finish() { Flush(); }
  std::string& Data() { return data_; }

 private:
  std::size_t Room() const { return kMaxRecordData - data_.size(); }
  void Flush() {
    PutRecord(*out_, first_ ? kSst : kContinue, data_);
    first_ = false;
    data_.clear();
  }
  std::string* out_;
  std::string data_;
  bool first_ = true;
};

}  // namespace

std::string SstRecords(const std::vector<std::u16string_view>& strings, std::uint32_t references) {
  std::string out;
  SstBuilder b(&out);
  PutU32(b.Data(), references);
  PutU32(b.Data(), std::uint32_t(strings.size()));
  for (const auto& s : strings) b.Add(s);
  b.Finish();
  return out;
}

}  // namespace sheet
