// The workbook's string pool: texts copied into blocks, looked up by a flat hash index.
#include <algorithm>
#include <cstring>
#include <functional>

#include "workbook.h"

namespace sheet {
namespace {

constexpr std::size_t kBlockChars = 1 << 20;

std::uint32_t HashOf(std::u16string_view text) {
  auto h = std::hash<std::u16string_view>()(text);
  return std::uint32_t(h ^ (h >> 32));
}

}  // namespace

std::u16string_view StringPool::Keep(std::u16string_view text) {
  if (text.empty()) return {};
  if (blocks_.empty() || blockSize_ - blockUsed_ < text.size()) {
    blockSize_ = std::max(kBlockChars, text.size());
    blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(blockSize_));
    blockUsed_ = 0;
  }
  char16_t* at = blocks_.back().get() + blockUsed_;
  std::memcpy(at, text.data(), text.size() * sizeof(char16_t));
  blockUsed_ += text.size();
  return {at, text.size()};
}

void StringPool::Grow() {
  std::vector<Slot> old;
  old.swap(index_);
  index_.assign(old.empty() ? 1024 : 2 * old.size(), Slot{});
  std::size_t mask = index_.size() - 1;
  for (const Slot& s : old) {
    if (!s.idPlus1) continue;
    std::size_t i = s.hash & mask;
    while (index_[i].idPlus1) i = (i + 1) & mask;
    index_[i] = s;
  }
}

std::uint32_t StringPool::Intern(std::u16string_view text) {
  if (2 * (texts_.size() + 1) > index_.size()) Grow();
  std::uint32_t hash = HashOf(text);
  std::size_t mask = index_.size() - 1;
  std::size_t i = hash & mask;
  for (; index_[i].idPlus1; i = (i + 1) & mask)
    if (index_[i].hash == hash && texts_[index_[i].idPlus1 - 1] == text) return index_[i].idPlus1 - 1;
  auto id = std::uint32_t(texts_.size());
  texts_.push_back(Keep(text));
  index_[i] = Slot{hash, id + 1};
  return id;
}

}  // namespace sheet
