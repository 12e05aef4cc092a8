// The workbook's string pool.
#include "workbook.h"

namespace sheet {

std::uint32_t StringPool::Intern(std::u16string_view text) {
  auto it = ids_.find(text);
  if (it != ids_.end()) return it->second;
  auto id = std::uint32_t(strings_.size());
  ids_.emplace(strings_.emplace_back(text), id);
  return id;
}

}  // namespace sheet
