// The styles part (xl/styles.xml): one cell format (xf) per style of the workbook's style
// table, with the same index, so cells, rows and columns name their style id directly; xf 0,
// the workbook's default style, is also the Normal style every unformatted cell shows.
#pragma once

#include <string>

#include "model/style.h"

namespace sheet {

std::string StylesPart(const StyleTable& styles);

}  // namespace sheet
