// A ZIP archive written front to back into a file, without temporary files: each entry's bytes
// are deflated (raw deflate, zlib) as they arrive, and its local header is patched with the
// CRC-32 and sizes once the entry ends. Archives past 4 GB (which would need Zip64) are refused.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

class ZipWriter {
 public:
  ZipWriter();
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // Creates (or truncates) the archive file. Returns false on failure (see Error).
  bool Open(const std::string& path);
  // Starts an entry; its content follows through Append / Room, Finish ends it.
  void Begin(std::string_view name);
  void Append(std::string_view bytes);
  // At least `n` (at most kChunk) writable bytes for the entry's content; Advance(end) keeps
  // the bytes written up to `end`.
  char* Room(std::size_t n) {
    if (std::size_t(inEnd_ - inAt_) < n) DeflateInput();
    return inAt_;
  }
  void Advance(char* end) { inAt_ = end; }
  void Finish();
  // Writes the central directory and closes the file. Returns "" or the first failure.
  std::string Close();
  const std::string& Error() const { return error_; }

  static constexpr std::size_t kChunk = 1 << 16;

 private:
  struct Entry {
    std::string name;
    std::uint64_t offset = 0;  // of the local header
    std::uint32_t crc = 0;
    std::uint64_t packed = 0, size = 0;
  };
  void DeflateInput();
  void Deflate(int flush);
  void Emit(const char* data, std::size_t n);
  void FlushOutput();
  void PatchLocalHeader(const Entry& e);
  void Fail(const std::string& what);

  int fd_ = -1;
  std::string error_;
  z_stream z_{};
  bool zReady_ = false;
  std::vector<Entry> entries_;
  std::vector<char> in_, out_;
  char* inAt_ = nullptr;
  char* inEnd_ = nullptr;
  std::size_t outUsed_ = 0;
  std::uint64_t written_ = 0;  // bytes of the archive so far, buffered ones included
  std::uint16_t dosTime_ = 0, dosDate_ = 0;
};

}  // namespace sheet
