// The ZIP container of the Open XML writer: local headers patched after each entry, the
// central directory and its end record (layout in zip_format.h).
#include "zip_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "xls/le_coding.h"
#include "zip_format.h"

namespace sheet {

using namespace zip;

namespace {

// Fastest zlib level: the sheet XML is very regular and packs well at any level.
constexpr int kLevel = 1;

}  // namespace

ZipWriter::ZipWriter() : in_(kChunk), out_(4 * kChunk) {
  inAt_ = in_.data();
  inEnd_ = in_.data() + in_.size();
  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  dosTime_ = std::uint16_t(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
  dosDate_ = std::uint16_t((t.tm_year < 80 ? 0 : t.tm_year - 80) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
}

ZipWriter::~ZipWriter() {
  if (zReady_) deflateEnd(&z_);
  if (fd_ >= 0) ::close(fd_);
}

bool ZipWriter::Open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd_ < 0) Fail(std::strerror(errno));
  zReady_ = deflateInit2(&z_, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  if (!zReady_) Fail("cannot start zlib");
  return error_.empty();
}

void ZipWriter::Fail(const std::string& what) {
  if (error_.empty()) error_ = what;
}

void ZipWriter::Begin(std::string_view name) {
  Entry e;
  e.name = std::string(name);
  e.offset = written_;
  e.crc = std::uint32_t(crc32(0, nullptr, 0));
  std::string header;
  PutU32(header, kLocalSignature);
  PutU16(header, kVersion);
  PutU16(header, 0);  // flags: sizes stand in this header (patched)
  PutU16(header, kDeflated);
  PutU16(header, dosTime_);
  PutU16(header, dosDate_);
  header.append(12, '\0');  // CRC-32, packed and unpacked size: patched by Finish
  PutU16(header, std::uint16_t(name.size()));
  PutU16(header, 0);
  header += name;
  Emit(header.data(), header.size());
  entries_.push_back(std::move(e));
  if (zReady_) deflateReset(&z_);
}

void ZipWriter::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t n = std::min(bytes.size(), std::size_t(inEnd_ - inAt_));
    std::memcpy(inAt_, bytes.data(), n);
    inAt_ += n;
    bytes.remove_prefix(n);
    if (inAt_ == inEnd_) DeflateInput();
  }
}

void ZipWriter::DeflateInput() {
  std::size_t n = std::size_t(inAt_ - in_.data());
  Entry& e = entries_.back();
  e.crc = std::uint32_t(crc32(e.crc, reinterpret_cast<const Bytef*>(in_.data()), uInt(n)));
  e.size += n;
  z_.next_in = reinterpret_cast<Bytef*>(in_.data());
  z_.avail_in = uInt(n);
  Deflate(Z_NO_FLUSH);
  inAt_ = in_.data();
}

void ZipWriter::Deflate(int flush) {
  if (!zReady_) return;
  int rc;
  do {
    if (outUsed_ == out_.size()) FlushOutput();
    z_.next_out = reinterpret_cast<Bytef*>(out_.data() + outUsed_);
    z_.avail_out = uInt(out_.size() - outUsed_);
    rc = deflate(&z_, flush);
    std::size_t made = out_.size() - outUsed_ - z_.avail_out;
    outUsed_ += made;
    written_ += made;
    entries_.back().packed += made;
  } while (z_.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END && rc != Z_STREAM_ERROR));
}

void ZipWriter::Finish() {
  DeflateInput();
  Deflate(Z_FINISH);
  const Entry& e = entries_.back();
  if (e.size > kLimit || written_ > kLimit) Fail("the workbook is larger than 4 GB");
  FlushOutput();
  PatchLocalHeader(e);
}

void ZipWriter::PatchLocalHeader(const Entry& e) {
  std::string fields;
  PutU32(fields, e.crc);
  PutU32(fields, std::uint32_t(e.packed));
  PutU32(fields, std::uint32_t(e.size));
  if (fd_ >= 0 && error_.empty() &&
      ::pwrite(fd_, fields.data(), fields.size(), off_t(e.offset + kLocalCrcOffset)) != ssize_t(fields.size()))
    Fail(std::strerror(errno));
}

void ZipWriter::Emit(const char* data, std::size_t n) {
  written_ += n;
  while (n) {
    if (outUsed_ == out_.size()) FlushOutput();
    std::size_t take = std::min(n, out_.size() - outUsed_);
    std::memcpy(out_.data() + outUsed_, data, take);
    outUsed_ += take;
    data += take;
    n -= take;
  }
}

void ZipWriter::FlushOutput() {
  std::size_t done = 0;
  while (done < outUsed_ && fd_ >= 0 && error_.empty()) {
    ssize_t n = ::write(fd_, out_.data() + done, outUsed_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(n < 0 ? std::strerror(errno) : "nothing written");
    else done += std::size_t(n);
  }
  outUsed_ = 0;
}

std::string ZipWriter::Close() {
  std::uint64_t start = written_;
  std::string dir;
  for (const Entry& e : entries_) {
    PutU32(dir, kCentralSignature);
    PutU16(dir, kVersion);  // made by
    PutU16(dir, kVersion);  // needed
    PutU16(dir, 0);
    PutU16(dir, kDeflated);
    PutU16(dir, dosTime_);
    PutU16(dir, dosDate_);
    PutU32(dir, e.crc);
    PutU32(dir, std::uint32_t(e.packed));
    PutU32(dir, std::uint32_t(e.size));
    PutU16(dir, std::uint16_t(e.name.size()));
    dir.append(8, '\0');     // extra and comment length, disk, internal attributes
    PutU32(dir, 0);          // external attributes
    PutU32(dir, std::uint32_t(e.offset));
    dir += e.name;
  }
  std::size_t directorySize = dir.size();
  PutU32(dir, kEndSignature);
  PutU32(dir, 0);  // this disk, the directory's disk
  PutU16(dir, std::uint16_t(entries_.size()));
  PutU16(dir, std::uint16_t(entries_.size()));
  PutU32(dir, std::uint32_t(directorySize));
  PutU32(dir, std::uint32_t(start));
  PutU16(dir, 0);
  if (written_ + dir.size() > kLimit) Fail("the workbook is larger than 4 GB");
  Emit(dir.data(), dir.size());
  FlushOutput();
  if (fd_ >= 0 && ::close(fd_) != 0) Fail(std::strerror(errno));
  fd_ = -1;
  return error_;
}

}  // namespace sheet
