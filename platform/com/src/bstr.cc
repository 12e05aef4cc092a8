// BSTR allocation: a 4-byte byte-length prefix, the UTF-16 text and a 2-byte terminator.
#include "com/bstr.h"

#include <cstdlib>
#include <cstring>

namespace com {
namespace {

constexpr std::size_t kPrefix = 4;
constexpr UINT kMaxBytes = 0x7FFFFFF0u;  // keeps prefix + data + terminator in 32 bits

std::uint32_t& PrefixOf(BSTR s) {
  return *reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(s) - kPrefix);
}

BSTR AllocBytes(const void* data, UINT n) {
  if (n > kMaxBytes) return nullptr;
  // Round up so the terminator (and a trailing odd byte) always has room.
  auto* block = static_cast<char*>(std::malloc(kPrefix + n + 2 + (n & 1)));
  if (!block) return nullptr;
  std::memcpy(block, &n, kPrefix);
  if (data) std::memcpy(block + kPrefix, data, n);
  else std::memset(block + kPrefix, 0, n);
  std::memset(block + kPrefix + n, 0, 2 + (n & 1));
  return reinterpret_cast<BSTR>(block + kPrefix);
}

}  // namespace

BSTR SysAllocString(LPCOLESTR text) {
  if (!text) return nullptr;
  std::size_t len = 0;
  while (text[len]) ++len;
  if (len > kMaxBytes / 2) return nullptr;
  return AllocBytes(text, static_cast<UINT>(len * 2));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT len) {
  if (len > kMaxBytes / 2) return nullptr;
  return AllocBytes(text, len * 2);
}

BSTR SysAllocStringByteLen(const char* bytes, UINT n) { return AllocBytes(bytes, n); }

BSTR SysAllocString(std::u16string_view text) {
  if (text.size() > kMaxBytes / 2) return nullptr;
  return AllocBytes(text.data(), static_cast<UINT>(text.size() * 2));
}

void SysFreeString(BSTR s) {
  if (s) std::free(reinterpret_cast<char*>(s) - kPrefix);
}

bool SysReAllocString(BSTR* target, LPCOLESTR text) {
  BSTR fresh = SysAllocString(text);
  if (text && !fresh) return false;
  SysFreeString(*target);
  *target = fresh;
  return true;
}

UINT SysStringByteLen(BSTR s) { return s ? PrefixOf(s) : 0; }
UINT SysStringLen(BSTR s) { return SysStringByteLen(s) / 2; }

std::u16string_view BstrView(BSTR s) { return {s ? s : u"", SysStringLen(s)}; }

}  // namespace com
