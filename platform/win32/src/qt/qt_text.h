// The layer's ANSI (code page 1252) text as Qt strings.
#pragma once

#include <QString>
#include <string_view>

#include "win32/text_codec.h"

namespace pv::win32 {

inline QString ansiToQString(std::string_view ansi) {
  std::u16string u = ansiToUtf16(ansi);
  return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

}  // namespace pv::win32
