// The Open XML (.xlsx) writer.
#pragma once

#include <string>

#include "model/workbook.h"

namespace sheet {

// Writes the workbook to `path`. Returns "" on success, else the reason.
std::string WriteXlsx(const Workbook& book, const std::string& path);

}  // namespace sheet
