// Reads one stream out of a compound file (the layout of cfb_format.h, with 512- or 4096-byte
// sectors, DIFAT sectors and the mini stream). Every sector number, chain and size is checked
// against the file; damaged files give an error text instead of a crash.
#pragma once

#include <string>
#include <string_view>

namespace sheet {

// Puts the stream called `name` (compared ignoring ASCII case) into *out. Returns "" on
// success, else what is wrong with the file.
std::string ReadCompoundStream(const std::string& file, std::u16string_view name, std::string* out);

}  // namespace sheet
