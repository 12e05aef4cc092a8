// BSTR: length-prefixed UTF-16 strings shared between clients and servers, and the code page
// 1252 <-> UTF-16 conversions at the edge of the single-byte runtime.
//
// Layout of one allocation (little-endian, like every other COM buffer here):
//   offset 0   4 bytes  byte length n of the text (without terminator)
//   offset 4   n bytes  UTF-16 code units (embedded zeros allowed)   <- the BSTR points here
//   offset 4+n 2 bytes  zero terminator
#pragma once

#include <string>
#include <string_view>

#include "com/types.h"

namespace com {

// Allocates a copy of the zero-terminated text; nullptr for a null argument or out of memory.
BSTR SysAllocString(LPCOLESTR text);
// Allocates len code units copied from text (or left zero when text is null).
BSTR SysAllocStringLen(const OLECHAR* text, UINT len);
// Allocates n bytes copied from bytes (or zeroed when bytes is null); odd lengths are allowed.
BSTR SysAllocStringByteLen(const char* bytes, UINT n);
// Frees a BSTR; a null BSTR is ignored.
void SysFreeString(BSTR s);
// Replaces *target by a copy of text; returns false (target unchanged) when out of memory.
bool SysReAllocString(BSTR* target, LPCOLESTR text);
// Length in code units / bytes; 0 for a null BSTR (a null BSTR is the empty string).
UINT SysStringLen(BSTR s);
UINT SysStringByteLen(BSTR s);

// Convenience for C++ callers.
BSTR SysAllocString(std::u16string_view text);
std::u16string_view BstrView(BSTR s);

// Converts single-byte text of code page `cp` (CP_ACP = 1252, 1252, CP_UTF8) to UTF-16.
// With cchWide = 0 returns the number of code units needed; otherwise writes at most cchWide
// units and returns the number written, or 0 when the buffer is too small or cp is unknown.
// cbMulti = -1 means the text is zero-terminated and the terminator is converted too.
int MultiByteToWideChar(UINT cp, DWORD flags, const char* multi, int cbMulti, OLECHAR* wide,
                        int cchWide);
// The reverse; characters the code page lacks become defaultChar (or '?') and set
// *usedDefault when given.
int WideCharToMultiByte(UINT cp, DWORD flags, const OLECHAR* wide, int cchWide, char* multi,
                        int cbMulti, const char* defaultChar, int* usedDefault);

// Whole-string helpers over the two functions above (code page 1252).
std::u16string AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::u16string_view wide);
std::string WideToUtf8(std::u16string_view wide);
// Appends the UTF-8 form of `wide` to `out` (what WideToUtf8 returns), reusing its memory.
void AppendUtf8(std::u16string_view wide, std::string& out);
std::u16string Utf8ToWide(std::string_view utf8);

}  // namespace com
