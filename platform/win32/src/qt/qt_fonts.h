// GDI fonts as Qt fonts: face names mapped to installed faces (fontconfig finds Arial's
// metric-compatible face; the old Windows UI faces map to it too), heights in GDI's sense.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <map>
#include <string>

#include "win32/types.h"

namespace pv::win32 {

class QtFonts {
 public:
  const QFont& font(const LOGFONTA& lf);
  const QFontMetrics& metrics(const LOGFONTA& lf);

 private:
  struct Entry {
    QFont font;
    QFontMetrics metrics;
  };
  const Entry& entry(const LOGFONTA& lf);
  std::map<std::string, Entry> cache_;
};

}  // namespace pv::win32
