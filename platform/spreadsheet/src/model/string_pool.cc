// The workbook's string pool.
#include "workbook.h"

namespace sheet {

std::uint32_t StringPool::Intern(std::u16string_view text) {
  auto it = ids_.find(std::u16string(text));
  if (it != ids_.end()) return it->second;
  auto id = std::uint32_t(strings_.size());
  strings_.emplace_back(text);
  ids_.emplace(strings_.back(), id);
  return id;
}

}  // namespace sheet
