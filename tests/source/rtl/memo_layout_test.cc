// The memo line breaker on random texts: lines follow each other without gaps or overlaps, move
// forward, and never show more columns than the width.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "memo_layout.h"

namespace {

std::string randomText(std::mt19937& rng) {
  static const std::string kPieces[] = {"a", "word", " ", "  ", "\t", "\r\n", "\n", "\x8D\n",
                                        "averyveryverylongword", "\r", "\x8D", "x.y"};
  std::string text;
  for (int n = static_cast<int>(rng() % 40); n > 0; --n) text += kPieces[rng() % std::size(kPieces)];
  return text;
}

TEST(MemoLayout, LinesCoverTheTextWithinTheWidth) {
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text = randomText(rng);
    PvMemoLayout layout;
    layout.width = 4 + rng() % 20;
    layout.tab = 1 + rng() % (layout.width - 1);
    layout.wrap = rng() % 4 != 0;
    std::vector<PvMemoLine> lines = pv_memoLines(text.data(), text.size(), layout);
    size_t pos = 0;
    for (const PvMemoLine& line : lines) {
      ASSERT_EQ(line.start, pos) << text;
      ASSERT_GT(line.next, line.start) << text;
      ASSERT_LE(line.end, line.next) << text;
      EXPECT_EQ(pv_memoLineText(text.data(), line, layout).size(), layout.width) << text;
      EXPECT_LE(pv_memoColumnOf(text.data(), line, line.end, layout), layout.width) << text;
      pos = line.next;
    }
    EXPECT_EQ(pos, text.size()) << text;
  }
}

TEST(MemoLayout, ColumnsAndBytesAgree) {
  std::string text = "\tab cd\tefgh ijkl";
  PvMemoLayout layout;
  layout.width = 10;
  std::vector<PvMemoLine> lines = pv_memoLines(text.data(), text.size(), layout);
  ASSERT_EQ(lines.size(), 2u);
  for (size_t pos = lines[0].start; pos < lines[0].end; ++pos) {
    size_t col = pv_memoColumnOf(text.data(), lines[0], pos, layout);
    EXPECT_EQ(pv_memoByteAt(text.data(), lines[0], col, layout), pos);
  }
  EXPECT_EQ(pv_memoLineText(text.data(), lines[0], layout), "    ab cd ");
}

}  // namespace
